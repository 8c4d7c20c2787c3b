// Command-line grammar of the window driver.
#include "tools/windriver/args.h"

#include <cstddef>
#include <set>

namespace windriver {
namespace {

struct VerbSpec {
  std::set<std::string> valued;    // options that take a value
  std::set<std::string> flags;     // options without a value
  std::vector<std::set<std::string>> required;  // each set: at least one of these must be given
};

const std::set<std::string> kTopSelectors = {"class", "title", "title-contains"};
const std::set<std::string> kWindowSelectors = {"window", "window-class", "window-title"};
const std::set<std::string> kChildSelectors = {"control-id", "class", "text", "index"};

std::set<std::string> join(std::initializer_list<std::set<std::string>> parts) {
  std::set<std::string> all;
  for (const auto& p : parts) all.insert(p.begin(), p.end());
  return all;
}

const std::map<std::string, VerbSpec>& verbs() {
  static const std::map<std::string, VerbSpec> table = {
      {"list-windows", {join({kTopSelectors}), {"hidden"}, {}}},
      {"list-controls", {join({kWindowSelectors, {"timeout"}}), {"hidden"}, {kWindowSelectors}}},
      {"wait-window", {join({kTopSelectors, {"timeout"}}), {"hidden"}, {kTopSelectors}}},
      {"wait-gone", {join({kTopSelectors, {"timeout"}}), {"hidden"}, {kTopSelectors}}},
      {"end-process", {join({kTopSelectors}), {"hidden"}, {kTopSelectors}}},
      {"get-text", {join({kWindowSelectors, kChildSelectors, {"timeout"}}), {"hidden"}, {kWindowSelectors}}},
      {"set-text",
       {join({kWindowSelectors, kChildSelectors, {"value", "timeout"}}), {"hidden"}, {kWindowSelectors, {"value"}}}},
      {"click",
       {join({kWindowSelectors, kChildSelectors, {"timeout"}}), {"hidden"},
        {kWindowSelectors, {"control-id", "class", "text"}}}},
      {"answer-box", {{"title", "title-contains", "button", "timeout"}, {}, {{"title", "title-contains"}, {"button"}}}},
      {"menu", {join({kWindowSelectors, {"path", "timeout"}}), {"hidden"}, {kWindowSelectors, {"path"}}}},
      {"version-info", {{"file"}, {}, {{"file"}}}},
  };
  return table;
}

const std::set<std::string> kNumeric = {"timeout", "control-id", "index", "button"};

}  // namespace

std::string Command::get(const std::string& name, const std::string& fallback) const {
  auto it = options.find(name);
  return it == options.end() ? fallback : it->second;
}

bool parseCount(const std::string& text, unsigned long& out) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > 0xFFFFFFFFull) return false;
  out = static_cast<unsigned long>(value);
  return true;
}

ParseResult parseArguments(const std::vector<std::string>& args) {
  ParseResult result;
  if (args.empty()) {
    result.error = "no command given";
    return result;
  }
  const auto grammar = verbs().find(args[0]);
  if (grammar == verbs().end()) {
    result.error = "unknown command: " + args[0];
    return result;
  }
  Command command;
  command.verb = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      result.error = "unexpected argument: " + arg;
      return result;
    }
    std::string name = arg.substr(2);
    std::string value;
    bool inlineValue = false;
    const std::size_t eq = name.find('=');
    if (eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    if (grammar->second.flags.count(name)) {
      if (inlineValue) {
        result.error = "option --" + name + " takes no value";
        return result;
      }
      command.options[name] = "1";
      continue;
    }
    if (!grammar->second.valued.count(name)) {
      result.error = "unknown option for " + command.verb + ": --" + name;
      return result;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        result.error = "option --" + name + " needs a value";
        return result;
      }
      value = args[++i];
    }
    if (kNumeric.count(name)) {
      unsigned long number = 0;
      if (!parseCount(value, number)) {
        result.error = "option --" + name + " needs a non-negative number, got: " + value;
        return result;
      }
    }
    if (command.options.count(name)) {
      result.error = "option --" + name + " given twice";
      return result;
    }
    command.options[name] = value;
  }
  for (const auto& oneOf : grammar->second.required) {
    bool found = false;
    for (const auto& name : oneOf) found = found || command.has(name);
    if (!found) {
      std::string names;
      for (const auto& name : oneOf) names += (names.empty() ? "--" : " or --") + name;
      result.error = command.verb + " needs " + names;
      return result;
    }
  }
  result.ok = true;
  result.command = command;
  return result;
}

std::vector<std::string> splitMenuPath(const std::string& path) {
  std::vector<std::string> items;
  std::string current;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '/') {
      current += path[i];
    } else if (i + 1 < path.size() && path[i + 1] == '/') {
      current += '/';
      ++i;
    } else {
      if (current.empty()) return {};
      items.push_back(current);
      current.clear();
    }
  }
  if (current.empty()) return {};
  items.push_back(current);
  return items;
}

std::string stripMnemonic(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

char mnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const char c = caption[i + 1];
    // Only a plain ASCII key can be typed; a lead byte of a double-byte character cannot.
    if (static_cast<unsigned char>(c) >= 0x80) return 0;
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return 0;
}

std::string menuItemName(const std::string& caption) {
  return caption.substr(0, caption.find('\t'));
}

bool captionMatches(const std::string& actual, const std::string& wanted) {
  const std::string shown = stripMnemonic(actual);
  return actual == wanted || shown == wanted || shown == stripMnemonic(wanted);
}

std::string usage() {
  return
      "usage: windriver COMMAND [OPTIONS]\n"
      "Top-level windows are chosen with --class CLASS, --title EXACT, --title-contains TEXT\n"
      "(visible windows only unless --hidden); for commands on controls the window is chosen with\n"
      "--window TITLE-PART, --window-title EXACT or --window-class CLASS, and the control with\n"
      "--control-id N, --class CLASS, --text CAPTION (mnemonic & optional) and --index K (K-th match).\n"
      "  list-windows   [selectors]                      one line per window: handle, class, title\n"
      "  list-controls  window [--timeout S]             one line per control: id, class, text\n"
      "  wait-window    selectors [--timeout S]          waits until such a window exists\n"
      "  wait-gone      selectors [--timeout S]          waits until no such window exists\n"
      "  end-process    selectors                        ends the programs owning such windows, prints their ids\n"
      "  get-text       window [control] [--timeout S]   prints the text\n"
      "  set-text       window [control] --value TEXT    sets the text\n"
      "  click          window control [--timeout S]     presses the button (BM_CLICK)\n"
      "  answer-box     --title T|--title-contains T --button ID [--timeout S]\n"
      "                 prints the box's message, then presses the button with that id\n"
      "  menu           window --path \"A(&F)/B(&O)\"      runs the menu item (\"//\" is a \"/\")\n"
      "  version-info   --file PATH                      prints the version resource\n"
      "Exit status: 0 done, 1 not found or timed out, 2 usage error. Output is UTF-8.\n";
}

}  // namespace windriver

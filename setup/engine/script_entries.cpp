// Taking the setup script's values apart (the grammar of the install run's sections).
#include "setup/engine/script_entries.h"

#include <cctype>

#include "setup/support/MBUtils.h"
#include "setup/support/path_tokens.h"
#include "setup/support/uStrOp.h"

namespace setup {
namespace {

// 0-based index of the last character-boundary "\" or npos.
std::size_t LastDelimiter(const std::string& path) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<std::uint8_t>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\') last = i;
  }
  return last;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PathFolderPart(const std::string& path) {
  std::size_t p = LastDelimiter(path);
  return p == std::string::npos ? std::string() : path.substr(0, p);
}

std::string PathLastComponent(const std::string& path) {
  std::size_t p = LastDelimiter(path);
  return p == std::string::npos ? path : path.substr(p + 1);
}

bool EndsWithChar(const std::string& text, char ch) {
  bool last = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size()) {
      ++i;
      last = false;
      continue;
    }
    last = text[i] == ch;
  }
  return last;
}

std::string BeforeComma(const std::string& text) {
  int c = MBPos(",", text);
  return c > 0 ? text.substr(0, c - 1) : text;
}

std::string AfterComma(const std::string& text) {
  int c = MBPos(",", text);
  return c > 0 ? text.substr(c) : std::string();
}

CopyEntry ParseCopyEntry(const std::string& expanded) {
  CopyEntry e;
  std::string s = expanded;
  if (s.compare(0, 5, "(Dch)") == 0) {
    e.diskChange = true;
    s.erase(0, 5);
  }
  int comma = MBPos(",", s);
  if (comma > 0) {
    e.flags = s.substr(comma - 1);
    s.erase(comma - 1);
  }
  int bar = MBPos("|", s);
  if (bar > 0) {
    std::string name = s.substr(bar);
    s.erase(bar - 1);
    e.target = PathFolderPart(s) + AddPathDelimiter(name, "T");
  } else if (EndsWithChar(s, '_')) {
    e.target = PathFolderPart(s) + "\\AUTO.EXT";
  } else {
    e.target = s;
  }
  e.sourceName = PathLastComponent(s);
  return e;
}

std::string SizeSourceName(const std::string& rawEntry) {
  std::string s = BeforeComma(rawEntry);
  int bar = MBPos("|", s);
  if (bar > 0) s.erase(bar - 1);
  // Tokens are not replaced yet, so "(App)A.TXT" has no "\": the token ends the folder part.
  // Without this the file would count as missing and the space check would be skipped.
  if (LastDelimiter(s) == std::string::npos && !s.empty() && s[0] == '(') {
    int close = MBPos(")", s);
    if (close > 0) return s.substr(close);
  }
  return PathLastComponent(s);
}

ShortcutKind ShortcutKindOf(const std::string& name) {
  if (PosNoCase("Dsk)", name) > 0) return ShortcutKind::Desktop;
  if (PosNoCase("Sta)", name) > 0 || name == "Default") return ShortcutKind::StartMenu;
  if (PosNoCase("Sup)", name) > 0) return ShortcutKind::StartUp;
  if (PosNoCase("Sen)", name) > 0) return ShortcutKind::SendTo;
  return ShortcutKind::Always;
}

RegistryKeySpec ParseRegistryKey(const std::string& key) {
  RegistryKeySpec parsed;
  std::string token = "(Cuser)";
  std::string path = key;
  if (key.size() >= 7 && key[0] == '(' && key[6] == ')') {
    token = key.substr(0, 7);
    path = key.substr(7);
  }
  if (token == "(Class)") {
    parsed.root = plat::RegRoot::ClassesRoot;
  } else if (token == "(Local)") {
    parsed.root = plat::RegRoot::LocalMachine;
  } else if (token == "(Users)") {
    parsed.root = plat::RegRoot::Users;
  } else {
    parsed.root = plat::RegRoot::CurrentUser;
  }
  parsed.path = RemovePathDelimiter(RemovePathDelimiter(path, "T"), "B");
  return parsed;
}

RegistryValueSpec ParseRegistryValue(const std::string& rawValue) {
  std::string v = rawValue;
  bool pdd = PosNoCase("(Pdd)", v) > 0;
  if (pdd) v = ReplaceToken(v, "(Pdd)", "");
  v = ExpandPathTokens(v);
  std::string type = v.substr(0, 5);
  std::string data = v.size() > 5 ? v.substr(5) : std::string();
  if (pdd) data = RemovePathDelimiter(data, "B");
  RegistryValueSpec parsed;
  parsed.data = data;
  if (type == "(Str)") {
    parsed.kind = RegistryValueKind::String;
  } else if (type == "(Exp)") {
    parsed.kind = RegistryValueKind::ExpandString;
  } else if (type == "(Int)" || type == "(Dwd)") {
    parsed.kind = RegistryValueKind::Dword;
  } else if (type == "(Bin)") {
    parsed.kind = RegistryValueKind::Binary;
  } else {
    parsed.kind = RegistryValueKind::String;
    parsed.data = type + data;
  }
  return parsed;
}

std::uint32_t ParseDwordData(const std::string& data) {
  std::string s = Trim(data);
  if (s.empty()) return 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    if (s.size() > 10) return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
      int d = HexDigit(s[i]);
      if (d < 0) return 0;
      v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return v;
  }
  bool negative = false;
  std::size_t i = 0;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    i = 1;
  }
  if (i >= s.size()) return 0;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return 0;
    v = v * 10 + (s[i] - '0');
    if (v > 0xFFFFFFFFll) return 0;
  }
  // Negative numbers keep their 32-bit two's complement form; below -2^31 is no 32-bit number.
  if (negative) {
    if (v > 0x80000000ll) return 0;
    return static_cast<std::uint32_t>(-v);
  }
  return static_cast<std::uint32_t>(v);
}

bool ParseBinaryData(const std::string& data, std::string& bytes) {
  std::string out;
  std::size_t i = 0;
  while (i < data.size()) {
    char c = data[i];
    if (c == ' ' || c == ',' || c == '-' || c == '\t') {
      ++i;
      continue;
    }
    if (i + 1 >= data.size()) return false;
    int hi = HexDigit(c), lo = HexDigit(data[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  bytes = out;
  return true;
}

bool ParseIniEntry(const std::string& expanded, IniEntry& out) {
  std::string rest = expanded;
  std::string fields[3];
  for (auto& f : fields) {
    int c = MBPos(",", rest);
    if (c == 0) return false;
    f = rest.substr(0, c - 1);
    rest.erase(0, c);
  }
  // Without a section, key or file the profile write would address something else entirely.
  if (fields[0].empty() || fields[1].empty() || rest.empty()) return false;
  out = {fields[0], fields[1], fields[2], rest};
  return true;
}

AssociationSpec ParseAssociation(const std::string& extensionSpec, const std::string& expandedCommand) {
  AssociationSpec a;
  if (MBPos(",", extensionSpec) > 0) {
    a.extension = BeforeComma(extensionSpec);
    a.description = AfterComma(extensionSpec);
  } else {
    a.extension = extensionSpec;
    a.description = extensionSpec + " File";
  }
  std::string rest = expandedCommand;
  a.verb = BeforeComma(rest);
  rest = AfterComma(rest);
  std::string program = BeforeComma(rest);
  bool hasMore = MBPos(",", rest) > 0;
  rest = hasMore ? AfterComma(rest) : std::string();
  a.iconPath = program;
  a.command = MBPos(" ", program) > 0 ? "\"" + program + "\"" : program;
  int c;
  while ((c = MBPos(",", rest)) > 0) {
    std::string arg = rest.substr(0, c - 1);
    if (!arg.empty()) a.command += " " + arg;
    rest.erase(0, c);
  }
  a.iconIndex = rest;
  return a;
}

}  // namespace setup

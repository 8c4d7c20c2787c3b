// Argument parsing and report printing of the script checker.
#include "tools/checker/cli.h"

#include "setup/support/globals.h"
#include "setup/support/uStrOp.h"
#include "tools/checker/scriptcheck.h"

namespace scriptcheck {

Options ParseArguments(const std::vector<std::string>& args, const std::string& defaultLang) {
  Options o;
  o.lang = defaultLang == "ja" ? "ja" : "en";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.help = true;
    } else if ((a == "--disk" || a == "--lang") && i + 1 < args.size()) {
      if (a == "--disk") o.disks.push_back(args[++i]);
      else o.lang = args[++i];
    } else if (a.rfind("--", 0) == 0) {
      o.error = "unknown or incomplete option " + a;
    } else if (o.script.empty()) {
      o.script = a;
    } else {
      o.error = "more than one script given";
    }
  }
  if (o.lang != "ja" && o.lang != "en") o.error = "--lang must be ja or en";
  if (!o.help && o.error.empty() && o.script.empty()) o.error = "no script given";
  return o;
}

std::string UsageText() {
  return "usage: scriptcheck [--lang ja|en] [--disk FOLDER]... SETUP.INI\n"
         "  Reads a setup script the way the installer does and reports what it would ignore or\n"
         "  get wrong. --disk names the folder of disk 2, 3, ... of a set, in order.\n"
         "  Exit status: 0 nothing found, 1 findings, 2 the script could not be read.\n";
}

int RunCheck(plat::Services& services, const std::string& scriptPath, const std::vector<std::string>& disks,
             const std::string& shownName, const std::string& lang,
             const std::function<void(const std::string&)>& print) {
  setup::ResetGlobals(services, [](const std::string&, const std::string&, std::uint32_t) { return 1; });
  plat::FileStamp stamp;
  if (services.files.stamp(scriptPath, stamp) != 0) {
    print(lang == "ja" ? shownName + ": スクリプトを読めません．\n" : shownName + ": cannot read the script.\n");
    return 2;
  }
  Input input{scriptPath, {}};
  for (const std::string& d : disks) input.disks.push_back(setup::AddPathDelimiter(d, "B"));
  std::vector<Finding> findings = CheckScript(input);
  for (const Finding& f : findings) {
    std::string where = "[" + f.section + "]" + (f.key.empty() ? "" : " " + f.key);
    print(shownName + ": " + where + ": " + (lang == "ja" ? f.ja : f.en) + "\n");
  }
  if (findings.empty())
    print(lang == "ja" ? shownName + ": 問題は見つかりませんでした．\n" : shownName + ": no problems found.\n");
  return findings.empty() ? 0 : 1;
}

}  // namespace scriptcheck

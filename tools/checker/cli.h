// Command line of the script checker, shared by the native and the Windows program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sys/services.h"

namespace scriptcheck {

struct Options {
  std::string script;               // as given on the command line
  std::vector<std::string> disks;   // folders of disks 2, 3, ...
  std::string lang = "en";          // "ja" or "en"
  bool help = false;
  std::string error;                // a usage error, when not empty
};

// Parses the arguments after the program name. The default language comes from defaultLang.
Options ParseArguments(const std::vector<std::string>& args, const std::string& defaultLang);

std::string UsageText();

// Checks the script (a Windows path on the given machine) and prints one line per finding,
// CP932 text handed to print. Returns the exit status: 0 clean, 1 findings, 2 unusable input.
int RunCheck(plat::Services& services, const std::string& scriptPath, const std::vector<std::string>& disks,
             const std::string& shownName, const std::string& lang,
             const std::function<void(const std::string&)>& print);

}  // namespace scriptcheck

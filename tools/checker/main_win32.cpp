// scriptcheck on Windows: reads the script through the system's own services. Paths and
// messages are in the ANSI code page (932 on a Japanese system).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sys/win32/win32_services.h"
#include "tools/checker/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  scriptcheck::Options o = scriptcheck::ParseArguments(args, "ja");
  if (o.help || !o.error.empty()) {
    if (!o.error.empty()) std::fprintf(stderr, "scriptcheck: %s\n", o.error.c_str());
    std::fputs(scriptcheck::UsageText().c_str(), stderr);
    return o.help ? 0 : 2;
  }
  plat::Services services = plat::hostServices().services();
  std::string script = o.script;
  if (script.size() < 2 || script[1] != ':') script = services.files.currentDirectory() + "\\" + script;
  return scriptcheck::RunCheck(services, script, o.disks, o.script, o.lang,
                               [](const std::string& line) { std::fputs(line.c_str(), stdout); });
}

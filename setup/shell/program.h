// The program entry of setup: single-instance guard, the four forms, the message loop and the
// restart prompt after it. main() and the tests call it with their services and window backend.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/application.h"

namespace setup {

struct RunHooks {
  std::function<void()> installRun;
  std::function<void()> uninstallRun;
};

// Runs setup with the arguments after the program name (already split). Globals (services,
// message box) must be set; the message box is wired to the application here. Returns the
// program's exit code.
int SetupMain(ui::Application& app, const std::vector<std::string>& args, const RunHooks& hooks);

// Splits a command line at blanks; a part in double quotes is one argument without its quotes.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace setup

// Entry of setup.exe: the running system's services and windows, and the runs behind the buttons.
#include "platform/sys/win32/win32_services.h"
#include "platform/ui/application.h"
#include "platform/ui/win32/win32_backend.h"
#include "setup/engine/install_run.h"
#include "setup/engine/uninstall_run.h"
#include "setup/shell/program.h"
#include "setup/support/globals.h"

int main() {
  plat::Services services = plat::hostServices().services();
  setup::ResetGlobals(services, nullptr);
  ui::Application app(ui::win32::CreateBackend());
  setup::RunHooks hooks;
  hooks.installRun = [] { setup::InstallRun(); };
  hooks.uninstallRun = [] { setup::UninstallRun(); };
  return setup::SetupMain(app, setup::SplitCommandLine(ui::win32::CommandLineTail()), hooks);
}

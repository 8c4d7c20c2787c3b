// The program entry of setup: the single-instance guard, the forms, the loop, the restart prompt.
#include "setup/shell/program.h"

#include "setup/shell/forms.h"
#include "setup/support/globals.h"

namespace setup {

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::size_t i = 0, n = commandLine.size();
  while (i < n) {
    while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    // A quote may open anywhere in an argument; blanks inside quotes belong to it.
    while (i < n && (quoted || (commandLine[i] != ' ' && commandLine[i] != '\t'))) {
      if (commandLine[i] == '"') quoted = !quoted;
      else arg += commandLine[i];
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

int SetupMain(ui::Application& app, const std::vector<std::string>& args, const RunHooks& hooks) {
  plat::SystemInfo& system = Sys().system;
  if (!system.acquireNamedMutex("VORSETUP")) return 0;

  G().messageBox = [&app](const std::string& text, const std::string& caption, std::uint32_t flags) {
    return app.messageBox(text, caption, flags);
  };
  app.setTitle("Vornik Setup 98 Standard");
  {
    TfrmBack back(app);
    TfrmMain main(app);
    TfrmStatus status(app);
    TfrmCustomDlg dialog(app);
    frmBack = &back;
    frmMain = &main;
    frmStatus = &status;
    frmCustomDlg = &dialog;
    main.FirstArgument = args.empty() ? std::string() : args.front();
    main.onInstallRun = hooks.installRun;
    main.onUninstallRun = hooks.uninstallRun;
    app.createForm(back);
    app.createForm(main);
    app.createForm(status);
    app.createForm(dialog);

    app.run();

    frmBack = nullptr;
    frmMain = nullptr;
    frmStatus = nullptr;
    frmCustomDlg = nullptr;
  }
  system.releaseNamedMutex();

  if (G().startup.RestartRequested) {
    constexpr int kNo = 7;
    if (Sys().shell.restartDialog() == kNo)
      ShowMessageBox("Windowsを再起動すると，セットアップは完了します．", "警告", 0x30);
  }
  return 0;
}

}  // namespace setup

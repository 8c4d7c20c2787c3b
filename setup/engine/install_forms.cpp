// The install run on the shell's forms: the main window, the progress window and the background.
#include "setup/engine/install_run.h"
#include "setup/shell/forms.h"

namespace setup {
namespace {

class FormsInstallWindows : public InstallWindows {
 public:
  FormsInstallWindows(TfrmMain& main, TfrmStatus& status, TfrmBack& back) : main_(main), status_(status), back_(back) {}

  std::string FolderText() override { return main_.txtFolder.text(); }
  bool OverwriteChecked() override { return main_.chkOverWrite.checked(); }
  bool ShortcutChecked(int box) override {
    switch (box) {
      case 0: return main_.chkSCutDesktop.checked();
      case 1: return main_.chkSCutStartMenu.checked();
      case 2: return main_.chkSCutStartUp.checked();
      default: return main_.chkSCutSendTo.checked();
    }
  }
  void PrepareMainForRun() override {
    main_.btnEnd.setVisible(false);
    main_.btnEvent.setLeft((main_.clientWidth() - main_.btnEvent.width()) / 2);
  }
  void ShowMain() override { main_.show(); }
  void HideMain() override { main_.hide(); }
  bool MainEnabled() override { return main_.enabled(); }
  void SetMainModalResult(int result) override { main_.setModalResult(result); }
  void EnableBackground() override { back_.setEnabled(true); }

  void ShowStatus() override { status_.show(); }
  void HideStatus() override { status_.hide(); }
  void CloseStatus() override { status_.close(); }
  void SetMessage(const std::string& text) override { status_.lblMessage.setCaption(text); }
  void SetAbortEnabled(bool enabled) override { status_.btnAbort.setEnabled(enabled); }
  void ShowProgressFrame(bool visible) override { status_.fraStatus.setVisible(visible); }
  int SetProgressPosition(int position) override {
    status_.prgStatus.setPosition(position);
    return status_.prgStatus.position();
  }
  void SetProgressLabel(const std::string& text) override { status_.lblStatus.setCaption(text); }

  void ShowFailureDetails(const std::string& log) override {
    main_.txtReadme.setText("");
    main_.txtReadme.setText(log);
    main_.btnEvent.setCaption("続行(&C)");
    main_.btnEvent.setEnabled(true);
    main_.fraReadme.setCaption("作成・コピー処理失敗　詳細表示");
    main_.ShowReadmePage(true);
    main_.show();
    status_.hide();
  }
  bool EventButtonEnabled() override { return main_.btnEvent.enabled(); }

  void ProcessMessages() override { main_.application().processMessages(); }
  void Sleep(int milliseconds) override {
    main_.application().sleep(static_cast<std::uint32_t>(milliseconds < 0 ? 0 : milliseconds));
  }

 private:
  TfrmMain& main_;
  TfrmStatus& status_;
  TfrmBack& back_;
};

}  // namespace

void InstallRun() {
  if (!frmMain || !frmStatus || !frmBack) return;
  FormsInstallWindows windows(*frmMain, *frmStatus, *frmBack);
  InstallRun(windows);
}

}  // namespace setup

// The uninstall run's window side over the program's forms, and the entry the action button calls.
#include <memory>

#include "platform/ui/application.h"
#include "setup/engine/uninstall_run.h"
#include "setup/shell/forms.h"

namespace setup {
namespace uninstall {
namespace {

constexpr std::uint32_t kPollMs = 200;
constexpr std::uint32_t kPauseMs = 500;

class FormsWindows : public RunWindows {
 public:
  FormsWindows(TfrmMain& main, TfrmStatus& status, TfrmCustomDlg& dialog, TfrmBack* back)
      : main_(main), status_(status), dialog_(dialog), back_(back) {}

  bool optionChecked(int index) override { return Option(index).checked(); }
  bool optionVisible(int index) override { return Option(index).visible(); }
  void disableOptions() override {
    for (int i = 0; i < 4; ++i) Option(i).setEnabled(false);
  }

  void enterRunWindows() override {
    main_.hide();
    status_.show();
    main_.btnEnd.setVisible(false);
    main_.btnEvent.setLeft((main_.clientWidth() - main_.btnEvent.width()) / 2);
  }

  void showStatus(const std::string& text) override {
    status_.lblMessage.setCaption(text);
    main_.application().processMessages();
  }

  std::string setupFolderText() override { return main_.txtFolder.text(); }

  std::string answerSlot() override { return main_.lblFormShare.caption(); }
  void setAnswerSlot(const std::string& answer) override { main_.lblFormShare.setCaption(answer); }
  void askFourWay(const std::string& message) override {
    dialog_.lblMessage.setCaption(message);
    dialog_.showModal();
  }

  void showFailureDetails(const std::string& log) override {
    ui::Application& app = main_.application();
    main_.txtReadme.setText(log);
    main_.txtReadme.setScrollBars(ui::ScrollBars::Vertical);
    main_.btnEvent.setCaption("続行(&C)");
    main_.btnEvent.setEnabled(true);
    main_.fraReadme.setCaption("削除処理失敗　詳細表示");
    main_.ShowReadmePage(true);
    main_.show();
    status_.hide();
    // btnEventClick disables the button when "続行(&C)" is pressed. A program that is
    // ending (its main window closed some other way) stops waiting too.
    while (main_.btnEvent.enabled() && !app.terminated()) {
      app.sleep(kPollMs);
      app.processMessages();
    }
    main_.hide();
    app.sleep(kPauseMs);
    status_.show();
  }

  void finishRun() override {
    if (back_ != nullptr) back_->setEnabled(true);
    main_.setModalResult(1);
  }

 private:
  ui::CheckBox& Option(int index) {
    switch (index) {
      case 0: return main_.chkSCutDesktop;
      case 1: return main_.chkSCutStartMenu;
      case 2: return main_.chkSCutStartUp;
      default: return main_.chkSCutSendTo;
    }
  }

  TfrmMain& main_;
  TfrmStatus& status_;
  TfrmCustomDlg& dialog_;
  TfrmBack* back_;
};

}  // namespace

std::unique_ptr<RunWindows> FormsRunWindows() {
  if (frmMain == nullptr || frmStatus == nullptr || frmCustomDlg == nullptr) return nullptr;
  return std::make_unique<FormsWindows>(*frmMain, *frmStatus, *frmCustomDlg, frmBack);
}

}  // namespace uninstall

void UninstallRun() {
  std::unique_ptr<uninstall::RunWindows> windows = uninstall::FormsRunWindows();
  if (windows) uninstall::RunUninstall(*windows);
}

}  // namespace setup

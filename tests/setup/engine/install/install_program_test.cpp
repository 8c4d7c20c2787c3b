// setup started from its distribution disk, through the real start-up and windows on the
// headless window layer: the install run drives the progress window, shows its failure details
// in the main window, and stops cleanly on the abort button.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform/ui/headless/headless_backend.h"
#include "setup/engine/install_run.h"
#include "setup/shell/forms.h"
#include "setup/shell/program.h"
#include "setup/support/globals.h"

namespace {

const std::string kApp = "C:\\Program Files\\Sample\\";

std::string MakeRoot() {
  char tmpl[] = "/tmp/install_program_XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}

class InstallProgram : public ::testing::Test {
 protected:
  InstallProgram()
      : root_(MakeRoot()),
        machine_(plat::PosixMachine::fresh(root_ + "/m")),
        services_(machine_.services()),
        app_([this] {
          auto b = std::make_unique<ui::headless::HeadlessBackend>(ui::Size{1024, 768});
          ui_ = b.get();
          return b;
        }()) {
    setup::ResetGlobals(services_, nullptr);
  }
  ~InstallProgram() override {
    std::string cmd = "rm -rf '" + root_ + "'";
    (void)::system(cmd.c_str());
  }

  void Medium(const std::string& script, const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<std::pair<std::string, std::string>> all = files;
    all.push_back({"SETUP.INI", script});
    all.push_back({"SETUP.EXE", "setup program"});
    machine_.putMedium("D:\\", all);
  }

  // Presses btnEvent until the run starts (the message page, then the settings page).
  void StartTheRunWhenShown() {
    ui_->whenModal("frmMain", [](ui::Form& f) {
      auto& main = static_cast<setup::TfrmMain&>(f);
      for (int i = 0; i < 3 && main.btnEvent.caption() != "セットアップ開始(&S)"; ++i) main.btnEvent.click();
      main.btnEvent.click();
    });
  }

  int Start() {
    setup::RunHooks hooks;
    hooks.installRun = [] { setup::InstallRun(); };
    return setup::SetupMain(app_, {}, hooks);
  }

  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& b : ui_->transcript().messageBoxes) out.push_back(b.caption);
    return out;
  }

  std::string root_;
  plat::PosixMachine machine_;
  plat::Services services_;
  ui::headless::HeadlessBackend* ui_ = nullptr;
  ui::Application app_;
};

TEST_F(InstallProgram, RunsOnTheRealWindowsAndShowsItsFailureDetails) {
  Medium("[Title]\r\nSetup=Sample\r\n[DefaultFolder]\r\nFolder=(Prg)\\Sample\r\n[ProgramID]\r\nID=SAMPLE01\r\n"
         "[CopyFile]\r\nFile1=(App)\\SAMPLE.EXE\r\nFile2=(App)\\GONE.TXT\r\n",
         {{"SAMPLE.EXE", "program"}});
  StartTheRunWhenShown();
  ui_->answerMessageBoxes({ui::mb::kIdYes, ui::mb::kIdYes});  // create the folder; show the details
  std::string details, frame, label;
  bool statusHidden = false, endHidden = false, centred = false, frameHidden = false, abortDisabled = false;
  ui_->whenProcessMessages(
      [&] {
        setup::TfrmMain& main = *setup::frmMain;
        details = main.txtReadme.text();
        frame = main.fraReadme.caption();
        statusHidden = !setup::frmStatus->visible();
        endHidden = !main.btnEnd.visible();
        centred = main.btnEvent.left() == (main.clientWidth() - main.btnEvent.width()) / 2;
        label = setup::frmStatus->lblStatus.caption();
        frameHidden = !setup::frmStatus->fraStatus.visible();
        abortDisabled = !setup::frmStatus->btnAbort.enabled();
        main.btnEvent.click();
      },
      [] { return setup::frmMain && setup::frmMain->visible() && setup::frmMain->btnEvent.caption() == "続行(&C)"; });
  Start();

  EXPECT_EQ(details, "<File> D:\\GONE.TXT\r\nコピー元のファイルが見つかりません．\r\n\r\n");
  EXPECT_EQ(frame, "作成・コピー処理失敗　詳細表示");
  EXPECT_TRUE(statusHidden);
  EXPECT_TRUE(endHidden);
  EXPECT_TRUE(centred);
  EXPECT_EQ(label, "100%(2/2)");
  EXPECT_TRUE(frameHidden);
  EXPECT_TRUE(abortDisabled);
  EXPECT_EQ(machine_.readFile(kApp + "SAMPLE.EXE"), "program");
  EXPECT_TRUE(machine_.fileExists(kApp + "UNSETUP.INI"));
  EXPECT_TRUE(ui_->transcript().stuckModals.empty());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"フォルダ作成", "警告", "完了"}));
  // The run's pauses are virtual: 500 + 1000 at the start; SetupSpeed (400) after phase 1, in
  // phase 2 and after each file (a missing source skips the space check); 500 before the
  // progress window returns after the details.
  EXPECT_EQ(ui_->transcript().sleptMilliseconds, 500u + 1000u + 4 * 400u + 500u);
}

// The user presses abort while the second folder is announced: the first stays, the second is
// never made.
TEST_F(InstallProgram, AbortButtonStopsTheRunBeforeTheNextFolder) {
  Medium("[DefaultFolder]\r\nFolder=(Prg)\\Sample\r\n[MakeFolder]\r\nFolder1=(App)\\One\r\nFolder2=(App)\\Two\r\n",
         {});
  machine_.putFolder(kApp);
  StartTheRunWhenShown();
  ui_->answerMessageBoxes({ui::mb::kIdYes});  // "中断の確認"
  ui_->whenProcessMessages([] { setup::frmStatus->btnAbort.click(); },
                           [] {
                             return setup::frmStatus &&
                                    setup::frmStatus->lblMessage.caption().find("Two") != std::string::npos &&
                                    setup::frmStatus->btnAbort.enabled();
                           });
  Start();

  EXPECT_TRUE(machine_.folderExists(kApp + "One"));
  EXPECT_FALSE(machine_.folderExists(kApp + "Two"));
  EXPECT_FALSE(machine_.fileExists(kApp + "UNSETUP.INI"));
  EXPECT_FALSE(machine_.exists("C:\\WINDOWS\\UNVOSET.EXE"));
  EXPECT_TRUE(ui_->transcript().stuckModals.empty());
  // No close question: the abort enabled the background window.
  EXPECT_EQ(Captions(), (std::vector<std::string>{"中断の確認", "中断"}));
}

}  // namespace

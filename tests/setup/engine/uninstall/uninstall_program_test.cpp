// The uninstaller copy started as the system starts it, UNVOSET.EXE "<setup folder>\UNSETUP.INI",
// through the real start-up and windows on the headless window layer.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform/ui/headless/headless_backend.h"
#include "setup/engine/uninstall_run.h"
#include "setup/shell/forms.h"
#include "setup/shell/program.h"
#include "setup/support/globals.h"

namespace {

const std::string kApp = "C:\\Program Files\\Sample\\";
const std::string kSys = "C:\\WINDOWS\\SYSTEM32\\";
const std::string kSharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample";

std::string MakeRoot() {
  char tmpl[] = "/tmp/uninstall_program_XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}

plat::MachineLayout UninstallerLayout() {
  plat::MachineLayout layout = plat::MachineLayout::typical();
  layout.programPath = "C:\\WINDOWS\\UNVOSET.EXE";
  return layout;
}

// A machine on which Sample was installed: files, two shared libraries, the record, the
// program registry profile and the Uninstall entry, as an install leaves them.
class UninstallProgram : public ::testing::Test {
 protected:
  UninstallProgram()
      : root_(MakeRoot()),
        machine_(plat::PosixMachine::fresh(root_ + "/m", UninstallerLayout())),
        services_(machine_.services()),
        app_([this] {
          auto b = std::make_unique<ui::headless::HeadlessBackend>(ui::Size{1024, 768});
          ui_ = b.get();
          return b;
        }()) {
    setup::ResetGlobals(services_, nullptr);
  }
  ~UninstallProgram() override {
    std::string cmd = "rm -rf '" + root_ + "'";
    (void)::system(cmd.c_str());
  }

  void Install(const std::string& option) {
    plat::PosixMachine& m = machine_;
    m.putFile("C:\\WINDOWS\\UNVOSET.EXE", "uninstaller");
    m.putFile(kApp + "SAMPLE.EXE", "program");
    m.putFile(kSys + "SMPA.DLL", "lib a");
    m.putFile(kSys + "SMPB.DLL", "lib b");
    m.registry().createKey(plat::RegRoot::LocalMachine, kSharedKey);
    for (const char* lib : {"SMPA.DLL", "SMPB.DLL"}) {
      m.registry().writeValue(plat::RegRoot::LocalMachine, kSharedKey, kSys + lib, plat::RegValue::dword(1));
    }
    m.registry().createKey(plat::RegRoot::LocalMachine, kEntry);
    m.putFile("C:\\WINDOWS\\VOSET98.INI", "[SAMPLE01]\r\nFolder=" + kApp + "\r\n");
    std::string record =
        "[Title]\r\nUnSetup=Sample\r\n"
        "[SetupFolder]\r\nFolder=" + kApp + "\r\n"
        "[DeleteFile]\r\nFile1=" + kApp + "SAMPLE.EXE\r\nFile2=" + kSys + "SMPA.DLL,/S/R\r\nFile3=" + kSys +
        "SMPB.DLL,/S/R\r\nFile4=" + kApp + "UNSETUP.INI\r\n";
    if (!option.empty()) record += "[UnSetupOption]\r\nCheckBox=" + option + "\r\n";
    record += "[UnSetupRegistryKey]\r\nKey=" + kEntry + "\r\n[ProgramID]\r\nID=SAMPLE01\r\n";
    m.putFile(kApp + "UNSETUP.INI", record);
  }

  int Start() {
    setup::RunHooks hooks;
    hooks.uninstallRun = [] { setup::UninstallRun(); };
    return setup::SetupMain(app_, {kApp + "UNSETUP.INI"}, hooks);
  }

  setup::TfrmMain& Main(ui::Form& f) { return static_cast<setup::TfrmMain&>(f); }

  std::string root_;
  plat::PosixMachine machine_;
  plat::Services services_;
  ui::headless::HeadlessBackend* ui_ = nullptr;
  ui::Application app_;
};

TEST_F(UninstallProgram, StartedWithTheRecordItUninstallsEndToEnd) {
  Install("0,0,0,0");
  std::string startCaption;
  ui_->whenModal("frmMain", [&](ui::Form& f) {
    startCaption = Main(f).btnEvent.caption();
    Main(f).btnEvent.click();
  });
  // The first shared library asks; "すべて削除(&D)" answers the second one too.
  ui_->whenModal("frmCustomDlg", [](ui::Form& f) { static_cast<setup::TfrmCustomDlg&>(f).btnDelete.click(); });
  Start();

  EXPECT_EQ(startCaption, "アンセットアップ開始(&S)");
  const auto& shown = ui_->transcript().modalShown;
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "frmCustomDlg"), 1);
  EXPECT_TRUE(ui_->transcript().stuckModals.empty());
  EXPECT_FALSE(machine_.exists(kApp));
  EXPECT_FALSE(machine_.exists(kSys + "SMPA.DLL"));
  EXPECT_FALSE(machine_.exists(kSys + "SMPB.DLL"));
  EXPECT_FALSE(machine_.registry().keyExists(plat::RegRoot::LocalMachine, kEntry));
  EXPECT_EQ(machine_.readFile("C:\\WINDOWS\\VOSET98.INI").find("SAMPLE01"), std::string::npos);
  // The uninstaller copy stays where the system keeps it.
  EXPECT_TRUE(machine_.fileExists("C:\\WINDOWS\\UNVOSET.EXE"));
  ASSERT_FALSE(ui_->transcript().messageBoxes.empty());
  EXPECT_EQ(ui_->transcript().messageBoxes.back().caption, "完了");
  EXPECT_EQ(ui_->transcript().messageBoxes.back().text, "アンセットアップを完了しました．");
}

TEST_F(UninstallProgram, FailureDetailsWaitForContinue) {
  Install("");
  // The program keeps a file open in its folder: the folder stays and is reported.
  machine_.putFile(kApp + "OPEN.LOG", "in use");
  ui_->whenModal("frmMain", [&](ui::Form& f) { Main(f).btnEvent.click(); });
  ui_->whenModal("frmCustomDlg", [](ui::Form& f) { static_cast<setup::TfrmCustomDlg&>(f).btnSave.click(); });
  ui_->answerMessageBoxes({ui::mb::kIdYes});
  std::string details, frame, caption;
  bool statusHidden = false;
  ui_->whenProcessMessages(
      [&] {
        setup::TfrmMain& main = *setup::frmMain;
        details = main.txtReadme.text();
        frame = main.fraReadme.caption();
        caption = main.btnEvent.caption();
        statusHidden = !setup::frmStatus->visible();
        main.btnEvent.click();
      },
      [] { return setup::frmMain != nullptr && setup::frmMain->visible() && setup::frmMain->btnEvent.enabled() &&
                  setup::frmMain->btnEvent.caption() == "続行(&C)"; });
  Start();

  EXPECT_EQ(details, "<SetupFolder> " + kApp + "\r\n" + "フォルダにファイルが残っているため，" +
                         "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n");
  EXPECT_EQ(frame, "削除処理失敗　詳細表示");
  EXPECT_TRUE(statusHidden);
  // "すべて保存(&A)" kept both shared libraries after one question.
  EXPECT_TRUE(machine_.fileExists(kSys + "SMPA.DLL"));
  EXPECT_TRUE(machine_.fileExists(kSys + "SMPB.DLL"));
  EXPECT_TRUE(machine_.fileExists(kApp + "OPEN.LOG"));
  EXPECT_FALSE(machine_.fileExists(kApp + "SAMPLE.EXE"));
  std::vector<std::string> captions;
  for (const auto& b : ui_->transcript().messageBoxes) captions.push_back(b.caption);
  ASSERT_GE(captions.size(), 2u);
  EXPECT_EQ(captions[captions.size() - 2], "警告");
  EXPECT_EQ(captions.back(), "完了");
}

}  // namespace

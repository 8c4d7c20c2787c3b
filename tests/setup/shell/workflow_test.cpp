// The main window's buttons and close, the progress window's abort, the four-way dialog, the
// folder chooser, the background window's banner and the restart prompt after the loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/shell/version_banner.h"
#include "setup/support/globals.h"
#include "shell_fixture.h"

namespace {

using shelltest::Script;
using shelltest::SetupRun;
using setup::frmBack;
using setup::frmCustomDlg;
using setup::frmMain;
using setup::frmStatus;

const std::string kBasicScript = Script({"[Title]", "Setup=テスト"});

TEST(MainWindow, ReadmeContinueSwitchesPagesAndOnlyTheSecondClickStartsTheRun) {
  SetupRun s;
  s.medium({{"SETUP.INI", Script({"[Readme]", "File=README.TXT"})}, {"README.TXT", "読んでね"}});
  int runs = 0;
  s.hooks.installRun = [&] {
    ++runs;
    frmBack->setEnabled(true);
    frmMain->setModalResult(ui::mr::kOk);
  };
  s.atMain([&](setup::TfrmMain& m) {
    EXPECT_TRUE(m.btnEvent.focused());
    m.btnEvent.click();
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(m.fraReadme.visible());
    EXPECT_TRUE(m.grpMessage.visible() && m.grpSetupFolder.visible() && m.grpOption.visible());
    EXPECT_EQ(m.btnEvent.caption(), "セットアップ開始(&S)");
  });
  s.atMain([&](setup::TfrmMain& m) { m.btnEvent.click(); });
  s.run();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(s.ui->transcript().messageBoxes.empty()) << "a finished run closes without the question";
  EXPECT_TRUE(s.ui->transcript().stuckModals.empty());
}

TEST(MainWindow, ButtonCaptionSelectsTheStep) {
  struct Case {
    std::string caption;
    int install, uninstall;
    bool eventEnabledAfter;
  };
  for (const Case& c : {Case{"セットアップ開始(&S)", 1, 0, true}, Case{"アンセットアップ開始(&S)", 0, 1, true},
                        Case{"続行(&C)", 0, 0, false}, Case{"セットアップ開始(&s)", 0, 0, true}}) {
    SCOPED_TRACE(c.caption);
    SetupRun s;
    s.medium({{"SETUP.INI", kBasicScript}});
    int install = 0, uninstall = 0;
    s.hooks.installRun = [&] { ++install; };
    s.hooks.uninstallRun = [&] { ++uninstall; };
    s.atMain([&](setup::TfrmMain& m) {
      m.btnEvent.setCaption(c.caption);
      m.btnEvent.click();
      EXPECT_EQ(m.btnEvent.enabled(), c.eventEnabledAfter);
      frmBack->setEnabled(true);
      m.btnEnd.click();
    });
    s.run();
    EXPECT_EQ(install, c.install);
    EXPECT_EQ(uninstall, c.uninstall);
  }
}

TEST(MainWindow, CloseQuestionNoKeepsTheWindowYesEndsTheProgram) {
  SetupRun s;
  s.medium({{"SETUP.INI", kBasicScript}});
  s.ui->answerMessageBoxes({ui::mb::kIdNo, ui::mb::kIdYes});
  bool stillThere = false;
  s.atMain([&](setup::TfrmMain& m) { m.btnEnd.click(); });
  s.atMain([&](setup::TfrmMain& m) {
    stillThere = m.visible() && m.modalResult() == ui::mr::kNone && !frmBack->enabled();
    EXPECT_EQ(m.btnEvent.caption(), "セットアップ開始(&S)");
    m.btnEnd.click();
  });
  s.run();
  EXPECT_TRUE(stillThere);
  const auto& boxes = s.ui->transcript().messageBoxes;
  ASSERT_EQ(boxes.size(), 2u);
  for (const auto& b : boxes) {
    EXPECT_EQ(b.text, "セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？");
    EXPECT_EQ(b.caption, "終了確認");
    EXPECT_EQ(b.flags, ui::mb::kYesNo | ui::mb::kIconQuestion);
  }
  EXPECT_TRUE(s.ui->transcript().stuckModals.empty());
  EXPECT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP1"));
  EXPECT_TRUE(s.app.terminated());
}

TEST(MainWindow, CloseRemovesEveryWorkFolderAndNotifiesTheShell) {
  SetupRun s;
  s.medium({{"SETUP.INI", kBasicScript}});
  s.machine.putFile("C:\\WINDOWS\\TEMP\\VSTMP5\\SUB\\OLD.TXT", "left over");
  s.machine.putFile("C:\\WINDOWS\\TEMP\\KEEP\\A.TXT", "not ours");
  s.atMain([&](setup::TfrmMain& m) {
    EXPECT_FALSE(m.systemCloseEnabled()) << "the title bar cannot close it";
    EXPECT_TRUE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP1"));
    s.machine.clearJournal();
    m.btnEnd.click();
  });
  s.ui->answerMessageBox(ui::mb::kIdYes);
  s.run();
  EXPECT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP1"));
  EXPECT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP5"));
  EXPECT_TRUE(s.machine.fileExists("C:\\WINDOWS\\TEMP\\KEEP\\A.TXT"));
  std::vector<plat::JournalEntry> notes;
  for (const auto& e : s.machine.journal())
    if (e.operation == "changeNotify") notes.push_back(e);
  EXPECT_EQ(notes, (std::vector<plat::JournalEntry>{{"changeNotify", {"134217728", "0", ""}},
                                                     {"changeNotify", {"8192", "0", ""}},
                                                     {"changeNotify", {"4096", "0", ""}}}));
}

TEST(FolderChooser, ChoiceGetsOneDelimiterAndCancelKeepsTheText) {
  struct Case {
    std::optional<std::string> choice;
    std::string expected;
  };
  for (const Case& c : {Case{std::string("E:\\アプリ\\表"), "E:\\アプリ\\表\\"}, Case{std::string("E:\\"), "E:\\"},
                        Case{std::nullopt, "C:\\Program Files\\"}}) {
    SCOPED_TRACE(c.expected);
    SetupRun s;
    s.medium({{"SETUP.INI", kBasicScript}});
    s.ui->answerFolderBrowser(c.choice);
    std::string text, folderName;
    s.atMain([&](setup::TfrmMain& m) {
      m.btnRefer.click();
      text = m.txtFolder.text();
      folderName = m.dlgFolder.FolderName;
      frmBack->setEnabled(true);
      m.btnEnd.click();
    });
    s.run();
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(folderName, c.choice.value_or(""));
    EXPECT_EQ(s.ui->transcript().folderBrowses, std::vector<std::string>{"セットアップフォルダを選択してください．"});
  }
}

TEST(FolderChooser, OptionsMapToTheShellFlags) {
  using O = setup::TFolderDlgOption;
  EXPECT_EQ(setup::FolderDlgFlags({O::bifReturnOnlyFSDirs}), 0x0001u);
  EXPECT_EQ(setup::FolderDlgFlags({O::bifBrowseForComputer, O::bifBrowseForPrinter, O::bifDontGoBelowDomain,
                                   O::bifReturnFSAncestors, O::bifStatusText}),
            0x1000u | 0x2000u | 0x0002u | 0x0008u | 0x0004u);
  EXPECT_EQ(setup::FolderDlgFlags({}), 0u);
}

// A stand-in for the install run, doing what the run does with the windows: pause, report,
// let messages run, and test the main window's enabled state after each step.
struct FakeInstall {
  int stepsDone = 0;
  void operator()() {
    frmMain->hide();
    frmStatus->show();
    frmStatus->btnAbort.setEnabled(true);
    for (int step = 1; step <= 5; ++step) {
      frmStatus->lblMessage.setCaption("手順" + std::to_string(step));
      frmMain->application().processMessages();
      if (!frmMain->enabled()) return;
      ++stepsDone;
    }
    frmStatus->btnAbort.setEnabled(false);
    frmStatus->close();
    frmBack->setEnabled(true);
    frmMain->setModalResult(ui::mr::kOk);
  }
};

TEST(ProgressWindow, AbortAnsweredNoGoesOnAndYesEndsWithoutTheCloseQuestion) {
  for (int answer : {ui::mb::kIdNo, ui::mb::kIdYes}) {
    SCOPED_TRACE(answer);
    SetupRun s;
    s.medium({{"SETUP.INI", kBasicScript}});
    FakeInstall run;
    s.hooks.installRun = [&run] { run(); };
    s.atMain([&](setup::TfrmMain& m) { m.btnEvent.click(); });
    s.ui->whenProcessMessages([] { frmStatus->btnAbort.click(); },
                              [] { return frmStatus && frmStatus->lblMessage.caption() == "手順2"; });
    s.ui->answerMessageBox(answer);
    s.run();
    const auto& boxes = s.ui->transcript().messageBoxes;
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "中断の確認");
    EXPECT_EQ(boxes[0].flags, ui::mb::kYesNo | ui::mb::kIconQuestion);
    EXPECT_EQ(boxes[0].text,
              "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
              "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
              "本当にセットアップを中断しますか？");
    EXPECT_EQ(setup::LastMessageBoxAnswer, answer);
    if (answer == ui::mb::kIdNo) {
      EXPECT_EQ(run.stepsDone, 5);
      EXPECT_EQ(boxes.size(), 1u);
    } else {
      EXPECT_EQ(run.stepsDone, 1) << "the run stops at its next test of the main window";
      ASSERT_EQ(boxes.size(), 2u) << "no close question after the abort";
      EXPECT_EQ(boxes[1].text, "セットアップを中断しました．");
      EXPECT_EQ(boxes[1].caption, "中断");
      EXPECT_EQ(boxes[1].flags, ui::mb::kIconExclamation);
    }
    EXPECT_TRUE(s.app.terminated());
    EXPECT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP1"));
  }
}

TEST(ProgressWindow, DesignStateAndDisabledAbortCannotBeClicked) {
  SetupRun s;
  s.medium({{"SETUP.INI", kBasicScript}});
  s.atMain([&](setup::TfrmMain& m) {
    auto& st = *frmStatus;
    EXPECT_EQ(st.caption(), "進行状況");
    EXPECT_EQ(st.clientSize(), (ui::Size{497, 153}));
    EXPECT_FALSE(st.systemCloseEnabled());
    EXPECT_EQ(st.lblStatus.caption(), "0%(0/0)");
    EXPECT_EQ(st.prgStatus.step(), 5);
    st.show();
    st.btnAbort.click();
    EXPECT_TRUE(s.ui->transcript().messageBoxes.empty());
    st.hide();
    frmBack->setEnabled(true);
    m.btnEnd.click();
  });
  s.run();
}

// The uninstall run's protocol for the four-way dialog, over a list of files.
std::vector<std::string> AskForEach(const std::vector<std::string>& files) {
  std::vector<std::string> deleted;
  frmMain->lblFormShare.setCaption("");
  for (const auto& f : files) {
    std::string answer = frmMain->lblFormShare.caption();
    if (answer != "Delete" && answer != "Save") {
      frmMain->lblFormShare.setCaption("");
      frmCustomDlg->lblMessage.setCaption(f + "\rを削除しますか？");
      frmCustomDlg->showModal();
      answer = frmMain->lblFormShare.caption();
    }
    if (answer == "Yes" || answer == "Delete") deleted.push_back(f);
  }
  return deleted;
}

TEST(FourWayDialog, AccessKeysAnswerAndAllAnswersStick) {
  struct Case {
    std::vector<char> keys;  // one per dialog shown
    std::vector<std::string> deleted;
    size_t dialogs;
  };
  const std::vector<std::string> files = {"A.DLL", "B.DLL", "C.DLL"};
  for (const Case& c : {Case{{'D'}, {"A.DLL", "B.DLL", "C.DLL"}, 1}, Case{{'a'}, {}, 1},
                        Case{{'N', 'Y', 'D'}, {"B.DLL", "C.DLL"}, 3}, Case{{'y', 'A'}, {"A.DLL"}, 2}}) {
    SetupRun s;
    s.medium({{"SETUP.INI", kBasicScript}});
    std::vector<std::string> deleted;
    s.hooks.installRun = [&] {
      deleted = AskForEach(files);
      frmBack->setEnabled(true);
      frmMain->setModalResult(ui::mr::kOk);
    };
    s.atMain([&](setup::TfrmMain& m) { m.btnEvent.click(); });
    for (char key : c.keys)
      s.ui->whenModal("frmCustomDlg", [key](ui::Form& d) { EXPECT_TRUE(d.pressAccessKey(key)) << key; });
    s.run();
    EXPECT_EQ(deleted, c.deleted);
    EXPECT_EQ(s.ui->transcript().modalShown.size(), 1 + c.dialogs);
    EXPECT_TRUE(s.ui->transcript().stuckModals.empty());
  }
}

TEST(FourWayDialog, DesignState) {
  SetupRun s;
  s.medium({{"SETUP.INI", kBasicScript}});
  s.atMain([&](setup::TfrmMain& m) {
    auto& d = *frmCustomDlg;
    EXPECT_EQ(d.caption(), "ファイル削除の確認");
    EXPECT_EQ(d.clientSize(), (ui::Size{426, 121}));
    EXPECT_EQ(m.lblFormShare.caption(), "Can't Delete");
    EXPECT_FALSE(m.lblFormShare.visible());
    struct B {
      ui::Button& b;
      const char* caption;
      int left, order;
    };
    for (const B& b : {B{d.btnYes, "はい(&Y)", 8, 0}, B{d.btnNo, "いいえ(&N)", 112, 1}, B{d.btnDelete, "すべて削除(&D)", 216, 2},
                       B{d.btnSave, "すべて保存(&A)", 320, 3}}) {
      EXPECT_EQ(b.b.caption(), b.caption);
      EXPECT_EQ(b.b.bounds(), (ui::Rect{b.left, 88, 97, 25}));
      EXPECT_EQ(b.b.tabOrder(), b.order);
    }
    frmBack->setEnabled(true);
    m.btnEnd.click();
  });
  s.run();
}

TEST(Banner, BuiltFromTheVersionText) {
  struct Case {
    std::string text;
    std::string banner;
  };
  for (const Case& c : {Case{"2.2.0.2463", "2.20(Build:2463)"}, Case{"1.0.5.7", "1.05(Build:0007)"},
                        Case{"3.12.4.100", "3.124(Build:0100)"}, Case{"2.2", "2.00(Build:0002)"},
                        Case{"", "0.00(Build:0000)"}, Case{"12345.1.2.3", "12345.12(Build:0003)"},
                        Case{"1.x.2.3", "1.02(Build:0003)"}}) {
    EXPECT_EQ(setup::MakeVersionBanner(setup::ParseFileVersion(c.text)), c.banner) << c.text;
  }
}

TEST(BackgroundWindow, CaptionTitlesAndProductLineAtTheFirstResizeOnly) {
  for (bool withVersion : {true, false}) {
    SCOPED_TRACE(withVersion);
    plat::MachineLayout layout = plat::MachineLayout::typical();
    if (withVersion) layout.fileVersions["D:\\SETUP.EXE"] = "2.2.0.2463";
    SetupRun s(layout);
    s.medium({{"SETUP.INI", kBasicScript}, {"SETUP.EXE", "MZ"}});
    int mainShown = 0;
    s.atMain([&](setup::TfrmMain& m) {
      ++mainShown;
      auto& b = *frmBack;
      EXPECT_EQ(b.caption(), withVersion ? "Vornik Setup 98 Standard Version2.20(Build:2463)"
                                         : "Vornik Setup 98 Standard Version0.00(Build:0000)");
      EXPECT_EQ(b.bounds(), (ui::Rect{0, 0, 1024, 768}));
      EXPECT_EQ(b.colour(), ui::colour::kTeal);
      EXPECT_FALSE(b.enabled());
      EXPECT_EQ(b.lblBackTitle2.left(), b.lblBackTitle1.left() + 2);
      EXPECT_EQ(b.lblBackTitle2.top(), b.lblBackTitle1.top() + 2);
      EXPECT_EQ(b.lblBackTitle1.font().color, ui::colour::kWhite);
      EXPECT_EQ(b.lblBackTitle2.font().color, ui::colour::kBlue);
      EXPECT_TRUE(b.lblPrgTitle1.visible() && b.lblPrgTitle2.visible());
      EXPECT_EQ(b.lblPrgTitle1.caption().rfind("Vornik Setup 98 Standard\r", 0), 0u);
      EXPECT_EQ(b.lblPrgTitle2.caption(), b.lblPrgTitle1.caption());
      EXPECT_EQ(b.lblPrgTitle1.bounds().right(), 1024 - 24);
      EXPECT_EQ(b.lblPrgTitle1.bounds().bottom(), 768 - 48);
      EXPECT_EQ(b.lblPrgTitle2.left(), b.lblPrgTitle1.left() + 2);
      EXPECT_EQ(b.lblPrgTitle2.top(), b.lblPrgTitle1.top() + 2);
      int width = b.lblPrgTitle1.width();
      b.resized(ui::Rect{0, 0, 800, 600});
      EXPECT_EQ(b.lblPrgTitle1.width(), width) << "a later resize changes nothing";
      m.btnEnd.click();
    });
    s.ui->answerMessageBox(ui::mb::kIdYes);
    s.run();
    EXPECT_EQ(mainShown, 1);
    EXPECT_EQ(s.ui->transcript().modalShown, std::vector<std::string>{"frmMain"});
  }
}

TEST(RestartPrompt, OnlyAfterARequestingRunAndTheWarningOnlyWhenDeclined) {
  struct Case {
    bool requested;
    int answer;
    bool dialog, warning;
  };
  for (const Case& c : {Case{false, 7, false, false}, Case{true, 6, true, false}, Case{true, 7, true, true}}) {
    plat::MachineLayout layout = plat::MachineLayout::typical();
    layout.restartAnswer = c.answer;
    SetupRun s(layout);
    s.medium({{"SETUP.INI", kBasicScript}});
    s.hooks.installRun = [&] {
      setup::G().startup.RestartRequested = c.requested;
      frmBack->setEnabled(true);
      frmMain->setModalResult(ui::mr::kOk);
    };
    s.atMain([&](setup::TfrmMain& m) { m.btnEvent.click(); });
    s.run();
    bool dialog = false;
    for (const auto& e : s.machine.journal()) dialog |= e.operation == "restartDialog";
    EXPECT_EQ(dialog, c.dialog);
    const auto& boxes = s.ui->transcript().messageBoxes;
    EXPECT_EQ(boxes.size(), c.warning ? 1u : 0u);
    if (c.warning) {
      EXPECT_EQ(boxes[0].text, "Windowsを再起動すると，セットアップは完了します．");
      EXPECT_EQ(boxes[0].caption, "警告");
      EXPECT_EQ(boxes[0].flags, ui::mb::kIconExclamation);
    }
    EXPECT_TRUE(s.machine.heldMutexes().empty()) << "the guard is released before the prompt";
  }
}

}  // namespace

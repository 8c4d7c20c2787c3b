// Start-up of setup: the single-instance guard, the mode, the work folder, the header keys and
// the first page of the main window, as the user sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/shell/paths.h"
#include "setup/support/globals.h"
#include "shell_fixture.h"

namespace {

using shelltest::Script;
using shelltest::SetupRun;

const std::string kReminder = "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
const std::string kCannotGoOn = "セットアップ・アンセットアップ(アンインストール)は続行できません．";
const std::string kBasicScriptForMode = Script({"[Title]", "Setup=セットアップ側"});

TEST(Entry, SecondInstanceEndsSilentlyWithoutWindowsOrWorkFolder) {
  SetupRun s;
  s.medium({{"SETUP.INI", Script({"[Title]", "Setup=A"})}});
  s.machine.holdMutex("VORSETUP");
  EXPECT_EQ(s.run(), 0);
  EXPECT_TRUE(s.ui->transcript().modalShown.empty());
  EXPECT_TRUE(s.ui->transcript().messageBoxes.empty());
  EXPECT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP1"));
}

TEST(Entry, CommandLineSplitsAtBlanksAndKeepsQuotedPartsWhole) {
  struct Case {
    std::string line;
    std::vector<std::string> args;
  };
  for (const Case& c : {Case{"", {}}, Case{"  a  b ", {"a", "b"}},
                        Case{"\"C:\\Program Files\\テスト\\UNSETUP.INI\" extra",
                             {"C:\\Program Files\\テスト\\UNSETUP.INI", "extra"}},
                        Case{"C:\\Program Files\\UNSETUP.INI", {"C:\\Program", "Files\\UNSETUP.INI"}},
                        Case{"\"\"", {""}}}) {
    EXPECT_EQ(setup::SplitCommandLine(c.line), c.args) << c.line;
  }
}

TEST(FirstState, StartUpErrorsAreListedInOrderAndOnlyTheEndButtonWorks) {
  struct Case {
    const char* name;
    bool noWindows, noSystem, script;
    std::string lines;
  };
  const std::string win = "【致命的エラー  →  Windowsフォルダ取得失敗】\r";
  const std::string sys = "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r";
  const std::string ini = "【致命的エラー  →  iniファイル読み込み失敗】\r";
  for (const Case& c : {Case{"no script", false, false, false, ini}, Case{"no Windows folder", true, false, true, win},
                        Case{"no system folder", false, true, true, sys},
                        Case{"everything missing", true, true, false, win + sys + ini}}) {
    SCOPED_TRACE(c.name);
    plat::MachineLayout layout = plat::MachineLayout::typical();
    if (c.noWindows) layout.windowsDirectory = "";
    if (c.noSystem) layout.systemDirectory = "";
    SetupRun s(layout);
    if (c.script) s.medium({{"SETUP.INI", Script({"[Title]", "Setup=A"})}});
    s.startUp();
    EXPECT_EQ(s.main["lblMessage"].caption, c.lines + "\r" + kCannotGoOn);
    EXPECT_EQ(s.main["btnEvent"].caption, "セットアップ開始(&S)");
    EXPECT_FALSE(s.main["btnEvent"].enabled);
    EXPECT_EQ(s.main["btnEnd"].caption, "終了(&E)");
    EXPECT_TRUE(s.main["btnEnd"].enabled);
    EXPECT_TRUE(s.main["grpMessage"].visible);
    EXPECT_TRUE(s.main["grpSetupFolder"].visible);
    EXPECT_FALSE(s.main["fraReadme"].visible);
    EXPECT_EQ(s.main["txtFolder"].text, "") << "nothing of the script is read";
    EXPECT_TRUE(s.ui->transcript().messageBoxes.empty()) << "btnEnd closes without the question";
    EXPECT_TRUE(s.ui->transcript().stuckModals.empty());
  }
}

TEST(FirstState, SetupSettingsPageFromTheHeaderKeys) {
  SetupRun s;
  s.medium({{"SETUP.INI", Script({"[Title]", "Setup=テストソフト", "[DefaultFolder]", "Folder=(Prg)\\テスト",
                                  "[TopMessage]", "Message1=ようこそ", "Message3=三行目", "[ShortCut]",
                                  "Name1=(Sta)\\テスト\\起動", "Name2=(Sen)\\テスト"})}});
  s.startUp();
  EXPECT_EQ(s.main["frmMain"].caption, "テストソフト");
  EXPECT_EQ(s.main["lblMessage"].caption, "ようこそ\r\r三行目\r\r\r\r" + kReminder);
  EXPECT_EQ(s.main["txtFolder"].text, "C:\\Program Files\\テスト\\");
  EXPECT_EQ(s.main["btnEvent"].caption, "セットアップ開始(&S)");
  EXPECT_TRUE(s.main["btnEvent"].enabled);
  EXPECT_EQ(s.main["btnEnd"].caption, "セットアップ終了(&E)");
  EXPECT_TRUE(s.main["btnEnd"].enabled);
  for (const char* on : {"txtFolder", "btnRefer", "chkOverWrite", "chkSCutStartMenu", "chkSCutSendTo"})
    EXPECT_TRUE(s.main[on].enabled) << on;
  for (const char* off : {"chkSCutDesktop", "chkSCutStartUp"}) EXPECT_FALSE(s.main[off].enabled) << off;
  for (const char* box : {"chkOverWrite", "chkSCutDesktop", "chkSCutStartMenu", "chkSCutStartUp", "chkSCutSendTo"})
    EXPECT_TRUE(s.main[box].checked) << box;
  EXPECT_FALSE(s.main["fraReadme"].visible);
  EXPECT_TRUE(s.main["grpOption"].visible);
  EXPECT_EQ(s.back["lblBackTitle1"].caption, "テストソフト");
  EXPECT_EQ(s.back["lblBackTitle2"].caption, "テストソフト");
  EXPECT_EQ(s.back["lblBackTitle1"].bounds.width, 1024 - 24);
  EXPECT_EQ(setup::G().startup.SetupMode, "SETUP");
  EXPECT_EQ(setup::G().startup.UnSetupTitle, "テストソフト") << "the setup title is the default";
  EXPECT_EQ(s.ui->transcript().messageBoxes.at(0).caption, "終了確認");
}

TEST(FirstState, MessageWithoutTopMessageKeysAndTitleDefault) {
  SetupRun s;
  s.medium({{"SETUP.INI", Script({"[Extend]", "SetupSpeed=10"})}});
  s.startUp();
  EXPECT_EQ(s.main["lblMessage"].caption, "セットアップを行います．\r\r" + kReminder);
  EXPECT_EQ(s.main["frmMain"].caption, "Vornik Setup 98");
  EXPECT_EQ(s.main["txtFolder"].text, "C:\\Program Files\\");
}

TEST(FirstState, ReadmePageWithTitleAndScrollBarsOrSettingsWhenTheFileIsMissing) {
  struct Case {
    const char* name;
    std::string bars;  // "" = key missing
    bool fileThere;
    ui::ScrollBars expected;
  };
  for (const Case& c : {Case{"both", "ssBoth", true, ui::ScrollBars::Both},
                        Case{"horizontal", "ssHorizontal", true, ui::ScrollBars::Horizontal},
                        Case{"default", "", true, ui::ScrollBars::Vertical},
                        Case{"case matters", "ssboth", true, ui::ScrollBars::Vertical},
                        Case{"file missing", "ssBoth", false, ui::ScrollBars::Vertical}}) {
    SCOPED_TRACE(c.name);
    SetupRun s;
    std::vector<std::string> lines = {"[Readme]", "File=\\DOC\\README.TXT", "Title=お読みください"};
    if (!c.bars.empty()) lines.push_back("ScrollBars=" + c.bars);
    std::vector<std::pair<std::string, std::string>> files = {{"SETUP.INI", Script(lines)}};
    if (c.fileThere) files.push_back({"DOC\\README.TXT", "一行目\r\n\r\n表示テスト\r\n"});
    s.medium(files);
    s.startUp();
    if (c.fileThere) {
      EXPECT_TRUE(s.main["fraReadme"].visible);
      EXPECT_FALSE(s.main["grpMessage"].visible);
      EXPECT_EQ(s.main["fraReadme"].caption, "お読みください");
      EXPECT_EQ(s.main["txtReadme"].text, "一行目\r\n\r\n表示テスト");
      EXPECT_EQ(s.main["btnEvent"].caption, "セットアップ続行(&C)");
      EXPECT_TRUE(s.main["btnEvent"].enabled);
      EXPECT_EQ(s.main["btnEnd"].caption, "セットアップ終了(&E)");
    } else {
      EXPECT_FALSE(s.main["fraReadme"].visible);
      EXPECT_EQ(s.main["btnEvent"].caption, "セットアップ開始(&S)");
      EXPECT_TRUE(s.ui->transcript().messageBoxes.size() == 1) << "no error, only the close question";
    }
    EXPECT_EQ(s.main["txtReadme"].scrollBars, c.expected);
  }
}

TEST(FirstState, UninstallPageFromTheRecordOptions) {
  struct Case {
    std::string value;
    bool deleteAll;
    bool checked[4];
  };
  for (const Case& c : {Case{"1,0,1,1", false, {true, false, true, true}}, Case{"0,1,0,0", false, {false, true, false, false}},
                        Case{"DeleteAll", true, {true, false, false, false}},
                        Case{"deleteall", false, {false, false, false, false}}}) {
    SCOPED_TRACE(c.value);
    SetupRun s;
    const std::string record = "C:\\Program Files\\テスト ソフト\\UNSETUP.INI";
    s.machine.putFile(record, Script({"[SetupFolder]", "Folder=C:\\Program Files\\テスト ソフト\\", "[UnSetupOption]",
                                      "CheckBox=" + c.value, "[Title]", "Setup=テスト", "UnSetup=テスト削除"}));
    s.startUp({record});
    auto& m = s.main;
    EXPECT_EQ(setup::G().startup.SetupMode, "UNSETUP");
    EXPECT_EQ(setup::G().startup.ScriptPath, "C:\\WINDOWS\\TEMP\\VSTMP1\\UNSETUP.INI");
    EXPECT_EQ(m["frmMain"].caption, "テスト削除");
    EXPECT_EQ(s.back["lblBackTitle1"].caption, "テスト削除");
    EXPECT_EQ(m["lblMessage"].caption,
              "アンセットアップ(アンインストール)を行います．\r\r開始するには，「アンセットアップ開始(S)」を選択してください．\r");
    EXPECT_EQ(m["grpSetupFolder"].caption, "アンセットアップ(アンインストール)フォルダ");
    EXPECT_EQ(m["txtFolder"].text, "C:\\Program Files\\テスト ソフト\\");
    EXPECT_TRUE(m["txtFolder"].enabled);
    EXPECT_TRUE(m["txtFolder"].readOnly);
    EXPECT_FALSE(m["btnRefer"].enabled);
    EXPECT_EQ(m["btnEvent"].caption, "アンセットアップ開始(&S)");
    EXPECT_TRUE(m["btnEvent"].enabled);
    EXPECT_EQ(m["btnEnd"].caption, "アンセットアップ終了(&E)");
    EXPECT_EQ(m["grpOption"].caption, "アンセットアップ(アンインストール)オプション");
    EXPECT_FALSE(m["chkOverWrite"].visible);
    EXPECT_EQ(m["fraShortCut"].caption, "ファイルの追加削除");
    EXPECT_EQ(m["fraShortCut"].bounds, (ui::Rect{8, 16, 457, 65}));
    EXPECT_TRUE(m["lblUnSetupInfo"].visible);
    EXPECT_EQ(m["lblUnSetupInfo"].bounds.top, 35);
    const char* boxes[] = {"chkSCutDesktop", "chkSCutStartMenu", "chkSCutStartUp", "chkSCutSendTo"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m[boxes[i]].checked, c.checked[i]) << boxes[i];
    if (c.deleteAll) {
      EXPECT_EQ(m["chkSCutDesktop"].caption, "アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
      EXPECT_EQ(m["chkSCutDesktop"].bounds.width, 441);
      EXPECT_TRUE(m["chkSCutDesktop"].enabled);
      for (int i = 1; i < 4; ++i) EXPECT_FALSE(m[boxes[i]].visible) << boxes[i];
    } else {
      EXPECT_EQ(m["chkSCutDesktop"].caption, "*.INIファイル");
      EXPECT_EQ(m["chkSCutStartMenu"].caption, "*.GIDファイル");
      EXPECT_TRUE(m["chkSCutDesktop"].enabled);
      EXPECT_TRUE(m["chkSCutStartMenu"].enabled);
      for (int i = 2; i < 4; ++i) {
        EXPECT_EQ(m[boxes[i]].caption, "");
        EXPECT_FALSE(m[boxes[i]].enabled);
        EXPECT_TRUE(m[boxes[i]].visible);
      }
    }
  }
}

TEST(Mode, RecordNameDecidesTheModeByteForByte) {
  struct Case {
    std::string name;
    std::string mode;
  };
  for (const Case& c : {Case{"UNSETUP.INI", "UNSETUP"}, Case{"unsetup.ini", "SETUP"}, Case{"UNSETUP.INI.BAK", "SETUP"}}) {
    SCOPED_TRACE(c.name);
    SetupRun s;
    s.medium({{"SETUP.INI", Script({"[Title]", "Setup=セットアップ側"})}});
    s.machine.putFile("C:\\APP\\" + c.name, Script({"[Title]", "Setup=記録側", "[SetupFolder]", "Folder=C:\\APP\\"}));
    s.startUp({"C:\\APP\\" + c.name});
    EXPECT_EQ(setup::G().startup.SetupMode, c.mode);
    EXPECT_EQ(s.main["frmMain"].caption, c.mode == "SETUP" ? "セットアップ側" : "記録側");
  }
}

TEST(WorkFolder, FirstFreeNumberIsTakenAndTheScriptCopiedThere) {
  struct Case {
    int present;
    std::string expected;
  };
  for (const Case& c : {Case{0, "C:\\WINDOWS\\TEMP\\VSTMP1\\"}, Case{2, "C:\\WINDOWS\\TEMP\\VSTMP3\\"},
                        Case{99, "C:\\WINDOWS\\TEMP\\VSTMP99\\"}}) {
    SCOPED_TRACE(c.present);
    SetupRun s;
    s.medium({{"SETUP.INI", Script({"[Title]", "Setup=コピー確認"})}});
    for (int n = 1; n <= c.present; ++n) s.machine.putFolder("C:\\WINDOWS\\TEMP\\VSTMP" + std::to_string(n));
    std::string copy;
    s.atMain([&](setup::TfrmMain& m) {
      copy = s.machine.readFile(c.expected + "SETUP.INI");
      m.btnEnd.click();
    });
    s.ui->answerMessageBox(ui::mb::kIdYes);
    s.run();
    EXPECT_EQ(setup::G().startup.WorkFolder, c.expected);
    EXPECT_EQ(copy, Script({"[Title]", "Setup=コピー確認"}));
    for (int n = 1; n <= 99; ++n)
      ASSERT_FALSE(s.machine.folderExists("C:\\WINDOWS\\TEMP\\VSTMP" + std::to_string(n))) << n;
  }
}

TEST(WorkFolder, AReusedLastFolderIsEmptiedSoAStaleScriptIsNeverRead) {
  SetupRun s;
  for (int n = 1; n <= 99; ++n) s.machine.putFolder("C:\\WINDOWS\\TEMP\\VSTMP" + std::to_string(n));
  s.machine.putFile("C:\\WINDOWS\\TEMP\\VSTMP99\\SETUP.INI", Script({"[Title]", "Setup=古い"}));
  s.machine.putFile("C:\\WINDOWS\\TEMP\\VSTMP99\\OLD\\X.TXT", "old");
  s.startUp();
  EXPECT_EQ(s.main["lblMessage"].caption, "【致命的エラー  →  iniファイル読み込み失敗】\r\r" + kCannotGoOn);
  EXPECT_NE(s.main["frmMain"].caption, "古い");
}

TEST(Mode, MissingUninstallRecordIsAStartUpError) {
  SetupRun s;
  s.medium({{"SETUP.INI", kBasicScriptForMode}});
  s.startUp({"C:\\Program Files\\消えた\\UNSETUP.INI"});
  EXPECT_EQ(setup::G().startup.SetupMode, "UNSETUP");
  EXPECT_EQ(s.main["lblMessage"].caption, "【致命的エラー  →  iniファイル読み込み失敗】\r\r" + kCannotGoOn);
  EXPECT_EQ(s.main["btnEnd"].caption, "終了(&E)");
}

TEST(HeaderKeys, SetupSpeedIsADecimalOfAtLeastOneOrAStartUpError) {
  struct Case {
    const char* line;  // nullptr = no key
    int speed;         // 0 = start-up error
  };
  for (const Case& c : {Case{nullptr, 400}, Case{"SetupSpeed=0", 1}, Case{"SetupSpeed=-5", 1}, Case{"SetupSpeed=250", 250},
                        Case{"SetupSpeed=abc", 0}, Case{"SetupSpeed=0x10", 0}, Case{"SetupSpeed=99999999999", 0}}) {
    SCOPED_TRACE(c.line ? c.line : "missing");
    SetupRun s;
    std::vector<std::string> lines = {"[Extend]"};
    if (c.line) lines.push_back(c.line);
    s.medium({{"SETUP.INI", Script(lines)}});
    s.startUp();
    if (c.speed) {
      EXPECT_EQ(setup::G().startup.SetupSpeed, c.speed);
      EXPECT_TRUE(s.main["btnEvent"].enabled);
    } else {
      EXPECT_FALSE(s.main["btnEvent"].enabled);
      EXPECT_EQ(s.main["btnEnd"].caption, "終了(&E)");
      EXPECT_NE(s.main["lblMessage"].caption.find("SetupSpeed"), std::string::npos);
      EXPECT_NE(s.main["lblMessage"].caption.find(kCannotGoOn), std::string::npos);
      EXPECT_TRUE(s.ui->transcript().messageBoxes.empty());
    }
  }
}

TEST(HeaderKeys, OptionsEnabledOnlyOffForFalseAndShortcutBoxesFollowTheirLocations) {
  struct Case {
    const char* name;
    std::string enabled;
    std::vector<std::string> shortcuts;
    bool folderOn;
    bool boxes[4];  // desktop, start menu, startup, send to
  };
  for (const Case& c : {Case{"common desktop", "", {"(C_Dsk)\\A"}, true, {true, false, false, false}},
                        Case{"lower-case false", "false", {"(Sup)\\A", "(sen)\\B"}, true, {false, false, true, true}},
                        Case{"False", "False", {"(Dsk)\\A", "(Sta)\\B"}, false, {false, false, false, false}},
                        Case{"gap ends the list", "", {"(Dsk)\\A", "", "(Sta)\\B"}, true, {true, false, false, false}}}) {
    SCOPED_TRACE(c.name);
    SetupRun s;
    std::vector<std::string> lines = {"[Extend]", "Enabled=" + c.enabled, "[ShortCut]"};
    for (size_t i = 0; i < c.shortcuts.size(); ++i) lines.push_back("Name" + std::to_string(i + 1) + "=" + c.shortcuts[i]);
    s.medium({{"SETUP.INI", Script(lines)}});
    s.startUp();
    for (const char* name : {"txtFolder", "btnRefer", "chkOverWrite"}) EXPECT_EQ(s.main[name].enabled, c.folderOn) << name;
    const char* boxes[] = {"chkSCutDesktop", "chkSCutStartMenu", "chkSCutStartUp", "chkSCutSendTo"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.main[boxes[i]].enabled, c.boxes[i]) << boxes[i];
  }
}

TEST(HeaderKeys, ProposedFolderFromDefaultRememberedAndRegistry) {
  struct Case {
    const char* name;
    std::string reference;  // [DefaultFolder] ReferRegistry
    bool remembered;
    std::string expected;
  };
  for (const Case& c : {Case{"default only", "", false, "C:\\Program Files\\既定\\"},
                        Case{"remembered wins over default", "", true, "E:\\前回\\"},
                        Case{"registry wins over remembered", "(Local)\\SOFTWARE\\Vornik\\Test\\,InstallDir", true,
                             "F:\\レジストリ\\"},
                        Case{"no root token reads the current user", "Software\\Vornik,Dir", true, "G:\\ユーザー\\"},
                        Case{"missing key leaves the proposal", "(Local)SOFTWARE\\Missing,InstallDir", true, "E:\\前回\\"},
                        Case{"empty value leaves the proposal", "(Local)SOFTWARE\\Vornik\\Test,Empty", true, "E:\\前回\\"},
                        Case{"no value name reads the default value", "(Class)\\.tst", false, "H:\\既定値\\"}}) {
    SCOPED_TRACE(c.name);
    SetupRun s;
    auto& reg = s.machine.registry();
    ASSERT_EQ(reg.createKey(plat::RegRoot::LocalMachine, "SOFTWARE\\Vornik\\Test"), 0u);
    reg.writeValue(plat::RegRoot::LocalMachine, "SOFTWARE\\Vornik\\Test", "InstallDir", plat::RegValue::string("F:\\レジストリ"));
    reg.writeValue(plat::RegRoot::LocalMachine, "SOFTWARE\\Vornik\\Test", "Empty", plat::RegValue::string(""));
    ASSERT_EQ(reg.createKey(plat::RegRoot::CurrentUser, "Software\\Vornik"), 0u);
    reg.writeValue(plat::RegRoot::CurrentUser, "Software\\Vornik", "Dir", plat::RegValue::string("G:\\ユーザー"));
    ASSERT_EQ(reg.createKey(plat::RegRoot::ClassesRoot, ".tst"), 0u);
    reg.writeValue(plat::RegRoot::ClassesRoot, ".tst", "", plat::RegValue::string("H:\\既定値"));
    if (c.remembered) s.machine.putFile("C:\\WINDOWS\\VOSET98.INI", Script({"[TESTAPP]", "Folder=E:\\前回\\"}));
    std::vector<std::string> lines = {"[ProgramID]", "ID=TESTAPP", "[DefaultFolder]", "Folder=(Prg)\\既定"};
    if (!c.reference.empty()) lines.push_back("ReferRegistry=" + c.reference);
    s.medium({{"SETUP.INI", Script(lines)}});
    s.startUp();
    EXPECT_EQ(s.main["txtFolder"].text, c.expected);
    EXPECT_EQ(setup::G().startup.ProgramID, "TESTAPP");
  }
}

TEST(HeaderKeys, FolderTableFromTheSystem) {
  SetupRun s;
  s.medium({{"SETUP.INI", Script({"[Title]", "Setup=A"})}});
  s.startUp();
  const setup::FolderTable& f = setup::G().folders;
  EXPECT_EQ(f.WindowsFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(f.SystemFolder, "C:\\WINDOWS\\SYSTEM32\\");
  EXPECT_EQ(f.TempFolder, "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(f.BootDrive, "C:\\");
  EXPECT_EQ(f.SourceDrive, "D:\\");
  EXPECT_EQ(f.AppFolder, "(App)");
  EXPECT_EQ(f.DesktopFolder, "C:\\WINDOWS\\Profiles\\ソフト開発\\デスクトップ\\");
  EXPECT_EQ(f.CommonDesktopFolder, "C:\\WINDOWS\\Profiles\\All Users\\デスクトップ\\");
  EXPECT_EQ(setup::G().startup.ProgramFolder, "D:\\");
}

TEST(HeaderKeys, ShellFoldersTheSystemCannotGiveBecomeABackslashAndStartUpGoesOn) {
  plat::MachineLayout layout = plat::MachineLayout::typical();
  layout.specialFolders.clear();
  SetupRun s(layout);
  s.medium({{"SETUP.INI", Script({"[Title]", "Setup=A"})}});
  s.startUp();
  const setup::FolderTable& f = setup::G().folders;
  for (const std::string* folder : {&f.StartMenuFolder, &f.ProgramsFolder, &f.DesktopFolder, &f.StartupFolder,
                                    &f.SendToFolder, &f.CommonDesktopFolder})
    EXPECT_EQ(*folder, "\\");
  EXPECT_EQ(s.main["btnEvent"].caption, "セットアップ開始(&S)");
  EXPECT_TRUE(s.main["btnEvent"].enabled);
}

TEST(HeaderKeys, NinetyFivePlatformCopiesTheUserFoldersAndNoTempUsesTheProgramFolder) {
  plat::MachineLayout layout = plat::MachineLayout::typical();
  layout.platformId = 1;
  layout.tempDirectory = "";
  layout.programPath = "D:\\表示\\SETUP.EXE";
  SetupRun s(layout);
  s.machine.putFile("D:\\表示\\SETUP.INI", Script({"[Title]", "Setup=A"}));
  s.startUp();
  const setup::FolderTable& f = setup::G().folders;
  EXPECT_EQ(f.CommonDesktopFolder, f.DesktopFolder);
  EXPECT_EQ(f.CommonStartupFolder, f.StartupFolder);
  EXPECT_EQ(setup::G().startup.ProgramFolder, "D:\\表示\\");
  EXPECT_EQ(f.TempFolder, "D:\\表示\\");
  EXPECT_EQ(setup::G().startup.WorkFolder, "D:\\表示\\VSTMP1\\");
  EXPECT_EQ(s.main["frmMain"].caption, "A");
}

}  // namespace

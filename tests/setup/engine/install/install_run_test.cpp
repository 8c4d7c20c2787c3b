// Whole install runs on a POSIX machine with scripted windows: phases, questions, files,
// shortcuts, registry, associations, the record, completion, aborts and injected faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"
#include "tests/setup/engine/install/install_fixture.h"

namespace setup::testing {
namespace {

using plat::RegRoot;

const std::string kApp = "C:\\Program Files\\Sample\\";
const std::string kCannot = "セットアップを続行できませんでした．";

class InstallRunTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    machine().putFolder(kApp);
  }
  std::string RecordValue(const std::string& section, const std::string& key) {
    return ReadProfileValue(section, key, "", kApp + "UNSETUP.INI");
  }
};

TEST_F(InstallRunTest, PhasesInOrderWithPausesAndTheExampleRecord) {
  machine().putMedium("D:\\", {{"SAMPLE.EXE", "exe"}, {"SMPLIB.DLL", "dll"}});
  machine().putFolder("C:\\WINDOWS\\SYSTEM");
  G().folders.ProgramsFolder = "C:\\WINDOWS\\Start Menu\\Programs\\";
  ASSERT_EQ(sys().registry.createKey(RegRoot::ClassesRoot, ".smp"), 0u);
  ASSERT_EQ(sys().registry.writeValue(RegRoot::ClassesRoot, ".smp", "", plat::RegValue::string("smpfile")), 0u);
  Script(
      "[Extend]\r\nUnSetupOption=1,0,0,0\r\n"
      "[Relate]\r\nName1=smp,Sample\r\nFile1=open,(App)SAMPLE.EXE,%1,0\r\n"
      "[MakeFolder]\r\nFolder1=(App)Data\r\n"
      "[CopyFile]\r\nFile1=(App)SAMPLE.EXE\r\nFile2=(Win)SYSTEM\\SMPLIB.DLL,/S/R\r\n"
      "[ShortCut]\r\nMake1=(App)SAMPLE.EXE\r\nName1=(Sta)Sample\r\n"
      "[Registry]\r\nKey1=(Local)SOFTWARE\\Maker\\App\\\r\nName1=Path\r\nValue1=(Str)(App)(Pdd)\r\n"
      "[IniFile]\r\nData1=Options,Path,(App),(Win)APP.INI\r\n");
  Run();

  const std::vector<std::string> phases = {
      "セットアップを開始します．．．",
      "セットアップの情報を作成しています．．．",
      "セットアップに必要な容量を調べています．．．",
      "ディスクの空き容量をチェックしています．．．",
      "セットアップフォルダをチェックしています．．．",
      "フォルダを作成しています．．．\rCreating -> " + kApp + "Data\\",
      "ファイルをコピーしています．．．\rCopying -> " + kApp + "SAMPLE.EXE",
      "ファイルをコピーしています．．．\rCopying -> C:\\WINDOWS\\SYSTEM\\SMPLIB.DLL",
      "ショートカットを作成しています．．．\rCreateTarget -> " + kApp + "SAMPLE.EXE\rCreating -> C:\\WINDOWS\\Start Menu\\Programs\\Sample",
      "レジストリを設定しています．．．",
      "Iniファイルを設定しています．．．",
      "関連付けを設定しています．．．",
      "アンセットアップ情報を更新しています．しばらくお待ちください．．．",
      "アンセットアップ情報(削除フォルダ)を更新しています．しばらくお待ちください．．．",
      "アンセットアップ情報(削除ファイル)を更新しています．しばらくお待ちください．．．",
      "アンセットアップ情報(削除ショートカット)を更新しています．しばらくお待ちください．．．",
      "アンセットアップ情報(削除レジストリ)を更新しています．しばらくお待ちください．．．",
      "アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．",
      "セットアップが完了しました．",
  };
  EXPECT_EQ(windows.messages, phases);
  // 500 and 1000 at the start; then phase 1, phase 2, the free-space check, one folder,
  // two files and one shortcut each wait SetupSpeed.
  EXPECT_EQ(windows.sleeps, (std::vector<int>{500, 1000, 400, 400, 400, 400, 400, 400, 400}));
  EXPECT_EQ(windows.labels, (std::vector<std::string>{"50%(1/2)", "100%(2/2)"}));

  const std::string info =
      "[Information]\r\nMessage1=Vornik Setup 98 UnSetup(UnInstall) Initialize File\r\n"
      "Message2=！！！　警告　！！！\r\n"
      "Message3=このファイルをエディタなどで書き換えたり，削除しないでください．\r\n"
      "Message4=書き換えた場合，アンセットアップ動作の保証はできません．\r\n";
  EXPECT_EQ(Record(), info +
                          "[Title]\r\nUnSetup=Sample\r\n"
                          "[SetupFolder]\r\nFolder=C:\\Program Files\\Sample\\\r\n"
                          "[DeleteFolder]\r\nFolder1=C:\\Program Files\\Sample\\Data\\\r\n"
                          "[DeleteFile]\r\nFile1=C:\\Program Files\\Sample\\SAMPLE.EXE\r\n"
                          "File2=C:\\WINDOWS\\SYSTEM\\SMPLIB.DLL,/S/R\r\n"
                          "File3=C:\\Program Files\\Sample\\UNSETUP.INI\r\n"
                          "[DeleteShortCut]\r\nFile1=C:\\WINDOWS\\Start Menu\\Programs\\Sample.lnk\r\n"
                          "[RestoreRelate]\r\nKey1=smp,smpfile\r\n"
                          "[UnSetupOption]\r\nCheckBox=1,0,0,0\r\n"
                          "[UnSetupRegistryKey]\r\nKey=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample\r\n"
                          "[ProgramID]\r\nID=SAMPLE01\r\n");

  EXPECT_EQ(machine().readFile(kApp + "SAMPLE.EXE"), "exe");
  EXPECT_TRUE(machine().folderExists(kApp + "Data"));
  EXPECT_TRUE(machine().fileExists("C:\\WINDOWS\\Start Menu\\Programs\\Sample.lnk"));
  EXPECT_EQ(RegValue(RegRoot::LocalMachine, "SOFTWARE\\Maker\\App", "Path"), plat::RegValue::string("C:\\Program Files\\Sample"));
  EXPECT_EQ(ReadProfileValue("Options", "Path", "", "C:\\WINDOWS\\APP.INI"), kApp);
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, ".smp", ""), plat::RegValue::string("smp_auto_file"));
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, "smp_auto_file\\shell\\open\\command", ""),
            plat::RegValue::string("\"C:\\Program Files\\Sample\\SAMPLE.EXE\" %1"));
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, "smp_auto_file\\DefaultIcon", ""),
            plat::RegValue::string("C:\\Program Files\\Sample\\SAMPLE.EXE,0"));
  EXPECT_EQ(RegValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample", "UninstallString"),
            plat::RegValue::string("C:\\WINDOWS\\UNVOSET.EXE \"C:\\Program Files\\Sample\\UNSETUP.INI\""));
  EXPECT_EQ(machine().readFile("C:\\WINDOWS\\UNVOSET.EXE"), "setup program");
  EXPECT_EQ(ReadProfileValue("SAMPLE01", "Folder", "", "C:\\WINDOWS\\VOSET98.INI"), kApp);
  auto done = BoxesCaptioned("完了");
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].text,
            "セットアップが完了しました．\r\rプログラムのアンセットアップ(アンインストール)は，\r「アプリケーションの追加と削除」から行ってください．");
  EXPECT_TRUE(windows.backEnabled);
  EXPECT_TRUE(windows.statusClosed);
  EXPECT_EQ(windows.modalResult, 1);
  EXPECT_TRUE(windows.prepared);
  EXPECT_FALSE(windows.abortEnabled);
}

TEST_F(InstallRunTest, FreeSpaceCheck) {
  struct Case {
    const char* name;
    std::uint64_t freeBytes;
    bool unknown;
    int answer;
    const char* question;  // "" when no question
    bool stops;
  } cases[] = {
      {"greater", 11, false, 0, "", false},
      {"equal", 10, false, mb::kIdYes,
       "ディスクの空き容量が不足しているため，エラーになる可能性があります．\rこのままセットアップを続行しますか？", false},
      {"unknown", 0, true, mb::kIdYes,
       "ディスクの空き容量取得関数が失敗しました．\rセットアップに必要なディスク容量は 10 Byteです．\r"
       "空き容量があるようであれば，セットアップを続行してください．\r\rセットアップを続行しますか？",
       false},
      {"no", 5, false, mb::kIdNo,
       "ディスクの空き容量が不足しているため，エラーになる可能性があります．\rこのままセットアップを続行しますか？", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    // 4 + 5 bytes, and an empty file that counts 1.
    machine().putMedium("D:\\", {{"A.TXT", "aaaa"}, {"B.TXT", "bbbbb"}, {"C.TXT", ""}});
    Script("[CopyFile]\r\nFile1=(App)A.TXT\r\nFile2=(App)B.TXT\r\nFile3=(App)C.TXT\r\n");
    machine().layout().freeBytes['C'] = c.freeBytes;
    if (c.unknown) {
      machine().addFault({"freeSpaceExtended", "", 1, plat::err::kNotReady, true});
      machine().addFault({"freeSpaceClusters", "", 1, plat::err::kNotReady, true});
    }
    if (c.answer) answers.push_back(c.answer);
    Run();
    auto asked = BoxesCaptioned("空き容量不足");
    if (*c.question) {
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].text, c.question);
      EXPECT_EQ(asked[0].flags, mb::kYesNo | mb::kIconQuestion);
    } else {
      EXPECT_TRUE(asked.empty());
    }
    auto stop = BoxesCaptioned("セットアップ中止");
    EXPECT_EQ(stop.size(), c.stops ? 1u : 0u);
    if (c.stops) {
      EXPECT_EQ(stop[0].text, kCannot);
      EXPECT_EQ(stop[0].flags, mb::kOk | mb::kIconStop);
      EXPECT_TRUE(windows.backEnabled);
      EXPECT_EQ(windows.modalResult, 1);
      EXPECT_FALSE(windows.statusClosed);
      EXPECT_FALSE(machine().fileExists(kApp + "A.TXT"));
    } else {
      EXPECT_TRUE(machine().fileExists(kApp + "C.TXT"));
    }
  }
}

TEST_F(InstallRunTest, MissingSourceOrLaterDiskSkipsTheSpaceCheckAndCountsByEntries) {
  machine().putMedium("D:\\", {{"A.TXT", "a"}, {"C.TXT", "c"}});
  machine().layout().freeBytes['C'] = 0;
  Script("[CopyFile]\r\nFile1=(App)A.TXT\r\nFile2=(App)B.TXT\r\nFile3=(App)C.TXT\r\nFile5=(App)E.TXT\r\n");
  Run();
  EXPECT_EQ(windows.CountMessages("ディスクの空き容量をチェック"), 0);
  EXPECT_EQ(windows.labels, (std::vector<std::string>{"33%(1/3)", "66%(2/3)", "100%(3/3)"}));
  EXPECT_EQ(windows.CountMessages("ファイルが存在しないためコピーをスキップしています．．．\rSkipping -> " + kApp + "B.TXT"), 1);
  auto warn = BoxesCaptioned("警告");
  ASSERT_EQ(warn.size(), 1u);
  EXPECT_EQ(warn[0].text, "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？");
  EXPECT_EQ(windows.details, "<File> D:\\B.TXT\r\nコピー元のファイルが見つかりません．\r\n\r\n");
  EXPECT_NE(Record().find("File1=" + kApp + "A.TXT\r\nFile2=" + kApp + "C.TXT\r\nFile3=" + kApp + "UNSETUP.INI\r\n"),
            std::string::npos);
}

TEST_F(InstallRunTest, SetupFolderQuestionAndFailure) {
  struct Case {
    const char* name;
    int answer;
    bool failCreate;
    bool created, stops;
  } cases[] = {{"yes", mb::kIdYes, false, true, false},
               {"no", mb::kIdNo, false, false, true},
               {"creation fails", mb::kIdYes, true, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    windows.folder = "C:\\New\\表\\Deep";
    Script("[CopyFile]\r\n");
    answers.push_back(c.answer);
    if (c.failCreate) machine().addFault({"createDirectory", "New", 1, plat::err::kAccessDenied, true});
    Run();
    auto asked = BoxesCaptioned("フォルダ作成");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "C:\\New\\表\\Deep\\\r\rこのフォルダは存在しません．作成してもよろしいですか？");
    EXPECT_EQ(machine().folderExists("C:\\New\\表\\Deep"), c.created);
    EXPECT_EQ(BoxesCaptioned("致命的エラー").size(), c.failCreate ? 1u : 0u);
    EXPECT_EQ(BoxesCaptioned("セットアップ中止").size(), c.stops ? 1u : 0u);
    EXPECT_EQ(machine().fileExists("C:\\New\\表\\Deep\\UNSETUP.INI"), !c.stops);
    if (!c.stops) EXPECT_EQ(G().folders.SetupDrive, "C:\\");
  }
}

TEST_F(InstallRunTest, CopyFormsAndFlags) {
  machine().putMedium("D:\\", {{"PLAIN.TXT", "p"}, {"SHARED.DLL", "s"}, {"THREE.DLL", "t"}});
  machine().putFolder("C:\\WINDOWS\\SYSTEM");
  Script("[CopyFile]\r\nFile1=(App)PLAIN.TXT|RENAMED.TXT\r\nFile2=(Win)SYSTEM\\SHARED.DLL,/S\r\n"
         "File3=(App)THREE.DLL,/S/W/R\r\nFile4=(dch)(App)PLAIN.TXT\r\n");
  Run();
  EXPECT_EQ(machine().readFile(kApp + "RENAMED.TXT"), "p");
  EXPECT_EQ(RegValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                     "C:\\WINDOWS\\SYSTEM\\SHARED.DLL"),
            plat::RegValue::dword(1));
  EXPECT_EQ(RegValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", kApp + "THREE.DLL"),
            plat::RegValue::dword(1));
  // "/R" registers: the stand-in file is no component, which the registration reports.
  EXPECT_FALSE(BoxesCaptioned("OCX/DLL登録エラー").empty());
  // A marker in small letters asks for no disk; its path does not exist.
  EXPECT_TRUE(BoxesCaptioned("ディスク交換").empty());
  EXPECT_EQ(RecordValue("DeleteFile", "File1"), kApp + "RENAMED.TXT");
  EXPECT_EQ(RecordValue("DeleteFile", "File2"), "C:\\WINDOWS\\SYSTEM\\SHARED.DLL,/S");
  EXPECT_EQ(RecordValue("DeleteFile", "File3"), kApp + "THREE.DLL,/S/W/R");
  EXPECT_EQ(RecordValue("DeleteFile", "File4"), kApp + "UNSETUP.INI");
  EXPECT_EQ(windows.details.rfind("<File> (dch)" + kApp + "PLAIN.TXT\r\n", 0), 0u) << windows.details;
}

TEST_F(InstallRunTest, CompressedSourcesAreExpanded) {
  // SZDD: magic, method 'A', the last character of the name, size, then LZ data with every
  // byte a literal (flag byte 0xFF).
  auto szdd = [](const std::string& data, char last) {
    std::string h = std::string("SZDD\x88\xF0\x27\x33", 8) + "A" + std::string(1, last);
    std::uint32_t n = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) h.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 8) h += "\xFF" + data.substr(i, 8);
    return h;
  };
  // And one made by a third-party compressor (Debian's mscompress), with back-references, after
  // the conventional rename: NAME.EXT_ becomes NAME.EX_ with the last character in byte 9.
  const std::string text = "hello hello hello hello, compressed by another program";
  std::string third;
  {
    std::string dir = root_ + "/msc";
    std::filesystem::create_directories(dir);
    FILE* f = std::fopen((dir + "/C.DAT").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    ASSERT_EQ(std::system(("cd '" + dir + "' && mscompress C.DAT > /dev/null 2>&1").c_str()), 0) << "mscompress missing";
    f = std::fopen((dir + "/C.DAT_").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[4096];
    std::size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    third.assign(buf, n);
    ASSERT_GT(third.size(), 10u);
    third[9] = 'T';
  }
  machine().putMedium("D:\\", {{"A.EX_", szdd("program!", 'E')}, {"b.tx_", szdd("text", 't')}, {"C.DA_", third}});
  Script("[CopyFile]\r\nFile1=(App)A.EX_|A.EXE\r\nFile2=(App)b.tx_\r\nFile3=(App)C.DA_\r\n");
  Run();
  EXPECT_EQ(machine().readFile(kApp + "A.EXE"), "program!");
  EXPECT_EQ(machine().readFile(kApp + "B.TXT"), "text");
  EXPECT_EQ(machine().readFile(kApp + "C.DAT"), text);
  EXPECT_FALSE(machine().exists("C:\\WINDOWS\\TEMP\\EXPAND.VST"));
  EXPECT_EQ(RecordValue("DeleteFile", "File2"), kApp + "B.TXT");
}

TEST_F(InstallRunTest, OverwriteRules) {
  const plat::FileTime older = 130000000000000000ull, newer = older + 10000000ull * 3600;
  struct Case {
    const char* name;
    bool option;
    int answer;
    const char* flags;
    plat::FileTime targetTime;
    bool readOnly;
    std::string result;
  } cases[] = {
      {"option off, No keeps", false, mb::kIdNo, "", older, false, "old"},
      {"option off, Yes copies", false, mb::kIdYes, "", newer, false, "new"},
      {"option off, No with /W copies", false, mb::kIdNo, ",/W", newer, false, "new"},
      {"newer target kept", true, 0, "", newer, false, "old"},
      // One second older, but within the same two-second step of the DOS time.
      {"same two-second step kept", true, 0, "", older, false, "old"},
      {"older target replaced", true, 0, "", older - 10000000ull * 4, false, "new"},
      {"newer target with /W replaced", true, 0, ",/W", newer, false, "new"},
      {"read-only target replaced", true, 0, "", older - 10000000ull * 4, true, "new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    machine().putMedium("D:\\", {{"F.TXT", "new"}});
    machine().putFile(kApp + "F.TXT", "old");
    ASSERT_EQ(sys().files.setLastWriteTime("D:\\F.TXT", older + 10000000ull), 0u);
    ASSERT_EQ(sys().files.setLastWriteTime(kApp + "F.TXT", c.targetTime), 0u);
    if (c.readOnly) ASSERT_EQ(sys().files.setAttributes(kApp + "F.TXT", plat::attr::kReadOnly), 0u);
    windows.overwrite = c.option;
    if (c.answer) answers.push_back(c.answer);
    Script(std::string("[CopyFile]\r\nFile1=(App)F.TXT") + c.flags + "\r\n");
    Run();
    EXPECT_EQ(machine().readFile(kApp + "F.TXT"), c.result);
    auto asked = BoxesCaptioned("上書き確認");
    EXPECT_EQ(asked.size(), c.option ? 0u : 1u);
    if (!asked.empty())
      EXPECT_EQ(asked[0].text, kApp + "F.TXT\r\rこのファイルは既に存在します．\r上書きしてもよろしいですか？");
    EXPECT_EQ(RecordValue("DeleteFile", "File1"), kApp + "F.TXT" + c.flags);  // kept files are recorded too
    EXPECT_TRUE(BoxesCaptioned("警告").empty());
  }
}

TEST_F(InstallRunTest, DiskChangeRepeatsUntilTheFileIsThereOrCancel) {
  machine().putMedium("D:\\", {{"ONE.TXT", "1"}});
  Script("[CopyFile]\r\nFile1=(App)ONE.TXT\r\nFile2=(Dch)(App)TWO.TXT\r\n");
  answers = {mb::kIdOk, mb::kIdOk, mb::kIdCancel};
  Run();
  auto asked = BoxesCaptioned("ディスク交換");
  ASSERT_EQ(asked.size(), 3u);
  for (const auto& b : asked) {
    EXPECT_EQ(b.text, "2枚目のディスクに交換してください．");
    EXPECT_EQ(b.flags, mb::kOkCancel | mb::kIconInformation);
  }
  auto fatal = BoxesCaptioned("致命的エラー");
  ASSERT_EQ(fatal.size(), 1u);
  EXPECT_EQ(fatal[0].text, kCannot);
  EXPECT_EQ(windows.modalResult, 1);
  EXPECT_FALSE(RecordExists());

  // The disk arrives after one question.
  TearDown();
  SetUp();
  machine().putMedium("D:\\", {{"ONE.TXT", "1"}});
  Script("[CopyFile]\r\nFile1=(App)ONE.TXT\r\nFile2=(Dch)(App)TWO.TXT\r\n");
  onBox = [this](const Box& b) {
    if (b.caption == "ディスク交換" && !machine().fileExists("D:\\TWO.TXT")) machine().putFile("D:\\TWO.TXT", "2");
  };
  answers = {mb::kIdOk, mb::kIdOk};
  Run();
  EXPECT_EQ(machine().readFile(kApp + "TWO.TXT"), "2");
}

TEST_F(InstallRunTest, ProgressBySize) {
  machine().putMedium("D:\\", {{"A.TXT", std::string(100, 'a')}, {"B.TXT", std::string(200, 'b')}, {"C.TXT", ""}});
  Script("[CopyFile]\r\nFile1=(App)A.TXT\r\nFile2=(App)B.TXT\r\nFile3=(App)C.TXT\r\n");
  Run();
  // 100, 300 and 301 of 301 bytes (the empty file counts one).
  EXPECT_EQ(windows.labels, (std::vector<std::string>{"33%(1/3)", "99%(2/3)", "100%(3/3)"}));
}

TEST_F(InstallRunTest, Shortcuts) {
  machine().putMedium("D:\\", {{"VIEW.EXE", "v"}, {"READY.LNK", "ready-made"}});
  windows.boxes[0] = false;  // no desktop shortcuts
  Script("[CopyFile]\r\nFile1=(App)VIEW.EXE\r\nFile2=(App)READY.LNK\r\n"
         "[ShortCut]\r\nMake1=(App)VIEW.EXE\r\n"
         "Make2=(App)VIEW.EXE\r\nName2=(Dsk)Viewer,(App)\r\n"
         "Make3=(App)VIEW.EXE,/s\r\nName3=Tools\\Viewer,C:\\NOWHERE\r\n"
         "Make4=(App)VIEW.EXE\r\nName4=(Smn)Viewer\r\n"
         "Make5=(App)READY.LNK\r\nName5=(Sta)Ready\r\n"
         "Make6=(App)VIEW.EXE\r\nName6=(Sup)Viewer.lnk\r\n");
  Run();
  const std::string sta = G().folders.ProgramsFolder;
  plat::ShellLinkData link;
  ASSERT_EQ(sys().shell.readShellLink(sta + "VIEW.EXE.lnk", link), 0u);
  EXPECT_EQ(link.target, kApp + "VIEW.EXE");
  EXPECT_EQ(link.workingDirectory, kApp);
  EXPECT_FALSE(machine().exists(G().folders.DesktopFolder + "Viewer.lnk"));
  ASSERT_EQ(sys().shell.readShellLink(sta + "Tools\\Viewer.lnk", link), 0u);
  EXPECT_EQ(link.arguments, "/s");
  EXPECT_EQ(link.workingDirectory, kApp);  // the named folder does not exist
  EXPECT_TRUE(machine().fileExists(G().folders.StartMenuFolder + "Viewer.lnk"));
  EXPECT_EQ(machine().readFile(sta + "Ready.lnk"), "ready-made");
  EXPECT_TRUE(machine().fileExists(G().folders.StartupFolder + "Viewer.lnk"));
  EXPECT_EQ(RecordValue("DeleteShortCut", "File1"), sta + "VIEW.EXE.lnk");
  EXPECT_EQ(RecordValue("DeleteShortCut", "File2"), sta + "Tools\\Viewer.lnk");
  EXPECT_EQ(RecordValue("DeleteShortCut", "File5"), G().folders.StartupFolder + "Viewer.lnk");
  EXPECT_EQ(RecordValue("DeleteShortCut", "File6"), "");
}

TEST_F(InstallRunTest, RegistryValues) {
  Script("[Registry]\r\n"
         "Key1=(Local)SOFTWARE\\Maker\\App\\\r\nName1=Path\r\nValue1=(Str)(App)(Pdd)\r\n"
         "Key2=SOFTWARE\\Maker\r\nName2=N\r\nValue2=(Dwd)12x\r\n"
         "Key3=(Cuser)SOFTWARE\\Maker\r\nName3=Plain\r\nValue3=hello\r\n"
         "Key4=(Class)Maker.Doc\r\nValue4=(Str)Doc\r\n"
         "Key5=(Users)X\r\nName5=E\r\nValue5=(Exp)%WINDIR%\\x\r\n"
         "Key6=SOFTWARE\\Maker\r\nName6=B\r\nValue6=(Bin)01 ff 7A\r\n"
         "Key7=SOFTWARE\\Maker\r\nName7=I\r\nValue7=(Int)42\r\n"
         "Key8=SOFTWARE\\Maker\r\nName8=Bad\r\nValue8=(Bin)0g\r\n"
         "Key10=SOFTWARE\\Never\r\nName10=x\r\nValue10=y\r\n");
  Run();
  EXPECT_EQ(RegValue(RegRoot::LocalMachine, "SOFTWARE\\Maker\\App", "Path"), plat::RegValue::string(kApp.substr(0, kApp.size() - 1)));
  EXPECT_EQ(RegValue(RegRoot::CurrentUser, "SOFTWARE\\Maker", "N"), plat::RegValue::dword(0));
  EXPECT_EQ(RegValue(RegRoot::CurrentUser, "SOFTWARE\\Maker", "Plain"), plat::RegValue::string("hello"));
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, "Maker.Doc", ""), plat::RegValue::string("Doc"));
  EXPECT_EQ(RegValue(RegRoot::Users, "X", "E"), plat::RegValue::string("%WINDIR%\\x", plat::regtype::kExpandString));
  EXPECT_EQ(RegValue(RegRoot::CurrentUser, "SOFTWARE\\Maker", "B"), (plat::RegValue{plat::regtype::kBinary, "\x01\xff\x7a"}));
  EXPECT_EQ(RegValue(RegRoot::CurrentUser, "SOFTWARE\\Maker", "I"), plat::RegValue::dword(42));
  EXPECT_FALSE(sys().registry.keyExists(RegRoot::CurrentUser, "SOFTWARE\\Never"));
  EXPECT_EQ(windows.CountMessages("レジストリを設定しています．．．"), 8);
  // A broken binary notation writes nothing and is reported.
  EXPECT_EQ(RegValue(RegRoot::CurrentUser, "SOFTWARE\\Maker", "Bad").type, plat::regtype::kNone);
  EXPECT_EQ(windows.details, "<Registry> HKEY_CURRENT_USER\\SOFTWARE\\Maker : Bad\r\nバイナリ値の書式が正しくありません．\r\n\r\n");
}

TEST_F(InstallRunTest, Associations) {
  ASSERT_EQ(sys().registry.createKey(RegRoot::ClassesRoot, ".txt"), 0u);
  ASSERT_EQ(sys().registry.writeValue(RegRoot::ClassesRoot, ".txt", "", plat::RegValue::string("txtfile")), 0u);
  machine().putFile(kApp + "UNSETUP.INI", "[RestoreRelate]\r\nKey1=old,oldfile\r\n");
  Script("[Relate]\r\nName2=abc,Book\r\nFile2=open,(App)VIEW.EXE,%1,0\r\n"
         "Name3=no\r\nFile3=open,(App)VIEW.EXE,0\r\n"
         "Name5=txt\r\nFile5=open,(App)VIEW.EXE,%1,1\r\n"
         "Name6=OLD\r\nFile6=open,(App)VIEW.EXE,0\r\n"
         "Name7=xt\r\nFile7=open,(App)VIEW.EXE,0\r\n");
  ASSERT_EQ(sys().registry.createKey(RegRoot::ClassesRoot, ".xt"), 0u);
  ASSERT_EQ(sys().registry.writeValue(RegRoot::ClassesRoot, ".xt", "", plat::RegValue::string("xtfile")), 0u);
  answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes, mb::kIdYes, mb::kIdYes};
  Run();
  auto asked = BoxesCaptioned("関連付けの確認");
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_EQ(asked[0].text, "拡張子 *.abc を\r" + kApp + "VIEW.EXE\rに関連付けします．よろしいですか？");
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, "abc_auto_file", ""), plat::RegValue::string("Book"));
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, "txt_auto_file", ""), plat::RegValue::string("txt File"));
  EXPECT_FALSE(sys().registry.keyExists(RegRoot::ClassesRoot, ".no"));
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, ".txt", ""), plat::RegValue::string("txt_auto_file"));
  // Earlier slots first, then one per new extension; "OLD" is the same extension as "old".
  EXPECT_EQ(RecordValue("RestoreRelate", "Key1"), "old,oldfile");
  EXPECT_EQ(RecordValue("RestoreRelate", "Key2"), "abc,");
  EXPECT_EQ(RecordValue("RestoreRelate", "Key3"), "txt,txtfile");
  // "xt" is an extension of its own, though "txt" contains it.
  EXPECT_EQ(RecordValue("RestoreRelate", "Key4"), "xt,xtfile");
  EXPECT_EQ(RecordValue("RestoreRelate", "Key5"), "");

  // A second install over the same folder keeps the earlier type, not our own.
  boxes.clear();
  windows = ScriptedWindows{};
  answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes, mb::kIdYes, mb::kIdYes};
  Run();
  EXPECT_EQ(RecordValue("RestoreRelate", "Key3"), "txt,txtfile");
  EXPECT_EQ(RecordValue("RestoreRelate", "Key4"), "xt,xtfile");
  EXPECT_EQ(RecordValue("RestoreRelate", "Key5"), "");
}

TEST_F(InstallRunTest, TwentyFirstAssociationIsNotRecorded) {
  std::string relate = "[Relate]\r\n";
  for (int i = 1; i <= 20; ++i)
    relate += "Name" + std::to_string(i) + "=e" + std::to_string(i) + "\r\nFile" + std::to_string(i) + "=open,C:\\V.EXE,0\r\n";
  std::string rec = "[RestoreRelate]\r\nKey1=old,oldfile\r\n";
  machine().putFile(kApp + "UNSETUP.INI", rec);
  Script(relate);
  Run();
  EXPECT_EQ(RecordValue("RestoreRelate", "Key20"), "e19,");
  EXPECT_EQ(Record().find("e20,"), std::string::npos);
  EXPECT_EQ(RegValue(RegRoot::ClassesRoot, ".e20", ""), plat::RegValue::string("e20_auto_file"));
}

TEST_F(InstallRunTest, ReinstallMergesTheEarlierRecord) {
  machine().putMedium("D:\\", {{"A.DLL", "a"}, {"B.DLL", "b"}, {"C.TXT", "c"}});
  machine().putFile(kApp + "UNSETUP.INI",
                    "[DeleteFolder]\r\nFolder1=C:\\OLD\\\r\n"
                    "[DeleteFile]\r\nFile1=" + kApp + "A.DLL,/S\r\nFile2=" + kApp + "b.dll,/S\r\nFile3=" + kApp +
                        "UNSETUP.INI\r\nFile4=C:\\OLD\\X.TXT\r\n"
                        "[DeleteShortCut]\r\nFile1=C:\\OLD.lnk\r\n"
                        "[DeleteRegistry]\r\nKey1=(Local)SOFTWARE\\Old\r\n");
  Script("[CopyFile]\r\nFile1=(App)A.DLL\r\nFile2=(App)B.DLL,/R\r\nFile3=(App)C.TXT\r\n"
         "[DeleteRegistry]\r\nKey1=(Local)SOFTWARE\\Old\r\nKey2=(Pdd)SOFTWARE\\New\r\n");
  Run();
  EXPECT_EQ(RecordValue("DeleteFolder", "Folder1"), "C:\\OLD\\");
  EXPECT_EQ(RecordValue("DeleteFile", "File1"), kApp + "A.DLL,/S");
  EXPECT_EQ(RecordValue("DeleteFile", "File2"), kApp + "B.DLL,/R/S");
  EXPECT_EQ(RecordValue("DeleteFile", "File3"), kApp + "UNSETUP.INI");
  EXPECT_EQ(RecordValue("DeleteFile", "File4"), "C:\\OLD\\X.TXT");
  EXPECT_EQ(RecordValue("DeleteFile", "File5"), kApp + "C.TXT");
  EXPECT_EQ(RecordValue("DeleteFile", "File6"), "");
  EXPECT_EQ(RecordValue("DeleteShortCut", "File1"), "C:\\OLD.lnk");
  EXPECT_EQ(RecordValue("DeleteRegistry", "Key1"), "(Local)SOFTWARE\\Old");
  EXPECT_EQ(RecordValue("DeleteRegistry", "Key2"), "(Pdd)SOFTWARE\\New");
  EXPECT_EQ(RecordValue("DeleteRegistry", "Key3"), "");
  EXPECT_TRUE(machine().fileExists(G().startup.WorkFolder + "UNSETUPB.INI"));
}

TEST_F(InstallRunTest, SetupOnlyTitleInAnyCase) {
  for (const char* title : {"Tool Setup Only.", "tool setup only."}) {
    SCOPED_TRACE(title);
    TearDown();
    SetUp();
    G().startup.UnSetupTitle = title;
    machine().putFile(kApp + "UNSETUP.INI", "[Title]\r\nUnSetup=earlier\r\n");
    Script("[CopyFile]\r\n");
    Run();
    EXPECT_EQ(Record(), "[Title]\r\nUnSetup=earlier\r\n");
    EXPECT_FALSE(sys().registry.keyExists(RegRoot::LocalMachine, std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + title));
    EXPECT_EQ(ReadProfileValue("SAMPLE01", "Folder", "", "C:\\WINDOWS\\VOSET98.INI"), kApp);
    auto done = BoxesCaptioned("完了");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].text, "セットアップが完了しました．");
  }
}

TEST_F(InstallRunTest, AbortAtEachCheckpoint) {
  const std::string phase2 = "セットアップに必要な容量を調べています．．．";
  const std::string phase4 = "セットアップフォルダをチェックしています．．．";
  struct Case {
    std::string atMessage;  // the user aborts while this text is shown
    std::string seenLast;   // the text shown when the run noticed it
    bool folderMade, fileCopied, linkMade, registryWritten, iniWritten;
  } cases[] = {
      {"セットアップの情報を作成しています．．．", phase2, false, false, false, false, false},
      {phase2, phase2, false, false, false, false, false},
      // The space check has no checkpoint: the setup folder phase notices.
      {"ディスクの空き容量をチェックしています．．．", phase4, false, false, false, false, false},
      {"フォルダを作成しています．．．\rCreating -> " + kApp + "Two\\", "", true, false, false, false, false},
      {"ファイルをコピーしています．．．\rCopying -> " + kApp + "A.TXT", "", true, false, false, false, false},
      {"ショートカットを作成しています．．．", "", true, true, false, false, false},
      {"レジストリを設定しています．．．", "", true, true, true, false, false},
      {"Iniファイルを設定しています．．．", "", true, true, true, true, false},
      {"関連付けを設定しています．．．", "", true, true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.atMessage);
    TearDown();
    SetUp();
    machine().putMedium("D:\\", {{"A.TXT", "a"}});
    Script("[Relate]\r\nName1=abc\r\nFile1=open,C:\\V.EXE,0\r\n[MakeFolder]\r\nFolder1=(App)One\r\nFolder2=(App)Two\r\n"
           "[CopyFile]\r\nFile1=(App)A.TXT\r\n[ShortCut]\r\nMake1=(App)A.TXT\r\nName1=(Smn)A\r\n"
           "[Registry]\r\nKey1=SOFTWARE\\Maker\r\nName1=x\r\nValue1=y\r\n[IniFile]\r\nData1=S,K,V,C:\\X.INI\r\n");
    const std::string at = c.atMessage;
    windows.onMessages = [at](ScriptedWindows& w) {
      if (!w.messages.empty() && w.messages.back().compare(0, at.size(), at) == 0) w.mainEnabled = false;
    };
    Run();
    const std::string last = c.seenLast.empty() ? at : c.seenLast;
    EXPECT_EQ(windows.messages.back().compare(0, last.size(), last), 0) << windows.messages.back();
    EXPECT_EQ(machine().folderExists(kApp + "One"), c.folderMade);
    EXPECT_EQ(machine().folderExists(kApp + "Two"), c.folderMade && at.find("Two") == std::string::npos);
    EXPECT_EQ(machine().fileExists(kApp + "A.TXT"), c.fileCopied);
    EXPECT_EQ(machine().fileExists(G().folders.StartMenuFolder + "A.lnk"), c.linkMade);
    EXPECT_EQ(sys().registry.keyExists(RegRoot::CurrentUser, "SOFTWARE\\Maker"), c.registryWritten);
    EXPECT_EQ(machine().exists("C:\\X.INI"), c.iniWritten);
    EXPECT_FALSE(sys().registry.keyExists(RegRoot::ClassesRoot, ".abc"));
    EXPECT_FALSE(RecordExists());
    EXPECT_FALSE(machine().exists("C:\\WINDOWS\\TEMP\\EXPAND.VST"));
    EXPECT_TRUE(BoxesCaptioned("完了").empty());
  }
}

TEST_F(InstallRunTest, UninstallerCopiedOnlyWhenNewer) {
  const plat::FileTime t = 130000000000000000ull;
  struct Case {
    const char* name;
    bool hasTarget;
    plat::FileTime targetTime;
    bool replaced;
  } cases[] = {{"missing", false, 0, true}, {"older", true, t - 10000000ull * 60, true}, {"equal", true, t, false},
               {"newer", true, t + 10000000ull * 60, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ASSERT_EQ(sys().files.setLastWriteTime("D:\\SETUP.EXE", t), 0u);
    if (c.hasTarget) {
      machine().putFile("C:\\WINDOWS\\UNVOSET.EXE", "earlier");
      ASSERT_EQ(sys().files.setLastWriteTime("C:\\WINDOWS\\UNVOSET.EXE", c.targetTime), 0u);
    }
    Script("[CopyFile]\r\n");
    Run();
    EXPECT_EQ(machine().readFile("C:\\WINDOWS\\UNVOSET.EXE"), c.replaced ? "setup program" : "earlier");
  }
}

TEST_F(InstallRunTest, ExecuteFileAndRestart) {
  struct Case {
    const char* entry;
    bool completionBox, restart, warning;
    const char* file;
    const char* parameters;
  } cases[] = {
      {"WINDOWS_REBOOT", false, true, false, "", ""},
      {"windows_reboot", true, false, true, "windows_reboot", ""},
      {"(App)README.TXT", true, false, false, "C:\\Program Files\\Sample\\README.TXT", ""},
      {"(App)VIEW.EXE,/s \"x y\"", true, false, false, "C:\\Program Files\\Sample\\VIEW.EXE", "/s \"x y\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    TearDown();
    SetUp();
    machine().putFile(kApp + "README.TXT", "r");
    machine().putFile(kApp + "VIEW.EXE", "v");
    Script(std::string("[ExecuteFile]\r\nFile=") + c.entry + "\r\n");
    Run();
    EXPECT_EQ(BoxesCaptioned("完了").size(), c.completionBox ? 1u : 0u);
    EXPECT_EQ(G().startup.RestartRequested, c.restart);
    auto warn = BoxesCaptioned("警告");
    EXPECT_EQ(warn.size(), c.warning ? 1u : 0u);
    if (c.warning)
      EXPECT_EQ(warn[0].text,
                "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\rプログラム提供者へご報告ください．");
    bool executed = false;
    for (const auto& j : machine().journal()) {
      if (j.operation != "execute") continue;
      executed = true;
      ASSERT_GE(j.arguments.size(), 3u);
      EXPECT_EQ(j.arguments[0], "open");
      EXPECT_EQ(j.arguments[1], c.file);
      EXPECT_EQ(j.arguments[2], c.parameters);
    }
    EXPECT_EQ(executed, *c.file != 0 && !c.warning);
  }
}

TEST_F(InstallRunTest, FailureDetailsYesAndNo) {
  for (int answer : {mb::kIdYes, mb::kIdNo}) {
    SCOPED_TRACE(answer);
    TearDown();
    SetUp();
    Script("[MakeFolder]\r\nFolder1=C:\\No\\Parent\r\n");
    answers = {answer};
    Run();
    EXPECT_EQ(windows.CountMessages("セットアップで一部の処理が失敗しました．"), 1);
    const std::string log = "<Folder> C:\\No\\Parent\\\r\n" + SystemErrorText(plat::err::kPathNotFound) + "\r\n";
    EXPECT_EQ(windows.details, answer == mb::kIdYes ? log : "");
    EXPECT_EQ(RecordValue("DeleteFolder", "Folder1"), "");
    EXPECT_EQ(BoxesCaptioned("完了").size(), 1u);
    EXPECT_TRUE(windows.statusClosed);
  }
}

TEST_F(InstallRunTest, RefusalsAreLoggedAndTheRunStillRecords) {
  struct Case {
    const char* name;
    plat::Fault fault;
    std::string logStart;
  } cases[] = {
      {"registry key", {"createKey", "Maker", 1, plat::err::kAccessDenied, true}, "<Registry> HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\r\n"},
      {"registry value", {"writeValue", "Maker", 1, plat::err::kAccessDenied, true}, "<Registry> HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker : x\r\n"},
      {"shared count", {"writeValue", "SharedDLLs", 1, plat::err::kAccessDenied, true}, "<SharedFile> " + kApp + "S.DLL\r\n"},
      {"shell link", {"createShellLink", "", 1, plat::err::kAccessDenied, true}, "<ShortCut> "},
      {"uninstall entry", {"writeValue", "Uninstall", 1, plat::err::kAccessDenied, true},
       "<Registry> HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample\r\n"},
      {"disk full during copy", {"copyFile", "S.DLL", 1, plat::err::kDiskFull, true}, "<File> " + kApp + "S.DLL\r\n"},
      {"locked target", {"copyFile", "S.DLL", 1, plat::err::kSharingViolation, true}, "<File> " + kApp + "S.DLL\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    machine().putMedium("D:\\", {{"S.DLL", "s"}});
    Script("[CopyFile]\r\nFile1=(App)S.DLL,/S\r\n[ShortCut]\r\nMake1=(App)S.DLL\r\nName1=(Smn)S\r\n"
           "[Registry]\r\nKey1=(Local)SOFTWARE\\Maker\r\nName1=x\r\nValue1=y\r\n");
    machine().addFault(c.fault);
    Run();
    EXPECT_EQ(windows.details.rfind(c.logStart, 0), 0u) << windows.details;
    EXPECT_EQ(windows.details.find("\r\n\r\n"), windows.details.size() - 4) << "one entry only";
    EXPECT_EQ(RecordValue("ProgramID", "ID"), "SAMPLE01");
    EXPECT_EQ(BoxesCaptioned("完了").size(), 1u);
  }
}

}  // namespace
}  // namespace setup::testing

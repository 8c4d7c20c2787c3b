// Whole uninstall runs on a POSIX machine: recorded files, answers, shortcuts, folders, options,
// registry, associations, the program registry profile and the setup folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "setup/support/uStrOp.h"
#include "tests/setup/engine/uninstall/uninstall_fixture.h"

namespace setup::uninstall::testing {
namespace {

const std::string kApp = "C:\\Program Files\\Sample\\";
const std::string kSys = "C:\\WINDOWS\\SYSTEM32\\";
const std::string kConfirmCaption = "ファイル削除の確認";
const std::string kComponentError = "OCX/DLL登録エラー";
const std::string kVoset = "C:\\WINDOWS\\VOSET98.INI";

using Entries = std::vector<std::pair<std::string, std::string>>;

Section Numbered(const std::string& section, const std::string& key, const std::vector<std::string>& values) {
  Entries e;
  for (std::size_t i = 0; i < values.size(); ++i) e.push_back({key + std::to_string(i + 1), values[i]});
  return {section, e};
}
Section Files(const std::vector<std::string>& values) { return Numbered("DeleteFile", "File", values); }
Section Shortcuts(const std::vector<std::string>& values) { return Numbered("DeleteShortCut", "File", values); }
Section Folders(const std::vector<std::string>& values) { return Numbered("DeleteFolder", "Folder", values); }

// Boxes other than the run's closing ones (failure summary "警告" and completion "完了").
std::vector<std::string> DecisionCaptions(const std::vector<Box>& boxes) {
  std::vector<std::string> out;
  for (const auto& b : boxes) {
    if (b.caption != "警告" && b.caption != "完了") out.push_back(b.caption);
  }
  return out;
}

// Snapshot keys carry the machine's own spelling of a path.
void EraseNoCase(plat::MachineSnapshot& snap, const std::string& path) {
  auto fold = [](std::string s) {
    for (char& c : s) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
  };
  for (auto it = snap.files.begin(); it != snap.files.end();) {
    it = fold(it->first) == fold(path) ? snap.files.erase(it) : std::next(it);
  }
}

class UninstallRun : public UninstallMachine {};

// Each row: one recorded file, its shared count before, the answers, and what must follow.
TEST_F(UninstallRun, DecisionForOneRecordedFile) {
  struct Case {
    const char* what;
    std::string path, flags;
    long long countBefore;     // -1: no count
    std::string dialogAnswer;  // word the four-way dialog leaves
    int confirmAnswer;         // answer to the "ファイル削除の確認" boxes
    bool kept;
    long long countAfter;
    int dialogs;
    std::vector<std::string> captions;
  };
  const std::vector<Case> cases = {
      {"shared count 2 is lowered to 1 and the file stays", kSys + "SHR.DAT", ",/S", 2, "", 7, true, 1, 0, {}},
      {"a count without /S belongs to others even with /F", kSys + "OTHER.DAT", ",/F", 1, "", 6, true, 1, 0, {}},
      {"/R/W/S: the /S lies outside the window", kSys + "RWS.DAT", ",/R/W/S", 1, "", 6, true, 1, 0, {}},
      {"count reaching zero asks; Yes deletes", kSys + "ZERO.DAT", ",/S", 1, "Yes", 7, false, -1, 1, {}},
      {"count reaching zero asks; No keeps", kSys + "ZERO.DAT", ",/S", 1, "No", 7, true, -1, 1, {}},
      {"/S/C with a count: the four-way dialog", kSys + "SC.DAT", ",/S/C", 1, "Delete", 7, false, -1, 1, {}},
      {"/S/C without a count: the /C question", kApp + "SC.DAT", ",/S/C", -1, "", 6, false, -1, 0,
       {kConfirmCaption}},
      {"/C answered No keeps", kApp + "C.DAT", ",/c", -1, "", 7, true, -1, 0, {kConfirmCaption}},
      {"/L keeps without a question", kApp + "L.DAT", ",/L", -1, "", 6, true, -1, 0, {}},
      {"/F deletes without a question", kApp + "F.DAT", ",/F", -1, "", 7, false, -1, 0, {}},
      {"component in the System folder: asked, then unregistered and deleted", kSys + "LIB.DLL", "", -1, "", 6,
       false, -1, 0, {kConfirmCaption, kComponentError}},
      {"component in the System folder answered No", kSys + "LIB.OCX", "", -1, "", 7, true, -1, 0,
       {kConfirmCaption}},
      {"component in the setup folder: unregistered and deleted unasked", kApp + "APP.DLL", "", -1, "", 7, false,
       -1, 0, {kComponentError}},
      {"plain file", kApp + "SAMPLE.EXE", "", -1, "", 7, false, -1, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Boot();
    M().putFile(c.path, "data");
    if (c.countBefore >= 0) SetShared(c.path, static_cast<std::uint32_t>(c.countBefore));
    if (!c.dialogAnswer.empty()) windows.dialogAnswers.push_back(c.dialogAnswer);
    answers[kConfirmCaption] = c.confirmAnswer;
    Record({{"SetupFolder", {{"Folder", kApp}}}, Files({c.path + c.flags})});

    const RunOutcome out = Run();

    EXPECT_EQ(M().fileExists(c.path), c.kept);
    EXPECT_EQ(Shared(c.path), c.countAfter);
    EXPECT_EQ(static_cast<int>(windows.dialogQuestions.size()), c.dialogs);
    EXPECT_EQ(DecisionCaptions(boxes), c.captions);
    // A kept file in the setup folder keeps the folder; nothing else may fail.
    EXPECT_EQ(out.failureLog.find("<File> "), std::string::npos) << out.failureLog;
  }
}

// Every failure becomes one log entry with the system's text, and the run goes on to the next.
TEST_F(UninstallRun, FailuresAreLoggedAndTheRunGoesOn) {
  M().putFile(kApp + "LOCKED.DAT", "busy");
  M().putFile(kApp + "NEXT.DAT", "x");
  M().putFile(kSys + "SHR3.DAT", "x");
  SetShared(kSys + "SHR3.DAT", 3);
  M().addFault({"shellDelete", "LOCKED.DAT", 1, plat::err::kSharingViolation, true});
  M().addFault({"writeValue", "SHR3.DAT", 1, plat::err::kAccessDenied, true});
  Record({Files({kApp + "LOCKED.DAT", kSys + "SHR3.DAT,/S", kApp + "NEXT.DAT"}),
          Shortcuts({kApp + "GONE.lnk"})});
  const RunOutcome out = Run();
  EXPECT_FALSE(M().fileExists(kApp + "NEXT.DAT"));
  EXPECT_TRUE(M().fileExists(kSys + "SHR3.DAT"));
  EXPECT_EQ(Shared(kSys + "SHR3.DAT"), 3);
  const std::string expected =
      "<File> " + kApp + "LOCKED.DAT\r\n" + SystemErrorText(32) + "\r\n" +
      "<File> " + kSys + "SHR3.DAT\r\n" + SystemErrorText(5) + "\r\n" +
      "<ShortCut> " + kApp + "GONE.lnk\r\n" + SystemErrorText(2) + "\r\n" +
      "<SetupFolder> " + kApp + "\r\n" + "フォルダにファイルが残っているため，" +
      "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n";
  EXPECT_EQ(out.failureLog, expected);
  EXPECT_EQ(out.failureCount, 4);
  EXPECT_FALSE(SystemErrorText(32).empty());
}

TEST_F(UninstallRun, QuestionTexts) {
  M().putFile(kSys + "Z.DAT", "d");
  M().putFile(kApp + "C.DAT", "d");
  M().putFile(kSys + "LIB.OCX", "d");
  SetShared(kSys + "Z.DAT", 1);
  windows.dialogAnswers = {"No"};
  Record({Files({kSys + "Z.DAT,/S", kApp + "C.DAT,/C", kSys + "LIB.OCX"})});
  Run();
  ASSERT_EQ(windows.dialogQuestions.size(), 1u);
  EXPECT_EQ(windows.dialogQuestions[0], kSys + "Z.DAT\r\r" +
                                            "この共有ファイルは，現在，他のどのプログラムからも使われていません．\r" +
                                            "しかし，今後，他のプログラムで使われる可能性があります．\r" +
                                            "このファイルを削除してもよろしいですか？");
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kApp + "C.DAT\r\r" + "このファイルを削除してもよろしいですか？\r\r" + "<<　注意　>>\r" +
                               "DLL/OCXなどは他のプログラムでも使用される可能性があります．\r" +
                               "確実に使用されないことがわかっている場合のみ削除してください．");
  EXPECT_EQ(boxes[0].caption, kConfirmCaption);
  EXPECT_EQ(boxes[0].flags, 0x24u);  // Yes/No, question icon
  EXPECT_EQ(boxes[1].text, kSys + "LIB.OCX\r\r" + "このDLL/OCXファイルは，共有登録されていませんが，\r" +
                               "今後，他のプログラムで使われる可能性があります．\r" +
                               "このファイルを削除してもよろしいですか？");
  EXPECT_EQ(boxes[1].flags, 0x24u);
}

TEST_F(UninstallRun, FourWayAnswersStickOnlyForDeleteAndSave) {
  struct Case {
    std::vector<std::string> answers;
    int dialogs;
    bool firstKept, secondKept;
  };
  const std::vector<Case> cases = {
      {{"Delete"}, 1, false, false},
      {{"Save"}, 1, true, true},
      {{"Yes", "No"}, 2, false, true},
      {{"No", "Yes"}, 2, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.front());
    Boot();
    for (const char* name : {"A.DLL", "B.DLL"}) {
      M().putFile(kSys + name, "d");
      SetShared(kSys + name, 1);
    }
    windows.dialogAnswers.assign(c.answers.begin(), c.answers.end());
    Record({Files({kSys + "A.DLL,/S", kSys + "B.DLL,/S"})});
    Run();
    EXPECT_EQ(static_cast<int>(windows.dialogQuestions.size()), c.dialogs);
    EXPECT_EQ(M().fileExists(kSys + "A.DLL"), c.firstKept);
    EXPECT_EQ(M().fileExists(kSys + "B.DLL"), c.secondKept);
    EXPECT_EQ(Shared(kSys + "A.DLL"), -1);
    EXPECT_EQ(Shared(kSys + "B.DLL"), -1);
  }
}

TEST_F(UninstallRun, FileListEndsAtGapOrEmptyPath) {
  struct Case {
    const char* what;
    Entries entries;
    std::vector<bool> kept;  // A, B, C
  };
  const std::vector<Case> cases = {
      {"gap after File1", {{"File1", kApp + "A.TXT"}, {"File3", kApp + "C.TXT"}}, {false, true, true}},
      {"empty path part ends the list",
       {{"File1", kApp + "A.TXT"}, {"File2", ",/S"}, {"File3", kApp + "C.TXT"}},
       {false, true, true}},
      {"whole list", {{"File1", kApp + "A.TXT"}, {"File2", kApp + "B.TXT"}, {"File3", kApp + "C.TXT"}},
       {false, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Boot();
    for (const char* n : {"A.TXT", "B.TXT", "C.TXT"}) M().putFile(kApp + n, "d");
    Record({{"DeleteFile", c.entries}});
    Run();
    EXPECT_EQ(M().fileExists(kApp + "A.TXT"), c.kept[0]);
    EXPECT_EQ(M().fileExists(kApp + "B.TXT"), c.kept[1]);
    EXPECT_EQ(M().fileExists(kApp + "C.TXT"), c.kept[2]);
  }
}

TEST_F(UninstallRun, ShortcutsAndTheirFolders) {
  const FolderTable& f = G().folders;
  const std::string group = f.ProgramsFolder + "Sample\\";
  const std::string busyGroup = f.ProgramsFolder + "Shared Group\\";
  // The desktop spelled in other letter case is still the desktop.
  std::string lowerDesktop = f.DesktopFolder;
  for (char& ch : lowerDesktop) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  M().putFile(f.DesktopFolder + "Sample.lnk", "L");
  M().putFile(group + "Sample.lnk", "L");
  M().putFile(group + "Readme.lnk", "L");
  M().putFile(busyGroup + "Sample.lnk", "L");
  M().putFile(busyGroup + "Other.lnk", "L");
  M().putFile(f.StartupFolder + "Sample.lnk", "L");
  // The desktop holds nothing else, so only the known-folder rule keeps it.
  Record({Shortcuts({f.DesktopFolder + "Sample.lnk", group + "Sample.lnk", group + "Readme.lnk",
                     busyGroup + "Sample.lnk", lowerDesktop + "Missing.lnk", f.StartupFolder + "Sample.lnk"})});
  const RunOutcome out = Run();
  EXPECT_FALSE(M().fileExists(f.DesktopFolder + "Sample.lnk"));
  EXPECT_TRUE(M().folderExists(f.DesktopFolder));
  EXPECT_FALSE(M().exists(group));
  EXPECT_TRUE(M().fileExists(busyGroup + "Other.lnk"));
  EXPECT_FALSE(M().fileExists(busyGroup + "Sample.lnk"));
  EXPECT_TRUE(M().folderExists(f.StartupFolder));
  EXPECT_TRUE(M().folderExists(f.ProgramsFolder));
  // The missing shortcut is the one failure.
  EXPECT_EQ(out.failureCount, 1);
  EXPECT_EQ(out.failureLog.rfind("<ShortCut> " + lowerDesktop + "Missing.lnk\r\n", 0), 0u) << out.failureLog;
}

TEST_F(UninstallRun, FoldersGoFromTheHighestNumberDown) {
  M().putFolder("C:\\App\\Data\\Sub");
  M().putFolder("C:\\Kept\\");
  M().putFile("C:\\Kept\\USER.DOC", "mine");
  Record({Folders({"C:\\App\\", "C:\\App\\Data\\", "C:\\App\\Data\\Sub\\", "C:\\Kept\\"})});
  const RunOutcome out = Run();
  EXPECT_FALSE(M().exists("C:\\App\\"));
  EXPECT_TRUE(M().fileExists("C:\\Kept\\USER.DOC"));
  EXPECT_EQ(out.failureCount, 1);
  EXPECT_EQ(out.failureLog.rfind("<Folder> C:\\Kept\\\r\n", 0), 0u) << out.failureLog;
}

TEST_F(UninstallRun, IniAndGidOptions) {
  struct Case {
    const char* what;
    bool ini, gid;
    bool setupFolderGone;
    bool iniLeft, gidLeft;
  };
  const std::vector<Case> cases = {
      {"both options", true, true, true, false, false},
      {"INI only", true, false, false, false, true},
      {"GID only", false, true, false, true, false},
      {"neither", false, false, false, true, true},
  };
  const std::string data = kApp + "Data\\";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Boot();
    windows.checked = {c.ini, c.gid, false, false};
    M().putFile(kApp + "SAMPLE.EXE", "x");
    M().putFile(kApp + "SAMPLE.INI", "x");
    M().putFile(data + "VIEW.INI", "x");
    M().putFile(kApp + "HELP.GID", "x");
    // Outside the setup folder the options do not apply.
    M().putFile("C:\\Shared\\OTHER.INI", "x");
    Record({{"SetupFolder", {{"Folder", kApp}}}, Folders({data, "C:\\Shared\\"}), Files({kApp + "SAMPLE.EXE"})});
    const RunOutcome out = Run();
    EXPECT_TRUE(windows.optionsDisabled);
    EXPECT_EQ(!M().exists(kApp), c.setupFolderGone);
    EXPECT_EQ(M().fileExists(kApp + "SAMPLE.INI"), c.iniLeft);
    EXPECT_EQ(M().fileExists(data + "VIEW.INI"), c.iniLeft);
    EXPECT_EQ(M().fileExists(kApp + "HELP.GID"), c.gidLeft);
    EXPECT_TRUE(M().fileExists("C:\\Shared\\OTHER.INI"));
    if (!c.setupFolderGone) {
      EXPECT_NE(out.failureLog.find("<SetupFolder> " + kApp + "\r\n" + "フォルダにファイルが残っているため，" +
                                    "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n"),
                std::string::npos)
          << out.failureLog;
    }
  }
}

TEST_F(UninstallRun, DeleteAllEmptiesTheSetupFolderTree) {
  windows.checked = {true, false, false, false};
  windows.visible = {true, false, false, false};
  M().putFile(kApp + "SAMPLE.EXE", "x");
  M().putFile(kApp + "Saved\\Book1.pgd", "user");
  M().putFile(kApp + "Saved\\Deep\\Note.txt", "user");
  M().putFile(kApp + "Data\\user.dat", "user");
  Record({Folders({kApp + "Data\\"}), Files({kApp + "SAMPLE.EXE"})});
  const RunOutcome out = Run();
  EXPECT_TRUE(out.deleteAll);
  EXPECT_FALSE(M().exists(kApp));
  // The non-empty recorded folder inside the setup folder is not reported.
  EXPECT_EQ(out.failureCount, 0) << out.failureLog;
  EXPECT_TRUE(M().folderExists("C:\\Program Files\\"));
}

TEST_F(UninstallRun, DeleteAllWithALockedFile) {
  windows.checked = {true, false, false, false};
  windows.visible = {true, false, false, false};
  M().putFile(kApp + "LOCKED.DAT", "busy");
  M().putFile(kApp + "Sub\\FREE.DAT", "x");
  M().addFault({"shellDeleteItem", "LOCKED.DAT", 1, plat::err::kSharingViolation, true});
  Record({Files({kApp + "NOTHERE.EXE,/L"})});
  answers["警告"] = 6;
  const RunOutcome out = Run();
  EXPECT_TRUE(M().fileExists(kApp + "LOCKED.DAT"));
  EXPECT_EQ(out.failureCount, 1);
  const std::string expected = "<SetupFolder> " + kApp + "\r\n" +
                               "全ファイル・フォルダの削除を試みましたが，エラーが発生したため，" +
                               "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n";
  EXPECT_EQ(out.failureLog, expected);
  EXPECT_TRUE(windows.detailsShown);
  EXPECT_EQ(windows.shownLog, expected);
}

// The run's closing texts: the failure summary question, and the completion in both cases.
TEST_F(UninstallRun, SummaryAndCompletion) {
  struct Case {
    bool failing;
    int summaryAnswer;
    std::vector<std::string> captions;
    bool details;
  };
  const std::vector<Case> cases = {
      {false, 6, {"完了"}, false},
      {true, 7, {"警告", "完了"}, false},
      {true, 6, {"警告", "完了"}, true},
  };
  for (const auto& c : cases) {
    Boot();
    answers["警告"] = c.summaryAnswer;
    Record({Files({c.failing ? kApp + "MISSING.EXE" : kApp + "MISSING.EXE,/L"})});
    Run();
    std::vector<std::string> captions;
    for (const auto& b : boxes) captions.push_back(b.caption);
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(windows.detailsShown, c.details);
    EXPECT_TRUE(windows.entered);
    EXPECT_TRUE(windows.finished);
    EXPECT_EQ(boxes.back().text, "アンセットアップを完了しました．");
    EXPECT_EQ(boxes.back().flags, 0x40u);
    if (c.failing) {
      EXPECT_EQ(boxes[0].text, "アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．\r詳細を表示しますか？");
      EXPECT_EQ(boxes[0].flags, 0x34u);
      EXPECT_NE(std::find(windows.statuses.begin(), windows.statuses.end(), "一部の処理に失敗しました．"),
                windows.statuses.end());
    }
    EXPECT_EQ(windows.statuses.front(), "アンセットアップ(アンインストール)を行っています．．．");
    EXPECT_EQ(windows.statuses.back(), "アンセットアップを完了しました．");
  }
}

TEST_F(UninstallRun, RegistryKeysAndUninstallEntry) {
  plat::Registry& r = M().registry();
  using plat::RegRoot;
  const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample";
  ASSERT_EQ(r.createKey(RegRoot::CurrentUser, "Software\\Vendor\\Sample\\Settings"), 0u);
  ASSERT_EQ(r.createKey(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Sample"), 0u);
  ASSERT_EQ(r.createKey(RegRoot::ClassesRoot, "Sample.Document\\shell"), 0u);
  ASSERT_EQ(r.createKey(RegRoot::LocalMachine, entry), 0u);
  ASSERT_EQ(r.createKey(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Other"), 0u);
  Record({Numbered("DeleteRegistry", "Key",
                   {"Software\\Vendor\\Sample", "(Local)SOFTWARE\\Vendor\\Sample", "(Class)Sample.Document",
                    "(Local)SOFTWARE", "(Cuser)Software", "(Local)SOFTWARE\\Microsoft"}),
          {"UnSetupRegistryKey", {{"Key", entry}}}});
  Run();
  EXPECT_FALSE(r.keyExists(RegRoot::CurrentUser, "Software\\Vendor\\Sample"));
  EXPECT_TRUE(r.keyExists(RegRoot::CurrentUser, "Software\\Vendor"));
  EXPECT_FALSE(r.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Sample"));
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, "Sample.Document"));
  EXPECT_FALSE(r.keyExists(RegRoot::LocalMachine, entry));
  // Whole branches named by a damaged record stay.
  EXPECT_TRUE(r.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Other"));
  EXPECT_TRUE(r.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_TRUE(r.keyExists(RegRoot::CurrentUser, "Software"));
}

// The Uninstall entry named by the record goes only when it is an entry of the system's list.
TEST_F(UninstallRun, UninstallEntryKeyMustBeAnEntry) {
  using plat::RegRoot;
  const std::string list = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  struct Case {
    std::string recorded;
    bool entryDeleted;
  };
  const std::vector<Case> cases = {
      {list + "\\Sample", true},
      {list, false},
      {list + "\\", false},
      {"SOFTWARE\\Microsoft", false},
      {"SOFTWARE\\Vendor\\Sample", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recorded);
    Boot();
    plat::Registry& r = M().registry();
    ASSERT_EQ(r.createKey(RegRoot::LocalMachine, list + "\\Sample"), 0u);
    ASSERT_EQ(r.createKey(RegRoot::LocalMachine, list + "\\Other"), 0u);
    ASSERT_EQ(r.createKey(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Sample"), 0u);
    Record({{"UnSetupRegistryKey", {{"Key", c.recorded}}}});
    Run();
    EXPECT_EQ(!r.keyExists(RegRoot::LocalMachine, list + "\\Sample"), c.entryDeleted);
    EXPECT_TRUE(r.keyExists(RegRoot::LocalMachine, list + "\\Other"));
    EXPECT_TRUE(r.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Vendor\\Sample"));
  }
}

TEST_F(UninstallRun, AssociationsAreRestored) {
  plat::Registry& r = M().registry();
  using plat::RegRoot;
  auto makeExt = [&](const std::string& ext, const std::string& type) {
    ASSERT_EQ(r.createKey(RegRoot::ClassesRoot, "." + ext), 0u);
    ASSERT_EQ(r.writeValue(RegRoot::ClassesRoot, "." + ext, "", plat::RegValue::string(type)), 0u);
    ASSERT_EQ(r.createKey(RegRoot::ClassesRoot, ext + "_auto_file\\shell\\open\\command"), 0u);
  };
  makeExt("smp", "smp_auto_file");
  makeExt("new", "new_auto_file");
  makeExt("auf", "auf_auto_file");
  makeExt("gone", "gone_auto_file");
  ASSERT_EQ(r.deleteKeyTree(RegRoot::ClassesRoot, ".gone"), 0u);
  Record({Numbered("RestoreRelate", "Key", {"smp,smpfile", "new,", "auf,AUF_Auto_File", "gone,gonefile"})});
  Run();
  plat::RegValue v;
  ASSERT_EQ(r.readValue(RegRoot::ClassesRoot, ".smp", "", v), 0u);
  EXPECT_EQ(v.data, "smpfile");
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, "smp_auto_file"));
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, ".new"));
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, "new_auto_file"));
  ASSERT_EQ(r.readValue(RegRoot::ClassesRoot, ".auf", "", v), 0u);
  EXPECT_EQ(v.data, "AUF_Auto_File");
  EXPECT_TRUE(r.keyExists(RegRoot::ClassesRoot, "auf_auto_file\\shell\\open\\command"));
  // A missing extension key is not created again; its "_auto_file" key goes.
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, ".gone"));
  EXPECT_FALSE(r.keyExists(RegRoot::ClassesRoot, "gone_auto_file"));
}

TEST_F(UninstallRun, ProgramRegistryProfile) {
  struct Case {
    const char* what;
    std::vector<Section> record;
    std::string folderInProfile;
    bool sectionRemoved;
  };
  const std::vector<Case> cases = {
      {"the program's section goes", {{"ProgramID", {{"ID", "SAMPLE01"}}}}, kApp, true},
      {"the folder compares without letter case", {{"ProgramID", {{"ID", "SAMPLE01"}}}},
       "c:\\program files\\sample\\", true},
      {"no ID: the profile stays as it is", {}, kApp, false},
      {"empty ID: the profile stays as it is", {{"ProgramID", {{"ID", ""}}}}, kApp, false},
      {"a later install elsewhere owns the section now", {{"ProgramID", {{"ID", "SAMPLE01"}}}},
       "D:\\Elsewhere\\", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Boot();
    const std::string profile = "[OTHER02]\r\nFolder=C:\\Other\\\r\n[SAMPLE01]\r\nFolder=" + c.folderInProfile + "\r\n";
    M().putFile(kVoset, profile);
    Record(c.record);
    Run();
    const std::string after = M().readFile(kVoset);
    if (c.sectionRemoved) {
      EXPECT_EQ(after.find("SAMPLE01"), std::string::npos) << after;
      EXPECT_NE(after.find("[OTHER02]"), std::string::npos) << after;
    } else {
      EXPECT_EQ(after, profile);
    }
  }
}

TEST_F(UninstallRun, EmptySetupFolderStopsBeforeAnyChange) {
  M().putFile(kApp + "SAMPLE.EXE", "x");
  M().putFile(kVoset, "[SAMPLE01]\r\nFolder=C:\\Program Files\\Sample\\\r\n");
  Record({Files({kApp + "SAMPLE.EXE"}), {"ProgramID", {{"ID", "SAMPLE01"}}}});
  for (const std::string folder :
       {"", "Sample\\", "\\Program Files\\Sample\\", "C:\\Program Files\\Sample\\..\\..\\"}) {
    for (bool deleteAll : {false, true}) {
      SCOPED_TRACE(folder + (deleteAll ? " delete-all" : ""));
      boxes.clear();
      windows.folderText = folder;
      windows.checked = {true, false, false, false};
      windows.visible = {true, !deleteAll, !deleteAll, !deleteAll};
      const plat::MachineSnapshot before = M().snapshot();
      const RunOutcome out = Run();
      EXPECT_TRUE(out.stopped);
      EXPECT_EQ(plat::describeDifferences(before, M().snapshot()), "");
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text,
                "アンセットアップ(アンインストール)フォルダが不明です．\r\nアンセットアップ(アンインストール)"
                "は続行できません．");
      EXPECT_EQ(boxes[0].caption, "致命的エラー");
      EXPECT_EQ(boxes[0].flags, 0x10u);
      EXPECT_FALSE(windows.finished);
    }
  }
}

// A damaged record names a folder that is not the program's: with or without delete-all, only
// what the record lists as files goes, and nothing is reported about the folder.
TEST_F(UninstallRun, ProtectedSetupFoldersAreLeftAlone) {
  const FolderTable& base = G().folders;
  const std::vector<std::string> folders = {
      "C:\\", "D:\\", base.WindowsFolder, "c:\\windows\\", base.SystemFolder, base.ProgramFilesFolder,
      base.TempFolder, base.DesktopFolder, base.ProgramsFolder,
      Dir(M().shell().specialFolder(plat::csidl::kProfile)), Dir(M().shell().specialFolder(plat::csidl::kPersonal)),
  };
  for (const std::string& folder : folders) {
    for (bool deleteAll : {false, true}) {
      SCOPED_TRACE(folder + (deleteAll ? " delete-all" : ""));
      Boot();
      ASSERT_FALSE(folder.empty());
      M().putFolder(folder);
      M().putFile(folder + "USER.DAT", "user data");
      M().putFile(folder + "VIEW.INI", "user settings");
      M().putFile(folder + "PROG.EXE", "recorded");
      windows.folderText = folder;
      windows.checked = {true, true, false, false};
      windows.visible = {true, !deleteAll, !deleteAll, !deleteAll};
      Record({{"SetupFolder", {{"Folder", folder}}}, Folders({folder}), Files({folder + "PROG.EXE"})});
      plat::MachineSnapshot expected = M().snapshot();
      EraseNoCase(expected, folder + "PROG.EXE");
      const RunOutcome out = Run();
      plat::MachineSnapshot after = M().snapshot();
      EXPECT_EQ(plat::describeDifferences(expected, after), "");
      EXPECT_EQ(out.failureCount, 0) << out.failureLog;
    }
  }
}

TEST_F(UninstallRun, TamperedEntriesDeleteNothingElse) {
  M().putFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\n");
  M().putFile("C:\\WINDOWS\\SYSTEM32\\KEEP.DLL", "sys");
  M().putFile(kApp + "SAMPLE.EXE", "x");
  Record({Files({"C:\\WINDOWS\\*.*", "C:\\WINDOWS\\SYSTEM32\\?EEP.DLL", "WIN.INI", kApp + "..\\..\\WINDOWS\\WIN.INI",
                 "C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS\\", kApp + "SAMPLE.EXE"}),
          Shortcuts({"C:\\WINDOWS\\*.INI", kApp + "..\\..\\WINDOWS\\WIN.INI"}),
          Folders({"C:\\", "C:\\WINDOWS\\", kApp + "..\\"})});
  plat::MachineSnapshot expected = M().snapshot();
  expected.files.erase(kApp + "SAMPLE.EXE");
  // Everything under the setup folder goes: it held only the recorded file.
  for (auto it = expected.files.begin(); it != expected.files.end();) {
    it = it->first.rfind(kApp, 0) == 0 ? expected.files.erase(it) : std::next(it);
  }
  Run();
  EXPECT_EQ(plat::describeDifferences(expected, M().snapshot()), "");
}

}  // namespace
}  // namespace setup::uninstall::testing

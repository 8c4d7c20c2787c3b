// The uninstall run's decision table, record value splitting and safety rules.
#include "setup/engine/uninstall_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/support/globals.h"

namespace setup::uninstall {
namespace {

class UninstallRules : public ::testing::Test {
 protected:
  void SetUp() override {
    // Code page 932 lead bytes, as start-up fills them.
    for (int b = 0; b < 256; ++b) G().leadBytes[b] = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 1 : 0;
  }
};

TEST_F(UninstallRules, FileEntryPathAndFlagWindow) {
  struct Case {
    std::string value, path, window;
    bool shared, confirm, leave, force;
  };
  const std::vector<Case> cases = {
      {"C:\\A\\B.EXE", "C:\\A\\B.EXE", "", false, false, false, false},
      {"C:\\W\\S.DLL,/S/C", "C:\\W\\S.DLL", ",/S/C", true, true, false, false},
      {"C:\\W\\S.DLL,/s/c", "C:\\W\\S.DLL", ",/s/c", true, true, false, false},
      // Only the comma and four characters are examined: the third flag is unseen.
      {"C:\\W\\S.DLL,/R/W/S", "C:\\W\\S.DLL", ",/R/W", false, false, false, false},
      {"C:\\W\\S.DLL,/W/R/S", "C:\\W\\S.DLL", ",/W/R", false, false, false, false},
      {"C:\\A\\B.TXT,/L", "C:\\A\\B.TXT", ",/L", false, false, true, false},
      {"C:\\A\\B.TXT,/F,/S", "C:\\A\\B.TXT", ",/F,/", false, false, false, true},
      {",/S", "", ",/S", true, false, false, false},
      // A second comma belongs to the flag text, not to the path.
      {"C:\\A\\B.TXT,x,/S", "C:\\A\\B.TXT", ",x,/S", true, false, false, false},
      // "ソ" ends in 0x5C and "ア" in 0x41: neither confuses the split or the flag search.
      {"C:\\ソフト\\ア.DLL,/C", "C:\\ソフト\\ア.DLL", ",/C", false, true, false, false},
  };
  for (const auto& c : cases) {
    const FileEntry e = SplitFileEntry(c.value);
    EXPECT_EQ(e.path, c.path) << c.value;
    EXPECT_EQ(e.flagWindow, c.window) << c.value;
    const FileFlags f = ReadFlags(e.flagWindow);
    EXPECT_EQ(f.shared, c.shared) << c.value;
    EXPECT_EQ(f.confirm, c.confirm) << c.value;
    EXPECT_EQ(f.leave, c.leave) << c.value;
    EXPECT_EQ(f.force, c.force) << c.value;
  }
}

TEST_F(UninstallRules, DecisionTableFirstMatchingRowWins) {
  auto flags = [](const std::string& window) { return ReadFlags(window); };
  struct Case {
    const char* what;
    int count;
    int lowered;
    std::string window;
    bool component, inSystem;
    bool lowers;
    FileAction action;
  };
  const std::vector<Case> cases = {
      {"count of other programs, no /S", 3, 0, "", false, false, false, FileAction::Keep},
      {"count without /S wins over /F", 1, 0, ",/F", false, false, false, FileAction::Keep},
      {"count without /S wins over the component rule", 1, 0, "", true, true, false, FileAction::Keep},
      {"shared count 2 lowered to 1", 2, 1, ",/S", false, false, true, FileAction::Keep},
      {"negative stored count", -1, -2, ",/S", false, false, true, FileAction::Keep},
      {"shared count reaches zero", 1, 0, ",/S", false, false, true, FileAction::AskShared},
      {"shared count zero outranks /C and /L", 1, 0, ",/S/L", true, true, true, FileAction::AskShared},
      {"/S without a count falls to /C", 0, 0, ",/S/C", false, false, false, FileAction::AskConfirm},
      {"/C before /L", 0, 0, ",/L/C", false, false, false, FileAction::AskConfirm},
      {"/L keeps", 0, 0, ",/L", true, true, false, FileAction::Keep},
      {"/L before /F", 0, 0, ",/F/L", false, false, false, FileAction::Keep},
      {"/F deletes a system component without asking", 0, 0, ",/F", true, true, false, FileAction::Delete},
      {"component in the Windows or System folder", 0, 0, "", true, true, false, FileAction::AskComponent},
      {"component elsewhere", 0, 0, "", true, false, false, FileAction::Delete},
      {"plain file", 0, 0, "", false, false, false, FileAction::Delete},
      {"/S without a count, plain file", 0, 0, ",/S", false, false, false, FileAction::Delete},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NeedsLowering(c.count, flags(c.window)), c.lowers) << c.what;
    EXPECT_EQ(DecideFile(c.count, c.lowered, flags(c.window), c.component, c.inSystem), c.action) << c.what;
  }
}

TEST_F(UninstallRules, AnswerSlotStickinessAndMeaning) {
  struct Case {
    std::string slot;
    bool sticky, deletes;
  };
  const std::vector<Case> cases = {
      {"Yes", false, true},   {"No", false, false},    {"Delete", true, true}, {"Save", true, false},
      {"", false, false},     {"Can't Delete", false, false}, {"delete", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnswerIsSticky(c.slot), c.sticky) << c.slot;
    EXPECT_EQ(AnswerDeletes(c.slot), c.deletes) << c.slot;
  }
}

TEST_F(UninstallRules, RegistryValueRootAndPath) {
  struct Case {
    std::string value, token, path;
    plat::RegRoot root;
  };
  const std::vector<Case> cases = {
      {"(Class)smpfile", "(Class)", "smpfile", plat::RegRoot::ClassesRoot},
      {"(Local)SOFTWARE\\Vendor\\App", "(Local)", "SOFTWARE\\Vendor\\App", plat::RegRoot::LocalMachine},
      {"(Users).DEFAULT\\Software\\App", "(Users)", ".DEFAULT\\Software\\App", plat::RegRoot::Users},
      {"(Cuser)Software\\App", "(Cuser)", "Software\\App", plat::RegRoot::CurrentUser},
      {"(Other)Software\\App", "(Other)", "Software\\App", plat::RegRoot::CurrentUser},
      // Five characters in parentheses are no token: the whole value is a key path.
      {"(Pdd)Software\\App", "(Cuser)", "(Pdd)Software\\App", plat::RegRoot::CurrentUser},
      {"Software\\App", "(Cuser)", "Software\\App", plat::RegRoot::CurrentUser},
      {"(Class)", "(Class)", "", plat::RegRoot::ClassesRoot},
  };
  for (const auto& c : cases) {
    const RegistryTarget t = SplitRegistryValue(c.value);
    EXPECT_EQ(t.token, c.token) << c.value;
    EXPECT_EQ(t.path, c.path) << c.value;
    EXPECT_EQ(RootOfToken(t.token), c.root) << c.value;
  }
}

TEST_F(UninstallRules, KeysTheRunRefusesToDelete) {
  using plat::RegRoot;
  struct Case {
    RegRoot root;
    std::string path;
    bool deletable;
  };
  const std::vector<Case> cases = {
      {RegRoot::CurrentUser, "Software\\Vendor\\App", true},
      {RegRoot::LocalMachine, "SOFTWARE\\Vendor", true},
      {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample", true},
      {RegRoot::ClassesRoot, "smpfile", true},
      {RegRoot::ClassesRoot, ".smp", true},
      {RegRoot::ClassesRoot, "smp_auto_file\\shell\\open", true},
      {RegRoot::Users, ".DEFAULT\\Software\\App", true},
      {RegRoot::LocalMachine, "", false},
      {RegRoot::LocalMachine, "\\", false},
      {RegRoot::LocalMachine, "SOFTWARE", false},
      {RegRoot::CurrentUser, "Software", false},
      {RegRoot::LocalMachine, "software\\microsoft", false},
      {RegRoot::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows", false},
      {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
      {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", false},
      {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet", false},
      {RegRoot::LocalMachine, "SOFTWARE\\Classes", false},
      {RegRoot::LocalMachine, "SOFTWARE\\Vendor\\\\App", false},
      {RegRoot::ClassesRoot, "CLSID", false},
      {RegRoot::ClassesRoot, "*", false},
      {RegRoot::ClassesRoot, "exefile", false},
      {RegRoot::ClassesRoot, ".exe", false},
      {RegRoot::ClassesRoot, ".LNK", false},
      {RegRoot::Users, ".DEFAULT", false},
      {RegRoot::Users, ".DEFAULT\\Software", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDeletableKey(c.root, c.path), c.deletable) << c.path;
}

TEST_F(UninstallRules, UninstallEntryMustLieDirectlyBelowTheSystemList) {
  struct Case {
    std::string key;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample", true},
      {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\サンプル", true},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", false},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A\\B", false},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\..", false},
      {"SOFTWARE\\Microsoft", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUninstallEntryKey(c.key), c.accepted) << c.key;
}

TEST_F(UninstallRules, RelateValueAndRestorableExtensions) {
  struct Case {
    std::string value, extension, previous;
    bool restorable;
  };
  const std::vector<Case> cases = {
      {"smp,smpfile", "smp", "smpfile", true},
      {"smp,", "smp", "", true},
      {"smp,smp_auto_file", "smp", "smp_auto_file", true},
      {"smp", "smp", "", true},
      {"smp,a,b", "smp", "a,b", true},
      {",smpfile", "", "smpfile", false},
      {"exe,", "exe", "", false},
      {"a\\b,", "a\\b", "", false},
  };
  for (const auto& c : cases) {
    const RelateEntry r = SplitRelate(c.value);
    EXPECT_EQ(r.extension, c.extension) << c.value;
    EXPECT_EQ(r.previousType, c.previous) << c.value;
    EXPECT_EQ(IsRestorableExtension(r.extension), c.restorable) << c.value;
  }
}

TEST_F(UninstallRules, OnlyAbsolutePathsCount) {
  struct Case {
    std::string path;
    bool absolute;
  };
  const std::vector<Case> cases = {
      {"C:\\Program Files\\App\\", true},
      {"d:\\A.TXT", true},
      {"\\\\server\\share\\App\\", true},
      {"C:\\表\\ソ能予\\", true},
      {"", false},
      {"App\\", false},
      {"\\App\\", false},
      {"C:App\\", false},
      {"C:\\App\\..\\WINDOWS\\", false},
      {"C:\\App/../WINDOWS\\", false},
      {"C:\\App\\.\\", false},
      {"C:\\WINDOWS\\*.*", false},
      {"C:\\WINDOWS\\?.INI", false},
      {"C:\\A.TXT:stream", false},
      {"\\\\server\\", false},
      {"\\\\\\share\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path;
}

TEST_F(UninstallRules, CaseIsIgnoredForLettersButNotForTrailBytes) {
  EXPECT_TRUE(SamePathNoCase("c:\\windows\\", "C:\\WINDOWS\\"));
  // "ア" is 83 41 and "ヂ" is 83 61: folding the trail byte would make them equal.
  EXPECT_FALSE(SamePathNoCase("C:\\ア\\", "C:\\ヂ\\"));
  EXPECT_TRUE(PathIsInside("c:\\app\\data\\", "C:\\App\\"));
  EXPECT_TRUE(PathIsInside("C:\\App", "C:\\App\\"));
  EXPECT_FALSE(PathIsInside("C:\\Apple\\", "C:\\App\\"));
  EXPECT_FALSE(PathIsInside("C:\\ヂ\\X\\", "C:\\ア\\"));
  // A folder whose last character ends in 0x5C still gets its own delimiter.
  EXPECT_FALSE(PathIsInside("C:\\表X\\", "C:\\表"));
  EXPECT_EQ(FolderOfPath("C:\\ソフト\\ソ.lnk"), "C:\\ソフト\\");
  EXPECT_EQ(FolderOfPath("C:\\表"), "C:\\");
  EXPECT_EQ(FolderOfPath("NOFOLDER"), "");
}

TEST_F(UninstallRules, SetupFolderProtection) {
  FolderTable t;
  t.WindowsFolder = "C:\\WINDOWS\\";
  t.SystemFolder = "C:\\WINDOWS\\SYSTEM32\\";
  t.TempFolder = "C:\\WINDOWS\\TEMP\\";
  t.ProgramFilesFolder = "C:\\Program Files\\";
  t.ProgramsFolder = "C:\\Documents and Settings\\表示\\Start Menu\\Programs\\";
  t.DesktopFolder = "C:\\Documents and Settings\\表示\\Desktop\\";
  const std::vector<std::string> known =
      KnownFolders(t, {"C:\\Documents and Settings\\表示\\", "C:\\Documents and Settings\\表示\\My Documents"});
  struct Case {
    std::string folder;
    bool isProtected;
  };
  const std::vector<Case> cases = {
      {"C:\\Program Files\\App\\", false},
      {"D:\\App\\", false},
      {"C:\\", true},
      {"D:\\", true},
      {"\\\\server\\share\\", true},
      {"C:\\WINDOWS\\", true},
      {"c:\\windows\\", true},
      {"C:\\WINDOWS\\SYSTEM32\\", true},
      {"C:\\WINDOWS\\TEMP\\", true},
      {"C:\\PROGRAM FILES\\", true},
      {"C:\\Documents and Settings\\表示\\Desktop\\", true},
      {"C:\\Documents and Settings\\表示\\", true},
      {"C:\\Documents and Settings\\表示\\My Documents\\", true},
      // Holding the user's folders makes a folder just as dangerous to empty.
      {"C:\\Documents and Settings\\", true},
      {"C:\\Documents and Settings\\表示\\My Documents\\App\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsProtectedSetupFolder(c.folder, known), c.isProtected) << c.folder;
  EXPECT_TRUE(IsKnownFolder("c:\\documents and settings\\表示\\desktop\\", known));
  EXPECT_FALSE(IsKnownFolder("C:\\Documents and Settings\\表示\\Start Menu\\Programs\\App\\", known));
}

TEST_F(UninstallRules, SetupFolderFailureReasons) {
  const std::string common = "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．";
  EXPECT_EQ(SetupFolderReason(145, false, "X\r\n"), "フォルダにファイルが残っているため，" + common);
  EXPECT_EQ(SetupFolderReason(5, false, "X\r\n"), "フォルダにファイルが残っているため，" + common);
  EXPECT_EQ(SetupFolderReason(145, true, "X\r\n"),
            "全ファイル・フォルダの削除を試みましたが，エラーが発生したため，" + common);
  EXPECT_EQ(SetupFolderReason(32, true, "X\r\n"), "X\r\n");
  EXPECT_EQ(FailureEntry("<SetupFolder> ", "C:\\App\\", "R"), "<SetupFolder> C:\\App\\\r\nR\r\n");
}

}  // namespace
}  // namespace setup::uninstall

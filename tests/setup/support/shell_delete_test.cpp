// Deleting through the shell and removing folders.
#include <string>

#include "component_files.h"
#include "setup/support/shell_delete.h"

namespace setup {
namespace {

using ShellDelete = testing::ComponentTest;

TEST_F(ShellDelete, NothingToDeleteGivesFileNotFoundWithoutTheShell) {
  machine().putFolder("C:\\APP\\表");
  // The shell must not be asked: a fault on it would fire.
  const int shellFault = machine().addFault({"shellDelete", "", 1, plat::err::kAccessDenied, true});
  EXPECT_EQ(DeleteWithShell("C:\\APP\\MISSING.TXT"), plat::err::kFileNotFound);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\表"), plat::err::kFileNotFound);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\表\\"), plat::err::kFileNotFound);
  EXPECT_EQ(machine().faultFired(shellFault), 0);
  EXPECT_TRUE(machine().folderExists("C:\\APP\\表"));
}

TEST_F(ShellDelete, DeletesAFileAndReportsTheShellsError) {
  machine().putFile("C:\\APP\\A.TXT", "a");
  machine().putFile("C:\\APP\\B.TXT", "b");
  EXPECT_EQ(DeleteWithShell("C:\\APP\\A.TXT"), plat::err::kSuccess);
  EXPECT_FALSE(machine().exists("C:\\APP\\A.TXT"));
  machine().addFault({"shellDelete", "B.TXT", 1, plat::err::kSharingViolation, false});
  EXPECT_EQ(DeleteWithShell("C:\\APP\\B.TXT"), plat::err::kSharingViolation);
  EXPECT_TRUE(machine().exists("C:\\APP\\B.TXT"));
}

TEST_F(ShellDelete, AllPatternEmptiesTheFolderWithSubFolders) {
  machine().putFile("C:\\APP\\A.TXT", "a");
  machine().putFile("C:\\APP\\ソフト\\B.TXT", "b");
  machine().putFile("C:\\APP\\ソフト\\DEEP\\C.TXT", "c");
  EXPECT_EQ(DeleteWithShell("C:\\APP\\*.*"), plat::err::kSuccess);
  EXPECT_TRUE(machine().folderExists("C:\\APP"));
  EXPECT_FALSE(machine().exists("C:\\APP\\A.TXT"));
  EXPECT_FALSE(machine().exists("C:\\APP\\ソフト"));
}

TEST_F(ShellDelete, ComponentsAreUnregisteredBeforeTheyGo) {
  // ".DLL" in a folder name makes every file in it a component file.
  putComponent("C:\\APP\\PLUG.DLL\\readme.txt", COMPONENT_OK);
  putComponent("C:\\APP\\OK.OCX", COMPONENT_OK);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\PLUG.DLL\\readme.txt"), plat::err::kSuccess);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\OK.OCX"), plat::err::kSuccess);
  // Each ran while its file was still loadable: no load-failure box.
  EXPECT_EQ(unregisterCalls(), 2);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_FALSE(machine().exists("C:\\APP\\OK.OCX"));
}

TEST_F(ShellDelete, UnloadableComponentIsReportedAndStillDeleted) {
  machine().putFile("C:\\APP\\BAD.DLL", "not a library");
  EXPECT_EQ(DeleteWithShell("C:\\APP\\BAD.DLL"), plat::err::kSuccess);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "C:\\APP\\BAD.DLLの読み込みに失敗しました．");
  EXPECT_EQ(boxes_[0].caption, "OCX/DLL登録エラー");
  EXPECT_FALSE(machine().exists("C:\\APP\\BAD.DLL"));
}

struct RemoveCase {
  const char* name;
  std::vector<std::string> files;  // relative to the folder
  std::string patterns;
  plat::ErrorCode expected;
  std::vector<std::string> kept;  // files still there afterwards; the folder stays with them
};

TEST_F(ShellDelete, RemoveFolderDeletesPatternsThenTheFolder) {
  const RemoveCase cases[] = {
      {"only listed kinds", {"A.INI", "B.GID", "C.INI"}, "*.INI|*.GID|", plat::err::kSuccess, {}},
      {"last item without bar", {"A.INI", "B.GID"}, "*.INI|*.GID", plat::err::kSuccess, {}},
      {"another file remains", {"A.INI", "KEEP.TXT"}, "*.INI|*.GID|", plat::err::kDirNotEmpty, {"KEEP.TXT"}},
      {"matches in sub-folders go, the sub-folder stays", {"A.INI", "SUB\\C.INI"}, "*.INI|",
       plat::err::kDirNotEmpty, {"SUB\\"}},
      {"empty list, empty folder", {}, "", plat::err::kSuccess, {}},
      {"empty list, a file", {"A.INI"}, "", plat::err::kDirNotEmpty, {"A.INI"}},
      {"empty items name the folder", {"A.INI"}, "||", plat::err::kDirNotEmpty, {"A.INI"}},
      {"everything", {"A.INI", "表\\ソ.TXT"}, "*.*|", plat::err::kSuccess, {}},
  };
  const std::string folder = "C:\\APP\\表示";
  for (const RemoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    machine().putFolder(folder);
    for (const std::string& f : c.files) machine().putFile(folder + "\\" + f, "x");
    EXPECT_EQ(RemoveFolder(folder + "\\", c.patterns), c.expected);
    EXPECT_EQ(machine().folderExists(folder), !c.kept.empty());
    std::vector<plat::DirEntry> left;
    sys().files.findFiles(folder + "\\*", left);
    std::vector<std::string> names;
    for (const auto& e : left)
      if (e.name != "." && e.name != "..") names.push_back(e.name + ((e.attributes & plat::attr::kDirectory) ? "\\" : ""));
    std::vector<std::string> expectedNames = c.kept;
    EXPECT_EQ(names, expectedNames);
    EXPECT_FALSE(machine().exists(folder + "\\SUB\\C.INI"));
    if (!c.kept.empty()) EXPECT_EQ(RemoveFolder(folder, "*.*|"), plat::err::kSuccess);
  }
}

TEST_F(ShellDelete, RemoveFolderOnAMissingFolderFails) {
  EXPECT_NE(RemoveFolder("C:\\APP\\NONE", ""), plat::err::kSuccess);
  EXPECT_NE(RemoveFolder("C:\\NOWHERE\\NONE\\", "*.INI|"), plat::err::kSuccess);
  // Without a final delimiter the folder is still the folder, not a prefix of names.
  machine().putFolder("C:\\APP\\X");
  machine().putFile("C:\\APP\\X.INI", "keep");
  EXPECT_EQ(RemoveFolder("C:\\APP\\X", "*.INI|"), plat::err::kSuccess);
  EXPECT_TRUE(machine().exists("C:\\APP\\X.INI"));
}

}  // namespace
}  // namespace setup

// Deleting through the shell and removing folders.
#include <string>
#include <vector>

#include "platform_fixture.h"
#include "setup/support/shell_delete.h"

namespace setup {
namespace {

using ShellDelete = testing::ComponentTest;
using Names = std::vector<std::string>;

TEST_F(ShellDelete, NothingToDeleteGivesFileNotFound) {
  putFolder(S("APP\\表"));
  put(S("APP\\表\\KEEP.TXT"), "k");
  EXPECT_EQ(DeleteWithShell(S("APP\\MISSING.TXT")), plat::err::kFileNotFound);
  // A folder without a pattern is no file: it stays with its contents.
  EXPECT_EQ(DeleteWithShell(S("APP\\表")), plat::err::kFileNotFound);
  EXPECT_EQ(DeleteWithShell(S("APP\\表\\")), plat::err::kFileNotFound);
  EXPECT_EQ(names(S("APP\\表")), Names{"KEEP.TXT"});
}

TEST_F(ShellDelete, DeletesAFile) {
  put(S("APP\\A.TXT"), "a");
  put(S("APP\\B.TXT"), "b");
  EXPECT_EQ(DeleteWithShell(S("APP\\A.TXT")), plat::err::kSuccess);
  EXPECT_EQ(names(S("APP")), Names{"B.TXT"});
}

TEST_F(ShellDelete, AllPatternEmptiesTheFolderWithSubFolders) {
  put(S("APP\\A.TXT"), "a");
  put(S("APP\\ソフト\\B.TXT"), "b");
  put(S("APP\\ソフト\\DEEP\\C.TXT"), "c");
  EXPECT_EQ(DeleteWithShell(S("APP\\*.*")), plat::err::kSuccess);
  EXPECT_TRUE(isFolder(S("APP")));
  EXPECT_EQ(names(S("APP")), Names{});
}

TEST_F(ShellDelete, ComponentsAreUnregisteredBeforeTheyGo) {
  // ".DLL" in a folder name makes every file in it a component file.
  putComponent(S("APP\\PLUG.DLL\\readme.txt"), COMPONENT_OK);
  putComponent(S("APP\\OK.OCX"), COMPONENT_OK);
  EXPECT_EQ(DeleteWithShell(S("APP\\PLUG.DLL\\readme.txt")), plat::err::kSuccess);
  EXPECT_EQ(DeleteWithShell(S("APP\\OK.OCX")), plat::err::kSuccess);
  // Each ran while its file was still loadable: no load-failure box.
  EXPECT_EQ(unregisterCalls(), 2);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(names(S("APP")), Names{"PLUG.DLL\\"});
  EXPECT_EQ(names(S("APP\\PLUG.DLL")), Names{});
}

TEST_F(ShellDelete, UnloadableComponentIsReportedAndStillDeleted) {
  put(S("APP\\BAD.DLL"), "not a library");
  EXPECT_EQ(DeleteWithShell(S("APP\\BAD.DLL")), plat::err::kSuccess);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, S("APP\\BAD.DLL") + "の読み込みに失敗しました．");
  EXPECT_EQ(boxes_[0].caption, "OCX/DLL登録エラー");
  EXPECT_FALSE(exists(S("APP\\BAD.DLL")));
}

struct RemoveCase {
  const char* name;
  Names files;  // relative to the folder
  std::string patterns;
  plat::ErrorCode expected;
  Names kept;  // what the folder still holds afterwards; the folder stays with it
};

TEST_F(ShellDelete, RemoveFolderDeletesPatternsThenTheFolder) {
  const RemoveCase cases[] = {
      {"only listed kinds", {"A.INI", "B.GID", "C.INI"}, "*.INI|*.GID|", plat::err::kSuccess, {}},
      {"last item without bar", {"A.INI", "B.GID"}, "*.INI|*.GID", plat::err::kSuccess, {}},
      {"another file remains", {"A.INI", "KEEP.TXT"}, "*.INI|*.GID|", plat::err::kDirNotEmpty, {"KEEP.TXT"}},
      {"a sub-folder stays", {"A.INI", "SUB\\C.INI"}, "*.INI|", plat::err::kDirNotEmpty, {"SUB\\"}},
      {"empty list, empty folder", {}, "", plat::err::kSuccess, {}},
      {"empty list, a file", {"A.INI"}, "", plat::err::kDirNotEmpty, {"A.INI"}},
      {"empty items name the folder", {"A.INI"}, "||", plat::err::kDirNotEmpty, {"A.INI"}},
      {"everything", {"A.INI", "表\\ソ.TXT"}, "*.*|", plat::err::kSuccess, {}},
  };
  const std::string folder = S("APP\\表示");
  for (const RemoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    putFolder(folder);
    for (const std::string& f : c.files) put(folder + "\\" + f, "x");
    EXPECT_EQ(RemoveFolder(folder + "\\", c.patterns), c.expected);
    EXPECT_EQ(isFolder(folder), !c.kept.empty());
    if (!c.kept.empty()) {
      EXPECT_EQ(names(folder), c.kept);
      EXPECT_EQ(RemoveFolder(folder, "*.*|"), plat::err::kSuccess);
    }
  }
}

TEST_F(ShellDelete, RemoveFolderOnAMissingFolderFails) {
  EXPECT_NE(RemoveFolder(S("NONE"), ""), plat::err::kSuccess);
  EXPECT_NE(RemoveFolder(S("NOWHERE\\NONE\\"), "*.INI|"), plat::err::kSuccess);
  // Without a final delimiter the folder is still the folder, not a prefix of names.
  putFolder(S("X"));
  put(S("X.INI"), "keep");
  EXPECT_EQ(RemoveFolder(S("X"), "*.INI|"), plat::err::kSuccess);
  EXPECT_TRUE(exists(S("X.INI")));
}

}  // namespace
}  // namespace setup

// The folder test, whole-path creation, the replacing copy and the shell's special folders.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "setup/support/file_primitives.h"
#include "setup/support/path_tokens.h"
#include "support_fixture.h"

namespace setup {
namespace {

using FilePrimitives = testing::SupportTest;

TEST_F(FilePrimitives, SpecialFoldersComeFromTheShell) {
  machine().layout().specialFolders[plat::csidl::kDesktopDirectory] = "C:\\Users\\表\\Desktop";
  machine().layout().specialFolders.erase(plat::csidl::kCommonStartup);
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kDesktopDirectory), "C:\\Users\\表\\Desktop");
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kCommonStartup), "");
}

TEST_F(FilePrimitives, FolderExistsForFoldersOnly) {
  machine().putFile("C:\\WORK\\表\\A.TXT", "a");
  machine().putFolder("C:\\WORK\\EMPTY");
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {"C:\\WORK\\表", true},    {"C:\\WORK\\表\\", true},      {"C:\\WORK\\EMPTY", true},
      {"C:\\WORK\\EMPTY\\", true}, {"C:\\WORK\\表\\A.TXT", false}, {"C:\\WORK\\NONE", false},
      {"C:\\WORK\\NONE\\", false}, {"C:\\", true},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderExists(c.path), c.exists) << c.path;
}

TEST_F(FilePrimitives, CreateFolderPathMakesEveryLevel) {
  machine().putFolder("C:\\WORK");
  const auto before = machine().snapshot();
  EXPECT_TRUE(CreateFolderPath("C:\\WORK"));
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\"));
  EXPECT_EQ(describeDifferences(before, machine().snapshot()), "");

  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\A\\B\\C"));
  EXPECT_TRUE(machine().folderExists("C:\\WORK\\A\\B\\C"));

  // "ソ" ends in 0x5C: one folder of that full name, not a folder named by its lead byte.
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\ソフト\\表示\\"));
  EXPECT_TRUE(machine().folderExists("C:\\WORK\\ソフト\\表示"));
  std::vector<plat::DirEntry> entries;
  ASSERT_EQ(sys().files.findFiles("C:\\WORK\\*", entries), plat::err::kSuccess);
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_THAT(names, ::testing::UnorderedElementsAre(".", "..", "A", "ソフト"));
}

TEST_F(FilePrimitives, CreateFolderPathReportsFailure) {
  EXPECT_FALSE(CreateFolderPath("Q:\\NO\\DRIVE"));
  // A file in the way of a level.
  machine().putFile("C:\\WORK\\FILE", "x");
  EXPECT_FALSE(CreateFolderPath("C:\\WORK\\FILE\\SUB"));
  // A refused creation of the last level.
  machine().putFolder("C:\\WORK");
  machine().addFault({"createDirectory", "DENIED", 1, plat::err::kAccessDenied, false});
  EXPECT_FALSE(CreateFolderPath("C:\\WORK\\DENIED"));
  EXPECT_FALSE(machine().folderExists("C:\\WORK\\DENIED"));
}

TEST_F(FilePrimitives, CreateFolderPathAcceptsLevelsTheFolderTestCannotSee) {
  // An empty drive root shows the folder test no entry, yet it is there and needs no creation.
  machine().putMedium("E:\\", {});
  ASSERT_FALSE(FolderExists("E:\\"));
  EXPECT_TRUE(CreateFolderPath("E:\\"));
  EXPECT_TRUE(CreateFolderPath("E:"));
  EXPECT_TRUE(CreateFolderPath("E:\\NEW\\"));
  EXPECT_TRUE(machine().folderExists("E:\\NEW"));
}

TEST_F(FilePrimitives, CopyFileReplaceResetsAttributes) {
  machine().putFile("C:\\SRC\\A.DAT", "new contents");
  machine().putFile("C:\\DST\\A.DAT", "old");
  ASSERT_EQ(sys().files.setAttributes("C:\\DST\\A.DAT", plat::attr::kReadOnly | plat::attr::kHidden),
            plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\A.DAT"), plat::err::kSuccess);
  EXPECT_EQ(machine().readFile("C:\\DST\\A.DAT"), "new contents");
  std::uint32_t attributes = 0;
  ASSERT_EQ(sys().files.getAttributes("C:\\DST\\A.DAT", attributes), plat::err::kSuccess);
  EXPECT_EQ(attributes, plat::attr::kArchive);

  // A read-only source does not make a read-only copy.
  ASSERT_EQ(sys().files.setAttributes("C:\\SRC\\A.DAT", plat::attr::kReadOnly), plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\B.DAT"), plat::err::kSuccess);
  ASSERT_EQ(sys().files.getAttributes("C:\\DST\\B.DAT", attributes), plat::err::kSuccess);
  EXPECT_EQ(attributes, plat::attr::kArchive);
}

TEST_F(FilePrimitives, CopyFileReplaceReturnsTheCopyError) {
  machine().putFolder("C:\\DST");
  machine().putFolder("C:\\SRC");
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\MISSING.DAT", "C:\\DST\\A.DAT"), plat::err::kFileNotFound);
  EXPECT_FALSE(machine().exists("C:\\DST\\A.DAT"));
  machine().putFile("C:\\SRC\\A.DAT", "x");
  machine().addFault({"copyFile", "", 1, plat::err::kDiskFull, false});
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\A.DAT"), plat::err::kDiskFull);
}

}  // namespace
}  // namespace setup

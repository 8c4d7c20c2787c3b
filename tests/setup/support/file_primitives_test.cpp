// The folder test, whole-path creation and the replacing copy.
#include <string>
#include <vector>

#include "platform_fixture.h"
#include "setup/support/file_primitives.h"

namespace setup {
namespace {

using FilePrimitives = testing::PlatformTest;
using Names = std::vector<std::string>;

TEST_F(FilePrimitives, FolderExistsForFoldersOnly) {
  put(S("表\\A.TXT"), "a");
  putFolder(S("EMPTY"));
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {S("表"), true},         {S("表\\"), true},     {S("EMPTY"), true},  {S("EMPTY\\"), true},
      {S("表\\A.TXT"), false}, {S("NONE"), false},   {S("NONE\\"), false}, {S("NONE\\SUB"), false},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderExists(c.path), c.exists) << c.path;
}

TEST_F(FilePrimitives, CreateFolderPathMakesEveryLevelOnce) {
  putFolder(S("WORK"));
  EXPECT_TRUE(CreateFolderPath(S("WORK")));
  EXPECT_TRUE(CreateFolderPath(S("WORK\\")));
  EXPECT_EQ(names(S("WORK")), Names{});

  EXPECT_TRUE(CreateFolderPath(S("WORK\\A\\B\\C")));
  EXPECT_TRUE(isFolder(S("WORK\\A\\B\\C")));

  // "ソ" and "表" end in 0x5C: one folder of the full name, not one named by a lead byte.
  EXPECT_TRUE(CreateFolderPath(S("WORK\\ソフト\\表示\\")));
  EXPECT_TRUE(isFolder(S("WORK\\ソフト\\表示")));
  EXPECT_EQ(names(S("WORK")), (Names{"A\\", "ソフト\\"}));
  EXPECT_EQ(names(S("WORK\\ソフト")), Names{"表示\\"});
}

TEST_F(FilePrimitives, CreateFolderPathFailsWhenAFileIsInTheWay) {
  put(S("WORK\\FILE"), "x");
  EXPECT_FALSE(CreateFolderPath(S("WORK\\FILE")));
  EXPECT_FALSE(CreateFolderPath(S("WORK\\FILE\\SUB")));
  EXPECT_FALSE(isFolder(S("WORK\\FILE\\SUB")));
}

TEST_F(FilePrimitives, CopyFileReplaceResetsAttributes) {
  put(S("SRC\\A.DAT"), "new contents");
  put(S("DST\\A.DAT"), "old");
  ASSERT_EQ(sys().files.setAttributes(S("DST\\A.DAT"), plat::attr::kReadOnly | plat::attr::kHidden),
            plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace(S("SRC\\A.DAT"), S("DST\\A.DAT")), plat::err::kSuccess);
  EXPECT_EQ(read(S("DST\\A.DAT")), "new contents");
  EXPECT_EQ(attributes(S("DST\\A.DAT")), plat::attr::kArchive);

  // A read-only source does not make a read-only copy.
  ASSERT_EQ(sys().files.setAttributes(S("SRC\\A.DAT"), plat::attr::kReadOnly), plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace(S("SRC\\A.DAT"), S("DST\\B.DAT")), plat::err::kSuccess);
  EXPECT_EQ(attributes(S("DST\\B.DAT")), plat::attr::kArchive);
  EXPECT_EQ(read(S("DST\\B.DAT")), "new contents");
  sys().files.setAttributes(S("SRC\\A.DAT"), plat::attr::kArchive);
}

TEST_F(FilePrimitives, CopyFileReplaceReturnsTheCopyError) {
  putFolder(S("SRC"));
  putFolder(S("DST"));
  EXPECT_EQ(CopyFileReplace(S("SRC\\MISSING.DAT"), S("DST\\A.DAT")), plat::err::kFileNotFound);
  EXPECT_FALSE(exists(S("DST\\A.DAT")));
  put(S("SRC\\A.DAT"), "x");
  EXPECT_EQ(CopyFileReplace(S("SRC\\A.DAT"), S("NO\\SUCH\\A.DAT")), plat::err::kPathNotFound);
}

}  // namespace
}  // namespace setup

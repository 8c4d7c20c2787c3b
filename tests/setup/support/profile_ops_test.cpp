// Profile reads of any length and writes that are on disk when they return.
#include <string>

#include "setup/support/uIniFile.h"
#include "support_fixture.h"

namespace setup {
namespace {

using ProfileOps = testing::SupportTest;

const std::string kFile = "C:\\WORK\\表\\SETUP.INI";

TEST_F(ProfileOps, ValuesAreReadWholeWhateverTheirLength) {
  const std::string v255(255, 'x');
  const std::string v256 = std::string(254, 'y') + "ソ";
  const std::string v300 = std::string(299, 'z') + "\\";
  const std::string v1000(1000, 'w');
  machine().putFile(kFile, "[Files]\r\nA=" + v255 + "\r\nB=" + v256 + "\r\nC=" + v300 + "\r\nD=" + v1000 +
                               "\r\nE=\r\n");
  const struct {
    std::string key;
    std::string defaultValue;
    std::string expected;
  } cases[] = {
      {"A", "", v255}, {"B", "", v256}, {"C", "", v300}, {"D", "", v1000}, {"a", "", v255},
      {"E", "400", ""}, {"Missing", "400", "400"}, {"Missing", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ReadProfileValue("Files", c.key, c.defaultValue, kFile), c.expected);
  }
  EXPECT_EQ(ReadProfileValue("Nothing", "A", "d", kFile), "d");
  EXPECT_EQ(ReadProfileValue("Files", "A", "d", "C:\\WORK\\NONE.INI"), "d");
  // An empty name is a name, not a request for a list.
  EXPECT_EQ(ReadProfileValue("", "", "d", kFile), "d");
  EXPECT_EQ(ReadProfileValue("Files", "", "d", kFile), "d");
}

TEST_F(ProfileOps, EachWriteIsOnDiskWhenItReturns) {
  machine().putFolder("C:\\WORK\\表");
  EXPECT_TRUE(WriteProfileValue("Sec", "First", "1", kFile));
  EXPECT_NE(machine().readFile(kFile).find("First=1"), std::string::npos);
  EXPECT_TRUE(WriteProfileValue("Sec", "Second", "表示", kFile));
  const std::string onDisk = machine().readFile(kFile);
  EXPECT_NE(onDisk.find("First=1"), std::string::npos);
  EXPECT_NE(onDisk.find("Second=表示"), std::string::npos);
  EXPECT_EQ(ReadProfileValue("SEC", "second", "", kFile), "表示");
}

TEST_F(ProfileOps, AFileReplacedBehindTheEngineIsReadAfresh) {
  machine().putFolder("C:\\WORK\\表");
  ASSERT_TRUE(WriteProfileValue("Sec", "Key", "old", kFile));
  ASSERT_EQ(ReadProfileValue("Sec", "Key", "", kFile), "old");
  plat::FileStamp before;
  ASSERT_EQ(sys().files.stamp(kFile, before), plat::err::kSuccess);
  // Same size and same time: only a fresh read sees the new text.
  std::string text = machine().readFile(kFile);
  ASSERT_NE(text.find("=old"), std::string::npos);
  text.replace(text.find("=old"), 4, "=new");
  machine().putFile("C:\\WORK\\OTHER.INI", text);
  ASSERT_EQ(sys().files.copyFile("C:\\WORK\\OTHER.INI", kFile, false), plat::err::kSuccess);
  ASSERT_EQ(sys().files.setLastWriteTime(kFile, before.lastWrite), plat::err::kSuccess);
  ASSERT_TRUE(WriteProfileValue("Sec", "More", "x", kFile));
  EXPECT_EQ(ReadProfileValue("Sec", "Key", "", kFile), "new");
}

TEST_F(ProfileOps, RefusedWriteReturnsFalse) {
  machine().putFolder("C:\\WORK\\表");
  machine().addFault({"writeFile", "SETUP.INI", 1, plat::err::kDiskFull, true});
  EXPECT_FALSE(WriteProfileValue("Sec", "Key", "v", kFile));
  EXPECT_FALSE(machine().exists(kFile));
}

}  // namespace
}  // namespace setup

// Profile reads of any length and writes that are on disk when they return.
#include <string>

#include "platform_fixture.h"
#include "setup/support/uIniFile.h"

namespace setup {
namespace {

using ProfileOps = testing::PlatformTest;

TEST_F(ProfileOps, ValuesAreReadWholeWhateverTheirLength) {
  const std::string file = S("表\\SETUP.INI");
  const std::string v255(255, 'x');
  const std::string v256 = std::string(254, 'y') + "ソ";
  const std::string v300 = std::string(299, 'z') + "\\";
  const std::string v1000(1000, 'w');
  put(file, "[Files]\r\nA=" + v255 + "\r\nB=" + v256 + "\r\nC=" + v300 + "\r\nD=" + v1000 + "\r\nE=\r\n");
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
    EXPECT_EQ(ReadProfileValue("Files", c.key, c.defaultValue, file), c.expected);
  }
  EXPECT_EQ(ReadProfileValue("Nothing", "A", "d", file), "d");
  EXPECT_EQ(ReadProfileValue("Files", "A", "d", S("NONE.INI")), "d");
  // An empty name is a name, not a request for a list.
  EXPECT_EQ(ReadProfileValue("", "", "d", file), "d");
  EXPECT_EQ(ReadProfileValue("Files", "", "d", file), "d");
}

TEST_F(ProfileOps, EachWriteIsOnDiskWhenItReturns) {
  const std::string file = S("表\\SETUP.INI");
  putFolder(S("表"));
  EXPECT_TRUE(WriteProfileValue("Sec", "First", "1", file));
  EXPECT_NE(read(file).find("First=1"), std::string::npos);
  EXPECT_TRUE(WriteProfileValue("Sec", "Second", "表示", file));
  const std::string onDisk = read(file);
  EXPECT_NE(onDisk.find("First=1"), std::string::npos);
  EXPECT_NE(onDisk.find("Second=表示"), std::string::npos);
  EXPECT_EQ(ReadProfileValue("SEC", "second", "", file), "表示");
}

TEST_F(ProfileOps, AFileReplacedBehindTheEngineIsReadAfresh) {
  const std::string file = S("表\\SETUP.INI");
  putFolder(S("表"));
  ASSERT_TRUE(WriteProfileValue("Sec", "Key", "old", file));
  ASSERT_EQ(ReadProfileValue("Sec", "Key", "", file), "old");
  plat::FileStamp before;
  ASSERT_EQ(sys().files.stamp(file, before), plat::err::kSuccess);
  // Same size and same time: only a fresh read sees the new text.
  std::string text = read(file);
  ASSERT_NE(text.find("=old"), std::string::npos);
  text.replace(text.find("=old"), 4, "=new");
  put(S("OTHER.INI"), text);
  ASSERT_EQ(sys().files.copyFile(S("OTHER.INI"), file, false), plat::err::kSuccess);
  ASSERT_EQ(sys().files.setLastWriteTime(file, before.lastWrite), plat::err::kSuccess);
  ASSERT_TRUE(WriteProfileValue("Sec", "More", "x", file));
  EXPECT_EQ(ReadProfileValue("Sec", "Key", "", file), "new");
  EXPECT_EQ(ReadProfileValue("Sec", "More", "", file), "x");
}

}  // namespace
}  // namespace setup

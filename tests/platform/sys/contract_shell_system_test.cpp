// Shell and system-information contract: links, starting files, mutexes, mappings, messages.
#include <gtest/gtest.h>

#include "tests/platform/sys/test_machine.h"

namespace plat::testing {
namespace {

class ShellSystemContract : public ::testing::Test {
 protected:
  void SetUp() override {
    machine = makeTestMachine();
    dir = machine->scratchFolder();
  }
  Services sv() { return machine->services(); }
  std::unique_ptr<TestMachine> machine;
  std::string dir;
};

TEST_F(ShellSystemContract, ShellLinkRoundTrip) {
  ASSERT_EQ(sv().files.createDirectory(dir + "\\表示ソフト"), 0u);
  const std::string target = dir + "\\表示ソフト\\PaginaV1.exe";
  ASSERT_EQ(sv().files.writeFile(target, "MZ"), 0u);
  ShellLinkData link;
  link.target = target;
  link.arguments = "\"" + dir + "\\予定.pgd\" /S";
  link.workingDirectory = dir + "\\表示ソフト";
  link.description = "画像ブック ビューア";
  link.iconPath = target;
  link.iconIndex = 1;
  link.showCommand = 3;
  const std::string linkPath = dir + "\\ビューア.lnk";
  ASSERT_EQ(sv().shell.createShellLink(linkPath, link), 0u);
  ShellLinkData read;
  ASSERT_EQ(sv().shell.readShellLink(linkPath, read), 0u);
  EXPECT_EQ(read.target, link.target);
  EXPECT_EQ(read.arguments, link.arguments);
  EXPECT_EQ(read.workingDirectory, link.workingDirectory);
  EXPECT_EQ(read.description, link.description);
  EXPECT_EQ(read.iconPath, link.iconPath);
  EXPECT_EQ(read.iconIndex, 1);
  EXPECT_EQ(read.showCommand, 3);
}

TEST_F(ShellSystemContract, ShellLinkIntoAMissingFolderFails) {
  ShellLinkData link;
  link.target = dir + "\\A.EXE";
  EXPECT_NE(sv().shell.createShellLink(dir + "\\NONE\\A.lnk", link), 0u);
  ShellLinkData read;
  EXPECT_NE(sv().shell.readShellLink(dir + "\\NONE.lnk", read), 0u);
}

TEST_F(ShellSystemContract, ExecuteOfAMissingFileFails) {
  EXPECT_EQ(sv().shell.execute("open", dir + "\\NONE.EXE", "", dir), err::kFileNotFound);
}

TEST_F(ShellSystemContract, NamedMutexGuardsOneInstance) {
  const std::string name = "PAGINA-CONTRACT-MUTEX";
  ASSERT_TRUE(sv().system.acquireNamedMutex(name));
  EXPECT_FALSE(sv().system.acquireNamedMutex(name));
  sv().system.releaseNamedMutex();
  EXPECT_TRUE(sv().system.acquireNamedMutex(name));
  sv().system.releaseNamedMutex();
}

TEST_F(ShellSystemContract, MapStringUppercaseAndFullwidth) {
  struct Case {
    std::string text;
    std::uint32_t flags;
    std::string expected;
  };
  const Case cases[] = {
      {"abc\\xyz", 0x200, "ABC\\XYZ"},
      {"ａｂｃＸ", 0x200, "ＡＢＣＸ"},
      {"ソa表b", 0x200, "ソA表B"},  // the 0x5C trail bytes stay
      {"ヂ", 0x200, "ヂ"},         // 83 61: its trail byte is no letter
      {"Ab1 ", 0x800000, "Ａｂ１　"},
      {"ｱｲｳ", 0x800000, "アイウ"},
      {"ﾊﾟｶﾞ", 0x800000, "パガ"},
      {"表a", 0x800000, "表ａ"},
      {"ab", 0x800200, "ＡＢ"},
  };
  for (const Case& c : cases) {
    std::string out;
    ASSERT_TRUE(sv().system.mapString(c.text, c.flags, out)) << c.text;
    EXPECT_EQ(out, c.expected) << c.text;
  }
}

TEST_F(ShellSystemContract, SystemQueries) {
  auto ranges = sv().system.leadByteRanges();
  EXPECT_EQ(ranges, (std::vector<std::pair<std::uint8_t, std::uint8_t>>{{0x81, 0x9F}, {0xE0, 0xFC}}));
  EXPECT_EQ(sv().system.platformId(), 2);
  std::uint32_t attributes = 0;
  ASSERT_FALSE(sv().system.windowsDirectory().empty());
  EXPECT_EQ(sv().files.getAttributes(sv().system.windowsDirectory(), attributes), 0u);
  EXPECT_TRUE(attributes & attr::kDirectory);
  EXPECT_EQ(sv().files.getAttributes(sv().system.systemDirectory(), attributes), 0u);
  std::string notFound = sv().system.errorMessage(2), denied = sv().system.errorMessage(5);
  EXPECT_FALSE(notFound.empty());
  EXPECT_NE(notFound, denied);
}

}  // namespace
}  // namespace plat::testing

// The runs' registry accessor: key paths, open and create, typed reads, deletion.
#include <string>

#include "platform_fixture.h"
#include "setup/support/registry_access.h"

namespace setup {
namespace {

using RegistryAccessTest = testing::PlatformTest;

TEST_F(RegistryAccessTest, PathsAreAbsoluteWithBackslashElseRelative) {
  RegistryAccess reg(scratchRoot());
  EXPECT_EQ(reg.Resolve("\\SOFTWARE\\Maker\\"), "SOFTWARE\\Maker");
  EXPECT_EQ(reg.Resolve("SOFTWARE\\表"), "SOFTWARE\\表");
  // A key name ending in a trail 0x5C keeps its last byte.
  EXPECT_EQ(reg.Resolve("\\SOFTWARE\\ソ"), "SOFTWARE\\ソ");
  ASSERT_TRUE(reg.OpenKey("\\" + K("Maker"), true));
  EXPECT_EQ(reg.CurrentPath(), K("Maker"));
  EXPECT_EQ(reg.Resolve("Sub"), K("Maker\\Sub"));
  EXPECT_EQ(reg.Resolve("\\Other"), "Other");
  ASSERT_TRUE(reg.OpenKey("Sub\\", true));
  EXPECT_EQ(reg.CurrentPath(), K("Maker\\Sub"));
  EXPECT_TRUE(sys().registry.keyExists(scratchRoot(), K("Maker\\Sub")));
}

TEST_F(RegistryAccessTest, OpenWithoutCreateNeedsTheKey) {
  RegistryAccess reg(scratchRoot());
  EXPECT_FALSE(reg.OpenKey("\\" + K("Nobody"), false));
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(sys().registry.keyExists(scratchRoot(), K("Nobody")));
  // A write after a failed open is refused and changes nothing.
  EXPECT_NE(reg.WriteString("Name", "v"), plat::err::kSuccess);
  EXPECT_NE(reg.WriteInteger("Name", 1), plat::err::kSuccess);
  EXPECT_NE(reg.DeleteValue("Name"), plat::err::kSuccess);
  EXPECT_FALSE(reg.ValueExists("Name"));
  std::string text;
  EXPECT_NE(reg.ReadString("Name", text), plat::err::kSuccess);
}

TEST_F(RegistryAccessTest, ValuesKeepTheirTypes) {
  RegistryAccess reg(scratchRoot());
  ASSERT_TRUE(reg.OpenKey("\\" + K(".pgd"), true));
  EXPECT_EQ(reg.WriteString("", "pgd_auto_file"), plat::err::kSuccess);
  EXPECT_EQ(reg.WriteExpandString("Path", "%SystemRoot%\\表"), plat::err::kSuccess);
  EXPECT_EQ(reg.WriteInteger("Count", -2), plat::err::kSuccess);

  EXPECT_TRUE(regValue(scratchRoot(), K(".pgd"), "") == plat::RegValue::string("pgd_auto_file"));
  EXPECT_TRUE(regValue(scratchRoot(), K(".pgd"), "Path") ==
              plat::RegValue::string("%SystemRoot%\\表", plat::regtype::kExpandString));
  EXPECT_TRUE(regValue(scratchRoot(), K(".pgd"), "Count") == plat::RegValue::dword(0xFFFFFFFEu));

  std::string text;
  std::int32_t number = 0;
  EXPECT_EQ(reg.ReadString("", text), plat::err::kSuccess);
  EXPECT_EQ(text, "pgd_auto_file");
  EXPECT_EQ(reg.ReadString("Path", text), plat::err::kSuccess);
  EXPECT_EQ(text, "%SystemRoot%\\表");
  EXPECT_EQ(reg.ReadInteger("Count", number), plat::err::kSuccess);
  EXPECT_EQ(number, -2);
  // Wrong types and missing values are errors, not empty results.
  EXPECT_EQ(reg.ReadInteger("", number), kRegInvalidData);
  EXPECT_EQ(reg.ReadString("Count", text), kRegInvalidData);
  EXPECT_EQ(reg.ReadString("Missing", text), plat::err::kFileNotFound);
  EXPECT_TRUE(reg.ValueExists("Count"));
  EXPECT_FALSE(reg.ValueExists("Missing"));

  EXPECT_EQ(reg.DeleteValue("Count"), plat::err::kSuccess);
  EXPECT_FALSE(reg.ValueExists("Count"));
  EXPECT_NE(reg.DeleteValue("Count"), plat::err::kSuccess);
}

TEST_F(RegistryAccessTest, DeleteKeyTakesSubKeysAndClosesTheOpenKey) {
  RegistryAccess reg(scratchRoot());
  ASSERT_TRUE(reg.OpenKey("\\" + K("Maker\\App\\Deep"), true));
  ASSERT_EQ(reg.WriteString("V", "x"), plat::err::kSuccess);
  EXPECT_TRUE(reg.KeyExists("\\" + K("Maker\\App")));
  EXPECT_EQ(reg.DeleteKey("\\" + K("Maker\\App")), plat::err::kSuccess);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(reg.KeyExists("\\" + K("Maker\\App")));
  EXPECT_TRUE(reg.KeyExists("\\" + K("Maker")));
  // The root itself is never deleted.
  EXPECT_NE(reg.DeleteKey("\\"), plat::err::kSuccess);
  EXPECT_TRUE(reg.KeyExists("\\" + K("Maker")));
}

TEST_F(RegistryAccessTest, CreateKeyMakesEveryLevelWithoutOpening) {
  RegistryAccess reg(scratchRoot());
  ASSERT_EQ(reg.CreateKey("\\" + K("A\\B\\C\\")), plat::err::kSuccess);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_TRUE(sys().registry.keyExists(scratchRoot(), K("A\\B\\C")));
  ASSERT_TRUE(reg.OpenKey("\\" + K("A"), false));
  // Relative to the open key.
  ASSERT_EQ(reg.CreateKey("D"), plat::err::kSuccess);
  EXPECT_TRUE(sys().registry.keyExists(scratchRoot(), K("A\\D")));
  EXPECT_TRUE(reg.KeyExists("B\\C"));
  reg.SetRoot(plat::RegRoot::Users);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_EQ(reg.Root(), plat::RegRoot::Users);
}

}  // namespace
}  // namespace setup

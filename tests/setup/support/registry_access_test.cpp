// The runs' registry accessor: key paths, open and create, typed reads and refused writes.
#include <string>

#include "setup/support/registry_access.h"
#include "support_fixture.h"

namespace setup {
namespace {

using plat::RegRoot;
using RegistryAccessTest = testing::SupportTest;

TEST_F(RegistryAccessTest, PathsAreAbsoluteWithBackslashElseRelative) {
  RegistryAccess reg(RegRoot::CurrentUser);
  EXPECT_EQ(reg.Resolve("\\SOFTWARE\\Maker\\"), "SOFTWARE\\Maker");
  EXPECT_EQ(reg.Resolve("SOFTWARE\\表"), "SOFTWARE\\表");
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker", true));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Maker");
  EXPECT_EQ(reg.Resolve("Sub"), "SOFTWARE\\Maker\\Sub");
  EXPECT_EQ(reg.Resolve("\\Other"), "Other");
  // A key name ending in a trail 0x5C keeps its last byte.
  EXPECT_EQ(reg.Resolve("\\SOFTWARE\\ソ"), "SOFTWARE\\ソ");
  ASSERT_TRUE(reg.OpenKey("Sub", true));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Maker\\Sub");
  EXPECT_TRUE(sys().registry.keyExists(RegRoot::CurrentUser, "SOFTWARE\\Maker\\Sub"));
  EXPECT_FALSE(sys().registry.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Maker"));
}

TEST_F(RegistryAccessTest, OpenWithoutCreateNeedsTheKey) {
  RegistryAccess reg(RegRoot::LocalMachine);
  EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Nobody", false));
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(sys().registry.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Nobody"));
  // A write after a failed open is refused and changes nothing.
  EXPECT_NE(reg.WriteString("Name", "v"), plat::err::kSuccess);
  EXPECT_NE(reg.WriteInteger("Name", 1), plat::err::kSuccess);
  EXPECT_FALSE(reg.ValueExists("Name"));
  EXPECT_EQ(regValue(RegRoot::LocalMachine, "", "Name").type, plat::regtype::kNone);
}

TEST_F(RegistryAccessTest, ValuesKeepTheirTypes) {
  RegistryAccess reg(RegRoot::ClassesRoot);
  ASSERT_TRUE(reg.OpenKey("\\.pgd", true));
  EXPECT_EQ(reg.WriteString("", "pgd_auto_file"), plat::err::kSuccess);
  EXPECT_EQ(reg.WriteExpandString("Path", "%SystemRoot%\\表"), plat::err::kSuccess);
  EXPECT_EQ(reg.WriteInteger("Count", -2), plat::err::kSuccess);

  EXPECT_TRUE(regValue(RegRoot::ClassesRoot, ".pgd", "") == plat::RegValue::string("pgd_auto_file"));
  EXPECT_TRUE(regValue(RegRoot::ClassesRoot, ".pgd", "Path") ==
              plat::RegValue::string("%SystemRoot%\\表", plat::regtype::kExpandString));
  EXPECT_TRUE(regValue(RegRoot::ClassesRoot, ".pgd", "Count") == plat::RegValue::dword(0xFFFFFFFEu));

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
  RegistryAccess reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker\\App\\Deep", true));
  ASSERT_EQ(reg.WriteString("V", "x"), plat::err::kSuccess);
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\Maker\\App"));
  EXPECT_EQ(reg.DeleteKey("\\SOFTWARE\\Maker\\App"), plat::err::kSuccess);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Maker\\App"));
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\Maker"));
  EXPECT_NE(reg.DeleteKey("\\"), plat::err::kSuccess);
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE"));
}

TEST_F(RegistryAccessTest, SetRootClosesAndSwitches) {
  RegistryAccess reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker", true));
  reg.SetRoot(RegRoot::Users);
  EXPECT_FALSE(reg.HasCurrentKey());
  ASSERT_EQ(reg.CreateKey("\\.DEFAULT\\Maker"), plat::err::kSuccess);
  EXPECT_TRUE(sys().registry.keyExists(RegRoot::Users, ".DEFAULT\\Maker"));
}

TEST_F(RegistryAccessTest, RefusedWriteComesBackAsItsCode) {
  RegistryAccess reg(RegRoot::LocalMachine);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker", true));
  machine().addFault({"writeValue", "", 1, plat::err::kAccessDenied, false});
  EXPECT_EQ(reg.WriteString("V", "x"), plat::err::kAccessDenied);
  EXPECT_FALSE(reg.ValueExists("V"));
  machine().addFault({"createKey", "Denied", 1, plat::err::kAccessDenied, false});
  EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Denied", true));
  EXPECT_FALSE(reg.HasCurrentKey());
}

}  // namespace
}  // namespace setup

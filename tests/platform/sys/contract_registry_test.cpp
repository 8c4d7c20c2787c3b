// Registry contract: keys, values of each type, letter case, deletion and listing.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/sys/test_machine.h"

namespace plat::testing {
namespace {

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    machine = makeTestMachine();
    root = machine->scratchRoot();
    key = machine->scratchKey();
  }
  Registry& reg() { return machine->services().registry; }
  std::unique_ptr<TestMachine> machine;
  RegRoot root{};
  std::string key;
};

TEST_F(RegistryContract, ValuesOfEachTypeRoundTrip) {
  struct Case {
    std::string name;
    RegValue value;
  };
  const Case cases[] = {
      {"Text", RegValue::string("C:\\Program Files\\表示ソフト")},
      {"Expand", RegValue::string("%WINDIR%\\予定", regtype::kExpandString)},
      {"Number", RegValue::dword(0x80000001u)},
      {"Bytes", {regtype::kBinary, std::string("\0\x5C\xFF", 3)}},
      {"", RegValue::string("default value")},
      {"空", RegValue::string("")},
  };
  for (const Case& c : cases) ASSERT_EQ(reg().writeValue(root, key, c.name, c.value), 0u) << c.name;
  for (const Case& c : cases) {
    RegValue read;
    ASSERT_EQ(reg().readValue(root, key, c.name, read), 0u) << c.name;
    EXPECT_EQ(read, c.value) << c.name;
  }
  RegValue read;
  ASSERT_EQ(reg().readValue(root, key, "TEXT", read), 0u);  // names ignore letter case
  EXPECT_EQ(read, cases[0].value);
  ASSERT_EQ(reg().writeValue(root, key, "number", RegValue::dword(7)), 0u);  // replaces "Number"
  ASSERT_EQ(reg().readValue(root, key, "Number", read), 0u);
  EXPECT_EQ(read.asDword(), 7u);
}

TEST_F(RegistryContract, MissingKeysAndValues) {
  RegValue read;
  EXPECT_EQ(reg().readValue(root, key, "Nothing", read), err::kFileNotFound);
  EXPECT_EQ(reg().readValue(root, key + "\\Missing", "X", read), err::kFileNotFound);
  EXPECT_EQ(reg().writeValue(root, key + "\\Missing", "X", RegValue::dword(1)), err::kFileNotFound);
  EXPECT_FALSE(reg().keyExists(root, key + "\\Missing"));
  EXPECT_EQ(reg().deleteValue(root, key, "Nothing"), err::kFileNotFound);
  EXPECT_EQ(reg().deleteKeyTree(root, key + "\\Missing"), err::kFileNotFound);
}

TEST_F(RegistryContract, CreateKeyMakesEveryLevelAndNamesStayWhole) {
  const std::string deep = key + "\\表\\ソフト\\能力";
  ASSERT_EQ(reg().createKey(root, deep), 0u);
  EXPECT_TRUE(reg().keyExists(root, deep));
  EXPECT_TRUE(reg().keyExists(root, key + "\\表"));
  ASSERT_EQ(reg().createKey(root, deep), 0u);  // an existing key opens
  std::vector<std::string> subKeys;
  ASSERT_EQ(reg().listSubKeys(root, key, subKeys), 0u);
  EXPECT_EQ(subKeys, std::vector<std::string>{"表"});
  ASSERT_EQ(reg().listSubKeys(root, key + "\\表", subKeys), 0u);
  EXPECT_EQ(subKeys, std::vector<std::string>{"ソフト"});  // "/" belongs to the name
  ASSERT_EQ(reg().createKey(root, key + "\\表\\text/plain"), 0u);
  ASSERT_EQ(reg().listSubKeys(root, key + "\\表", subKeys), 0u);
  std::sort(subKeys.begin(), subKeys.end());
  EXPECT_EQ(subKeys, (std::vector<std::string>{"text/plain", "ソフト"}));
}

TEST_F(RegistryContract, DeleteValueAndKeyTree) {
  ASSERT_EQ(reg().createKey(root, key + "\\App\\Sub\\Deeper"), 0u);
  ASSERT_EQ(reg().createKey(root, key + "\\Other"), 0u);
  ASSERT_EQ(reg().writeValue(root, key + "\\App\\Sub", "V", RegValue::dword(1)), 0u);
  ASSERT_EQ(reg().writeValue(root, key, "A", RegValue::dword(1)), 0u);
  ASSERT_EQ(reg().writeValue(root, key, "B", RegValue::dword(2)), 0u);
  ASSERT_EQ(reg().deleteValue(root, key, "a"), 0u);
  std::vector<std::string> values;
  ASSERT_EQ(reg().listValues(root, key, values), 0u);
  EXPECT_EQ(values, std::vector<std::string>{"B"});
  ASSERT_EQ(reg().deleteKeyTree(root, key + "\\APP"), 0u);
  EXPECT_FALSE(reg().keyExists(root, key + "\\App\\Sub"));
  std::vector<std::string> subKeys;
  ASSERT_EQ(reg().listSubKeys(root, key, subKeys), 0u);
  EXPECT_EQ(subKeys, std::vector<std::string>{"Other"});
}

TEST_F(RegistryContract, ListingsOfSeveralEntries) {
  for (const char* name : {"Gamma", "alpha", "Beta"}) ASSERT_EQ(reg().createKey(root, key + "\\" + name), 0u);
  for (const char* name : {"z", "y", "x"}) ASSERT_EQ(reg().writeValue(root, key, name, RegValue::dword(0)), 0u);
  std::vector<std::string> subKeys, values;
  ASSERT_EQ(reg().listSubKeys(root, key, subKeys), 0u);
  ASSERT_EQ(reg().listValues(root, key, values), 0u);
  std::sort(subKeys.begin(), subKeys.end());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(subKeys, (std::vector<std::string>{"Beta", "Gamma", "alpha"}));
  EXPECT_EQ(values, (std::vector<std::string>{"x", "y", "z"}));
}

}  // namespace
}  // namespace plat::testing

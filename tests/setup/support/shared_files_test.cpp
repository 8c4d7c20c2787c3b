// Shared-file counts in the register and component registration.
#include <string>

#include "component_files.h"
#include "setup/support/shared_files.h"

namespace setup {
namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kFile = "C:\\WINDOWS\\SYSTEM32\\共有表.DLL";

class SharedCounts : public testing::SupportTest {
 protected:
  void storeCount(const plat::RegValue& value) {
    ASSERT_EQ(sys().registry.createKey(plat::RegRoot::LocalMachine, kKey), plat::err::kSuccess);
    ASSERT_EQ(sys().registry.writeValue(plat::RegRoot::LocalMachine, kKey, kFile, value), plat::err::kSuccess);
  }
  plat::RegValue stored() { return regValue(plat::RegRoot::LocalMachine, kKey, kFile); }
};

struct CountCase {
  const char* name;
  bool hasValue;
  plat::RegValue value;
  bool filePresent;
  bool raise;
  int expectedResult;
  bool expectValue;  // whether a value remains afterwards
  std::uint32_t expectedCount;
};

TEST_F(SharedCounts, RaiseAndLower) {
  const CountCase cases[] = {
      {"new file", false, {}, false, true, 1, true, 1},
      {"uncounted file in place", false, {}, true, true, 2, true, 2},
      {"counted file", true, plat::RegValue::dword(3), true, true, 4, true, 4},
      {"wrong type counts as 0", true, plat::RegValue::string("5"), true, true, 2, true, 2},
      {"lower 3", true, plat::RegValue::dword(3), true, false, 2, true, 2},
      {"lower the last user", true, plat::RegValue::dword(1), true, false, 0, false, 0},
      {"lower without a count", false, {}, true, false, -1, false, 0},
      {"lower a wrong type", true, plat::RegValue::string("5"), true, false, -1, false, 0},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    sys().registry.deleteValue(plat::RegRoot::LocalMachine, kKey, kFile);
    if (c.hasValue) storeCount(c.value);
    if (c.filePresent) {
      machine().putFile(kFile, "lib");
    } else {
      sys().files.deleteFile(kFile);
    }
    plat::ErrorCode writeError = 99;
    EXPECT_EQ(ChangeSharedCount(kFile, c.raise, &writeError), c.expectedResult);
    EXPECT_EQ(writeError, plat::err::kSuccess);
    const plat::RegValue after = stored();
    if (c.expectValue) {
      EXPECT_TRUE(after == plat::RegValue::dword(c.expectedCount)) << "type " << after.type;
      EXPECT_EQ(GetSharedCount(kFile), static_cast<int>(c.expectedCount));
    } else {
      EXPECT_EQ(after.type, plat::regtype::kNone);
      EXPECT_EQ(GetSharedCount(kFile), 0);
    }
  }
}

TEST_F(SharedCounts, TwoInstallsAndOneUninstall) {
  EXPECT_EQ(ChangeSharedCount(kFile, true), 1);
  machine().putFile(kFile, "lib");
  EXPECT_EQ(ChangeSharedCount(kFile, true), 2);
  EXPECT_EQ(ChangeSharedCount(kFile, false), 1);
  EXPECT_TRUE(stored() == plat::RegValue::dword(1));
}

TEST_F(SharedCounts, ValueNameIsThePathAsGiven) {
  storeCount(plat::RegValue::dword(7));
  EXPECT_EQ(GetSharedCount(kFile), 7);
  // Another form of the same file's path is another value.
  EXPECT_EQ(GetSharedCount("C:\\WINDOWS\\SYSTEM32\\..\\SYSTEM32\\共有表.DLL"), 0);
  EXPECT_EQ(ChangeSharedCount("C:\\WINDOWS\\.\\SYSTEM32\\共有表.DLL", true), 1);
  EXPECT_EQ(GetSharedCount(kFile), 7);
}

TEST_F(SharedCounts, ReadCreatesTheKey) {
  sys().registry.deleteKeyTree(plat::RegRoot::LocalMachine, kKey);
  EXPECT_EQ(GetSharedCount(kFile), 0);
  EXPECT_TRUE(sys().registry.keyExists(plat::RegRoot::LocalMachine, kKey));
}

TEST_F(SharedCounts, RefusedWriteIsReportedNotFatal) {
  storeCount(plat::RegValue::dword(3));
  machine().addFault({"writeValue", "", 1, plat::err::kAccessDenied, true});
  plat::ErrorCode writeError = 0;
  EXPECT_EQ(ChangeSharedCount(kFile, true, &writeError), 4);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
  EXPECT_EQ(ChangeSharedCount(kFile, false, &writeError), 2);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
  EXPECT_TRUE(stored() == plat::RegValue::dword(3));

  machine().clearFaults();
  machine().addFault({"deleteValue", "", 1, plat::err::kAccessDenied, true});
  storeCount(plat::RegValue::dword(1));
  EXPECT_EQ(ChangeSharedCount(kFile, false, &writeError), 0);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
}

class ComponentFiles : public testing::SupportTest {};

TEST_F(ComponentFiles, RecognisedAnywhereInThePathWithoutCase) {
  const struct {
    std::string path;
    bool component;
  } cases[] = {
      {"C:\\APP\\LIB.Dll", true},  {"C:\\APP\\A.OCX", true},     {"C:\\X.DLL\\readme.txt", true},
      {"C:\\APP\\A.DL", false},    {"C:\\APP\\A.ocx.bak", true}, {"C:\\APP\\DLL", false},
      {"C:\\ソ.dll", true},        {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsComponentFile(c.path), c.component) << c.path;
}

using Registration = testing::ComponentTest;

const char* const kCaption = "OCX/DLL登録エラー";
constexpr std::uint32_t kOkExclamation = 0x30;

TEST_F(Registration, RegisterReportsEveryFailure) {
  putComponent("C:\\APP\\OK.DLL", COMPONENT_OK);
  putComponent("C:\\APP\\FALSE.OCX", COMPONENT_FALSE);
  putComponent("C:\\APP\\NONE.DLL", COMPONENT_NONE);
  machine().putFile("C:\\APP\\BROKEN.DLL", "not a library");
  const struct {
    std::string path;
    bool registered;
    std::string message;  // "" = no message box
  } cases[] = {
      {"C:\\APP\\OK.DLL", true, ""},
      {"C:\\APP\\FALSE.OCX", false, "C:\\APP\\FALSE.OCXのDllRegisterServer関数が失敗しました．"},
      {"C:\\APP\\NONE.DLL", false, "C:\\APP\\NONE.DLLのDllRegisterServerエントリが見つかりません．"},
      {"C:\\APP\\BROKEN.DLL", false, "C:\\APP\\BROKEN.DLLの読み込みに失敗しました．"},
      {"C:\\APP\\MISSING.DLL", false, "C:\\APP\\MISSING.DLLの読み込みに失敗しました．"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    boxes_.clear();
    EXPECT_EQ(RegisterComponent(c.path, true), c.registered);
    if (c.message.empty()) {
      EXPECT_TRUE(boxes_.empty());
    } else {
      ASSERT_EQ(boxes_.size(), 1u);
      EXPECT_EQ(boxes_[0].text, c.message);
      EXPECT_EQ(boxes_[0].caption, kCaption);
      EXPECT_EQ(boxes_[0].flags, kOkExclamation);
    }
  }
  EXPECT_EQ(unregisterCalls(), 0);
}

TEST_F(Registration, UnregisterIsSilentUnlessTheLoadFails) {
  putComponent("C:\\APP\\OK.DLL", COMPONENT_OK);
  putComponent("C:\\APP\\NONE.DLL", COMPONENT_NONE);
  EXPECT_FALSE(RegisterComponent("C:\\APP\\OK.DLL", false));
  EXPECT_EQ(unregisterCalls(), 1);
  EXPECT_FALSE(RegisterComponent("C:\\APP\\NONE.DLL", false));
  EXPECT_TRUE(boxes_.empty());

  EXPECT_FALSE(RegisterComponent("C:\\APP\\GONE.OCX", false));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "C:\\APP\\GONE.OCXの読み込みに失敗しました．");
  EXPECT_EQ(boxes_[0].caption, kCaption);
  EXPECT_EQ(boxes_[0].flags, kOkExclamation);
}

}  // namespace
}  // namespace setup

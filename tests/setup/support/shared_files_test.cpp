// Shared-file counts in the register and component registration.
#include <string>

#include "platform_fixture.h"
#include "setup/support/shared_files.h"

namespace setup {
namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class SharedCounts : public testing::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    file_ = sharedValueName(S("共有表.DLL"));
  }
  void storeCount(const plat::RegValue& value) {
    ASSERT_EQ(sys().registry.createKey(plat::RegRoot::LocalMachine, kKey), plat::err::kSuccess);
    ASSERT_EQ(sys().registry.writeValue(plat::RegRoot::LocalMachine, kKey, file_, value), plat::err::kSuccess);
  }
  plat::RegValue stored() { return regValue(plat::RegRoot::LocalMachine, kKey, file_); }
  std::string file_;
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
    sys().registry.deleteValue(plat::RegRoot::LocalMachine, kKey, file_);
    if (c.hasValue) storeCount(c.value);
    if (c.filePresent) {
      put(file_, "lib");
    } else {
      sys().files.deleteFile(file_);
    }
    plat::ErrorCode writeError = 99;
    EXPECT_EQ(ChangeSharedCount(file_, c.raise, &writeError), c.expectedResult);
    EXPECT_EQ(writeError, plat::err::kSuccess);
    const plat::RegValue after = stored();
    if (c.expectValue) {
      EXPECT_TRUE(after == plat::RegValue::dword(c.expectedCount)) << "type " << after.type;
      EXPECT_EQ(GetSharedCount(file_), static_cast<int>(c.expectedCount));
    } else {
      EXPECT_EQ(after.type, plat::regtype::kNone);
      EXPECT_EQ(GetSharedCount(file_), 0);
    }
  }
}

TEST_F(SharedCounts, TwoInstallsAndOneUninstall) {
  EXPECT_EQ(ChangeSharedCount(file_, true), 1);
  put(file_, "lib");
  EXPECT_EQ(ChangeSharedCount(file_, true), 2);
  EXPECT_EQ(ChangeSharedCount(file_, false), 1);
  EXPECT_TRUE(stored() == plat::RegValue::dword(1));
  EXPECT_TRUE(exists(file_));
}

TEST_F(SharedCounts, ValueNameIsThePathAsGiven) {
  storeCount(plat::RegValue::dword(7));
  EXPECT_EQ(GetSharedCount(file_), 7);
  // Another form of the same file's path is another value.
  const std::string other = sharedValueName(S(".\\共有表.DLL"));
  EXPECT_EQ(GetSharedCount(other), 0);
  EXPECT_EQ(ChangeSharedCount(other, true), 1);
  EXPECT_TRUE(regValue(plat::RegRoot::LocalMachine, kKey, other) == plat::RegValue::dword(1));
  EXPECT_EQ(GetSharedCount(file_), 7);
}

using ComponentFiles = testing::PlatformTest;

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
  putComponent(S("OK.DLL"), COMPONENT_OK);
  putComponent(S("FALSE.OCX"), COMPONENT_FALSE);
  putComponent(S("NONE.DLL"), COMPONENT_NONE);
  put(S("BROKEN.DLL"), "not a library");
  const struct {
    std::string path;
    bool registered;
    std::string message;  // "" = no message box
  } cases[] = {
      {S("OK.DLL"), true, ""},
      {S("FALSE.OCX"), false, S("FALSE.OCX") + "のDllRegisterServer関数が失敗しました．"},
      {S("NONE.DLL"), false, S("NONE.DLL") + "のDllRegisterServerエントリが見つかりません．"},
      {S("BROKEN.DLL"), false, S("BROKEN.DLL") + "の読み込みに失敗しました．"},
      {S("MISSING.DLL"), false, S("MISSING.DLL") + "の読み込みに失敗しました．"},
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
  putComponent(S("OK.DLL"), COMPONENT_OK);
  putComponent(S("NONE.DLL"), COMPONENT_NONE);
  EXPECT_FALSE(RegisterComponent(S("OK.DLL"), false));
  EXPECT_EQ(unregisterCalls(), 1);
  EXPECT_FALSE(RegisterComponent(S("NONE.DLL"), false));
  EXPECT_TRUE(boxes_.empty());

  EXPECT_FALSE(RegisterComponent(S("GONE.OCX"), false));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, S("GONE.OCX") + "の読み込みに失敗しました．");
  EXPECT_EQ(boxes_[0].caption, kCaption);
  EXPECT_EQ(boxes_[0].flags, kOkExclamation);
}

}  // namespace
}  // namespace setup

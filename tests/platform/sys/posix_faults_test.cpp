// Fault injection: the Nth matching call fails with the chosen code, once or from then on.
#include <gtest/gtest.h>

#include "tests/platform/sys/posix_fixture.h"

namespace plat::posix {
namespace {

class Faults : public MachineTest {};

TEST_F(Faults, NthMatchingCallFailsOnceOrPersistently) {
  machine().putFile("C:\\SRC.TXT", "s");
  struct Case {
    Fault fault;
    std::vector<ErrorCode> results;  // of five copies, in order
  };
  const Case cases[] = {
      {{"copyFile", "", 2, err::kDiskFull, false}, {0, 112, 0, 0, 0}},
      {{"copyFile", "", 3, err::kSharingViolation, true}, {0, 0, 32, 32, 32}},
      {{"*", "", 1, err::kAccessDenied, false}, {5, 0, 0, 0, 0}},
      {{"copyFile", "dst2", 1, err::kDiskFull, true}, {0, 0, 112, 112, 112}},  // matched by target path
      {{"copyFile", "DST", 4, err::kDiskFull, false}, {0, 0, 0, 112, 0}},     // ASCII case ignored
      {{"moveFile", "", 1, err::kDiskFull, true}, {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    machine().clearFaults();
    int id = machine().addFault(c.fault);
    std::vector<ErrorCode> results;
    for (int i = 0; i < 5; ++i)
      results.push_back(machine().files().copyFile("C:\\SRC.TXT", i < 2 ? "C:\\DST.TXT" : "C:\\DST2.TXT", false));
    EXPECT_EQ(results, c.results) << c.fault.operation << " " << c.fault.pathContains;
    int failures = 0;
    for (ErrorCode r : c.results) failures += r != 0;
    EXPECT_EQ(machine().faultFired(id), failures);
  }
}

TEST_F(Faults, FailedCallsChangeNothing) {
  machine().putFile("C:\\KEEP.TXT", "old");
  ASSERT_EQ(machine().registry().createKey(RegRoot::CurrentUser, "Software\\App"), 0u);
  const MachineSnapshot before = machine().snapshot();
  for (const char* op : {"writeFile", "copyFile", "deleteFile", "createDirectory", "shellDelete", "writeValue",
                         "deleteKeyTree", "createShellLink", "lzExpand", "moveFile", "setAttributes"})
    machine().addFault({op, "", 1, err::kAccessDenied, true});
  Services sv = machine().services();
  EXPECT_EQ(sv.files.writeFile("C:\\KEEP.TXT", "new"), err::kAccessDenied);
  EXPECT_EQ(sv.files.copyFile("C:\\KEEP.TXT", "C:\\COPY.TXT", false), err::kAccessDenied);
  EXPECT_EQ(sv.files.deleteFile("C:\\KEEP.TXT"), err::kAccessDenied);
  EXPECT_EQ(sv.files.createDirectory("C:\\DIR"), err::kAccessDenied);
  EXPECT_EQ(sv.files.shellDelete("C:\\*.TXT"), err::kAccessDenied);
  EXPECT_EQ(sv.files.moveFile("C:\\KEEP.TXT", "C:\\MOVED.TXT"), err::kAccessDenied);
  EXPECT_EQ(sv.files.setAttributes("C:\\KEEP.TXT", attr::kReadOnly), err::kAccessDenied);
  EXPECT_EQ(sv.files.lzExpand("C:\\KEEP.TXT", "C:\\X.TXT"), err::kAccessDenied);
  EXPECT_EQ(sv.registry.writeValue(RegRoot::CurrentUser, "Software\\App", "V", RegValue::dword(1)), err::kAccessDenied);
  EXPECT_EQ(sv.registry.deleteKeyTree(RegRoot::CurrentUser, "Software\\App"), err::kAccessDenied);
  ShellLinkData link;
  link.target = "C:\\KEEP.TXT";
  EXPECT_EQ(sv.shell.createShellLink("C:\\A.lnk", link), err::kAccessDenied);
  EXPECT_EQ(describeDifferences(before, machine().snapshot()), "");
}

TEST_F(Faults, ServicesWithoutCodesFailTheirOwnWay) {
  machine().addFault({"*", "", 1, err::kAccessDenied, true});
  Services sv = machine().services();
  std::string out;
  EXPECT_EQ(sv.system.platformId(), -1);
  EXPECT_EQ(sv.system.windowsDirectory(), "");
  EXPECT_EQ(sv.shell.specialFolder(csidl::kDesktopDirectory), "");
  EXPECT_FALSE(sv.system.mapString("a", 0x200, out));
  EXPECT_FALSE(sv.system.acquireNamedMutex("M"));
  EXPECT_TRUE(sv.system.leadByteRanges().empty());
  EXPECT_FALSE(sv.registry.keyExists(RegRoot::LocalMachine, "SOFTWARE"));
  std::int32_t result = 0;
  EXPECT_EQ(sv.system.callExport("C:\\X.DLL", "DllRegisterServer", result), LibraryCallStatus::LoadFailed);
  EXPECT_EQ(sv.files.currentDirectory(), "");
}

TEST_F(Faults, ItemsInsideAShellDeleteCanFail) {
  machine().putFile("C:\\T\\A.TXT", "a");
  machine().putFile("C:\\T\\LOCKED.TXT", "l");
  machine().addFault({"shellDeleteItem", "C:\\T\\LOCKED.TXT", 1, err::kSharingViolation, true});
  EXPECT_EQ(machine().files().shellDelete("C:\\T"), err::kSharingViolation);
  EXPECT_TRUE(machine().fileExists("C:\\T\\LOCKED.TXT"));
  EXPECT_FALSE(machine().fileExists("C:\\T\\A.TXT"));
}

}  // namespace
}  // namespace plat::posix

// What only a played machine can show: refused writes and failed calls, drives, special folders.
#include <string>

#include "posix_machine_fixture.h"
#include "setup/support/file_primitives.h"
#include "setup/support/path_tokens.h"
#include "setup/support/registry_access.h"
#include "setup/support/shared_files.h"
#include "setup/support/shell_delete.h"
#include "setup/support/uIniFile.h"

namespace setup {
namespace {

using plat::Fault;
using plat::RegRoot;
using SupportFaults = testing::PosixSupportTest;

const std::string kSharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

TEST_F(SupportFaults, SpecialFoldersComeFromTheShell) {
  machine().layout().specialFolders[plat::csidl::kDesktopDirectory] = "C:\\Users\\表\\Desktop";
  machine().layout().specialFolders.erase(plat::csidl::kCommonStartup);
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kDesktopDirectory), "C:\\Users\\表\\Desktop");
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kCommonStartup), "");
}

TEST_F(SupportFaults, CreateFolderPathReportsFailure) {
  EXPECT_FALSE(CreateFolderPath("Q:\\NO\\DRIVE"));
  machine().putFolder("C:\\WORK");
  machine().addFault(Fault{"createDirectory", "DENIED", 1, plat::err::kAccessDenied, false});
  EXPECT_FALSE(CreateFolderPath("C:\\WORK\\DENIED\\SUB"));
  EXPECT_FALSE(machine().exists("C:\\WORK\\DENIED"));
}

TEST_F(SupportFaults, CreateFolderPathAcceptsADriveRootTheFolderTestCannotSee) {
  // An empty drive root shows the folder test no entry, yet it is there and needs no creation.
  machine().putMedium("E:\\", {});
  ASSERT_FALSE(FolderExists("E:\\"));
  EXPECT_TRUE(CreateFolderPath("E:\\"));
  EXPECT_TRUE(CreateFolderPath("E:"));
  EXPECT_TRUE(CreateFolderPath("E:\\NEW\\"));
  EXPECT_TRUE(machine().folderExists("E:\\NEW"));
  EXPECT_TRUE(FolderExists("C:\\"));
}

TEST_F(SupportFaults, CopyFileReplaceReturnsTheCopyError) {
  machine().putFile("C:\\SRC\\A.DAT", "x");
  machine().putFolder("C:\\DST");
  machine().addFault(Fault{"copyFile", "", 1, plat::err::kDiskFull, false});
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\A.DAT"), plat::err::kDiskFull);
}

TEST_F(SupportFaults, SharedCountReadCreatesTheKey) {
  sys().registry.deleteKeyTree(RegRoot::LocalMachine, kSharedKey);
  EXPECT_EQ(GetSharedCount("C:\\A.DLL"), 0);
  EXPECT_TRUE(sys().registry.keyExists(RegRoot::LocalMachine, kSharedKey));
}

TEST_F(SupportFaults, RefusedCountIsReportedNotFatal) {
  const std::string file = "C:\\WINDOWS\\SYSTEM32\\共有表.DLL";
  ASSERT_EQ(sys().registry.createKey(RegRoot::LocalMachine, kSharedKey), plat::err::kSuccess);
  ASSERT_EQ(sys().registry.writeValue(RegRoot::LocalMachine, kSharedKey, file, plat::RegValue::dword(3)),
            plat::err::kSuccess);
  machine().addFault(Fault{"writeValue", "", 1, plat::err::kAccessDenied, true});
  plat::ErrorCode writeError = 0;
  EXPECT_EQ(ChangeSharedCount(file, true, &writeError), 4);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
  EXPECT_EQ(ChangeSharedCount(file, false, &writeError), 2);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
  EXPECT_TRUE(regValue(RegRoot::LocalMachine, kSharedKey, file) == plat::RegValue::dword(3));

  machine().clearFaults();
  ASSERT_EQ(sys().registry.writeValue(RegRoot::LocalMachine, kSharedKey, file, plat::RegValue::dword(1)),
            plat::err::kSuccess);
  machine().addFault(Fault{"deleteValue", "", 1, plat::err::kAccessDenied, true});
  EXPECT_EQ(ChangeSharedCount(file, false, &writeError), 0);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);

  // A register that cannot even be created.
  machine().clearFaults();
  sys().registry.deleteKeyTree(RegRoot::LocalMachine, kSharedKey);
  machine().addFault(Fault{"createKey", "SharedDLLs", 1, plat::err::kAccessDenied, true});
  EXPECT_EQ(GetSharedCount(file), 0);
  EXPECT_EQ(ChangeSharedCount(file, true, &writeError), 1);
  EXPECT_EQ(writeError, plat::err::kAccessDenied);
}

TEST_F(SupportFaults, DeleteWithShellAsksTheShellOnlyForFilesAndPatterns) {
  machine().putFolder("C:\\APP\\表");
  machine().putFile("C:\\APP\\B.TXT", "b");
  const int shellFault = machine().addFault(Fault{"shellDelete", "", 1, plat::err::kSharingViolation, true});
  EXPECT_EQ(DeleteWithShell("C:\\APP\\MISSING.TXT"), plat::err::kFileNotFound);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\表"), plat::err::kFileNotFound);
  EXPECT_EQ(machine().faultFired(shellFault), 0);
  // The shell's own failure comes back as its code.
  EXPECT_EQ(DeleteWithShell("C:\\APP\\B.TXT"), plat::err::kSharingViolation);
  EXPECT_EQ(DeleteWithShell("C:\\APP\\*.*"), plat::err::kSharingViolation);
  EXPECT_EQ(machine().faultFired(shellFault), 2);
  EXPECT_TRUE(machine().exists("C:\\APP\\B.TXT"));
  EXPECT_EQ(RemoveFolder("C:\\APP", "*.*|"), plat::err::kDirNotEmpty);
}

TEST_F(SupportFaults, RefusedRegistryWriteComesBackAsItsCode) {
  RegistryAccess reg(RegRoot::LocalMachine);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker", true));
  machine().addFault(Fault{"writeValue", "", 1, plat::err::kAccessDenied, false});
  EXPECT_EQ(reg.WriteString("V", "x"), plat::err::kAccessDenied);
  EXPECT_FALSE(reg.ValueExists("V"));
  machine().addFault(Fault{"createKey", "Denied", 1, plat::err::kAccessDenied, false});
  EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Denied", true));
  EXPECT_FALSE(reg.HasCurrentKey());
}

TEST_F(SupportFaults, RefusedProfileWriteReturnsFalse) {
  machine().putFolder("C:\\WORK");
  machine().addFault(Fault{"writeFile", "SETUP.INI", 1, plat::err::kDiskFull, true});
  EXPECT_FALSE(WriteProfileValue("Sec", "Key", "v", "C:\\WORK\\SETUP.INI"));
  EXPECT_FALSE(machine().exists("C:\\WORK\\SETUP.INI"));
}

}  // namespace
}  // namespace setup

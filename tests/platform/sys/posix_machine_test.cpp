// The machine itself: its fresh layout, what survives reopening, snapshots and test helpers.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/sys/posix/registry_store.h"
#include "tests/platform/sys/posix_fixture.h"

namespace plat::posix {
namespace {

class Machine : public MachineTest {};

TEST_F(Machine, FreshLayoutOfAJapaneseWindows) {
  Services sv = machine().services();
  for (const std::string& folder : {sv.system.windowsDirectory(), sv.system.systemDirectory(),
                                    sv.system.tempDirectory(), std::string("C:\\Program Files")})
    EXPECT_TRUE(machine().folderExists(folder)) << folder;
  struct Case {
    int csidl;
    std::string path;
  };
  const Case cases[] = {
      {csidl::kDesktopDirectory, "C:\\WINDOWS\\Profiles\\ソフト開発\\デスクトップ"},
      {csidl::kPrograms, "C:\\WINDOWS\\Profiles\\ソフト開発\\スタート メニュー\\プログラム"},
      {csidl::kCommonStartup, "C:\\WINDOWS\\Profiles\\All Users\\スタート メニュー\\プログラム\\スタートアップ"},
      {csidl::kSendTo, "C:\\WINDOWS\\Profiles\\ソフト開発\\SendTo"},
      {999, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sv.shell.specialFolder(c.csidl), c.path) << c.csidl;
    if (!c.path.empty()) {
      EXPECT_TRUE(machine().folderExists(c.path)) << c.path;
    }
  }
  RegValue value;
  ASSERT_EQ(sv.registry.readValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                  "ProgramFilesDir", value), 0u);
  EXPECT_EQ(value, RegValue::string("C:\\Program Files"));
  EXPECT_TRUE(sv.registry.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_EQ(sv.system.platformId(), 2);
}

TEST_F(Machine, LayoutIsConfigurable) {
  MachineLayout layout = MachineLayout::typical();
  layout.platformId = 1;
  layout.tempDirectory.clear();
  layout.programPath = "E:\\DISK1\\SETUP.EXE";
  layout.specialFolders.erase(csidl::kCommonDesktopDirectory);
  // "＆" is 81 95: its trail byte looks like a lead byte before the final "\"; "表" ends in 5C.
  layout.specialFolders[csidl::kDesktopDirectory] = "C:\\＆\\";
  layout.specialFolders[csidl::kSendTo] = "C:\\表";
  layout.freeBytes['C'] = 12345;
  layout.hasExtendedFreeSpace = false;
  reset(layout);
  Services sv = machine().services();
  EXPECT_EQ(sv.system.platformId(), 1);
  EXPECT_EQ(sv.system.tempDirectory(), "");
  EXPECT_EQ(sv.system.programPath(), "E:\\DISK1\\SETUP.EXE");
  EXPECT_EQ(sv.shell.specialFolder(csidl::kCommonDesktopDirectory), "");
  EXPECT_EQ(sv.shell.specialFolder(csidl::kDesktopDirectory), "C:\\＆");
  EXPECT_EQ(sv.shell.specialFolder(csidl::kSendTo), "C:\\表");
  std::uint64_t bytes = 0;
  EXPECT_EQ(sv.files.freeSpaceExtended("C:\\", bytes), err::kProcNotFound);
  ASSERT_EQ(sv.files.freeSpaceClusters("C:\\", bytes), 0u);
  EXPECT_EQ(bytes, 12345u);
  EXPECT_EQ(sv.files.freeSpaceClusters("Q:\\", bytes), err::kPathNotFound);
}

TEST_F(Machine, FreshRefusesAFolderInUse) {
  EXPECT_THROW(PosixMachine::fresh(root()), std::runtime_error);
}

TEST_F(Machine, RegistryAndAttributesSurviveReopening) {
  Registry& reg = machine().registry();
  ASSERT_EQ(reg.createKey(RegRoot::CurrentUser, "Software\\表計算\\[x]\"%"), 0u);
  const std::string key = "Software\\表計算\\[x]\"%";
  const RegValue values[] = {RegValue::string("a\"b%c\\d\r\n表"), RegValue::dword(0xDEADBEEF),
                             {regtype::kBinary, std::string("\0\xFF", 2)}, {7, "multi\0sz", }};
  const char* names[] = {"", "名前", "bin", "=odd\"name"};
  for (int i = 0; i < 4; ++i) ASSERT_EQ(reg.writeValue(RegRoot::CurrentUser, key, names[i], values[i]), 0u);
  machine().putFile("C:\\RO.TXT", "r");
  ASSERT_EQ(machine().files().setAttributes("C:\\RO.TXT", attr::kReadOnly | attr::kHidden), 0u);
  const std::string before = machine().registryText();

  reopen();
  EXPECT_EQ(machine().registryText(), before);
  for (int i = 0; i < 4; ++i) {
    RegValue read;
    ASSERT_EQ(machine().registry().readValue(RegRoot::CurrentUser, key, names[i], read), 0u) << i;
    EXPECT_EQ(read, values[i]) << i;
  }
  std::uint32_t attributes = 0;
  ASSERT_EQ(machine().files().getAttributes("C:\\ro.txt", attributes), 0u);
  EXPECT_EQ(attributes, attr::kReadOnly | attr::kHidden);
}

TEST_F(Machine, TwoMachineObjectsOnOneRootStayInStep) {
  PosixMachine second(root(), machine().layout());  // a second program run on the same machine
  ASSERT_EQ(machine().registry().createKey(RegRoot::CurrentUser, "Software\\First"), 0u);
  EXPECT_TRUE(second.registry().keyExists(RegRoot::CurrentUser, "Software\\First"));
  ASSERT_EQ(second.registry().writeValue(RegRoot::CurrentUser, "Software\\First", "V", RegValue::dword(2)), 0u);
  RegValue value;
  ASSERT_EQ(machine().registry().readValue(RegRoot::CurrentUser, "Software\\First", "V", value), 0u);
  EXPECT_EQ(value.asDword(), 2u);
  ASSERT_EQ(machine().registry().deleteKeyTree(RegRoot::CurrentUser, "Software\\First"), 0u);
  EXPECT_FALSE(second.registry().keyExists(RegRoot::CurrentUser, "Software\\First"));

  machine().putFile("C:\\SHARED.TXT", "s");
  ASSERT_EQ(machine().files().setAttributes("C:\\SHARED.TXT", attr::kReadOnly), 0u);
  EXPECT_EQ(second.files().deleteFile("C:\\SHARED.TXT"), err::kAccessDenied);
  ASSERT_EQ(second.files().setAttributes("C:\\SHARED.TXT", attr::kArchive), 0u);
  EXPECT_EQ(machine().files().deleteFile("C:\\SHARED.TXT"), 0u);
}

TEST_F(Machine, RegistryFileIsReadableText) {
  const std::string text = machine().registryText();
  EXPECT_NE(text.find("[HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
                      "\"ProgramFilesDir\"=sz:\"C:\\Program Files\"\n"),
            std::string::npos)
      << text;
  std::map<RegRoot, RegKey> roots;
  for (const char* broken : {"[HKXX\\A]\n", "[HKLM\\A]\n\"v\"=dword:12\n", "\"v\"=sz:\"x\"\n", "[HKLM\\A]\n\"v=sz:\"x\"\n"})
    EXPECT_FALSE(RegistryStore::parse(broken, roots)) << broken;
}

TEST_F(Machine, AttributesFollowMovesAndDeletes) {
  machine().putFile("C:\\A\\H.TXT", "h");
  ASSERT_EQ(machine().files().setAttributes("C:\\A\\H.TXT", attr::kHidden), 0u);
  ASSERT_EQ(machine().files().moveFile("C:\\A", "C:\\B"), 0u);
  std::uint32_t attributes = 0;
  ASSERT_EQ(machine().files().getAttributes("C:\\B\\H.TXT", attributes), 0u);
  EXPECT_EQ(attributes, attr::kHidden);
  ASSERT_EQ(machine().files().shellDelete("C:\\B"), 0u);
  machine().putFile("C:\\B\\H.TXT", "new");  // a new file of the same name starts plain
  ASSERT_EQ(machine().files().getAttributes("C:\\B\\H.TXT", attributes), 0u);
  EXPECT_EQ(attributes, attr::kArchive);
  ASSERT_EQ(machine().files().setAttributes("C:\\B\\H.TXT", 0), 0u);
  ASSERT_EQ(machine().files().getAttributes("C:\\B\\H.TXT", attributes), 0u);
  EXPECT_EQ(attributes, attr::kNormal);
}

TEST_F(Machine, SnapshotShowsWhatChanged) {
  machine().putMedium("D:\\", {{"SETUP.INI", "[Setup]\r\n"}, {"DISK2\\A.EX_", "a"}});
  EXPECT_EQ(machine().readFile("D:\\DISK2\\A.EX_"), "a");
  const MachineSnapshot before = machine().snapshot();
  EXPECT_EQ(before.files.at("D:\\SETUP.INI"), "[Setup]\r\n");
  EXPECT_EQ(before.files.count("D:\\DISK2\\"), 1u);
  machine().putFile("C:\\NEW.TXT", "n");
  machine().putFile("D:\\SETUP.INI", "changed");
  ASSERT_EQ(machine().files().deleteFile("D:\\DISK2\\A.EX_"), 0u);
  ASSERT_EQ(machine().registry().createKey(RegRoot::CurrentUser, "Software\\X"), 0u);
  const MachineSnapshot after = machine().snapshot();
  EXPECT_NE(before, after);
  EXPECT_EQ(describeDifferences(before, after),
            "- D:\\DISK2\\A.EX_\n* D:\\SETUP.INI\n+ C:\\NEW.TXT\nregistry differs\n");
  EXPECT_EQ(describeDifferences(after, machine().snapshot()), "");
}

TEST_F(Machine, ProfilesAndVersionsGoThroughTheMachine) {
  Services sv = machine().services();
  ASSERT_TRUE(sv.profiles.write("C:\\WINDOWS\\VOSET98.INI", "表示", "Path", "C:\\予定\\"));
  EXPECT_NE(machine().readFile("c:\\windows\\voset98.ini").find("C:\\予定\\"), std::string::npos);
  EXPECT_EQ(sv.profiles.read("C:\\WINDOWS\\VOSET98.INI", "表示", "path", ""), "C:\\予定\\");
  // Profile writes pass the file system's fault hook like any other write.
  machine().addFault({"writeFile", "VOSET98", 1, err::kDiskFull, true});
  EXPECT_FALSE(sv.profiles.write("C:\\WINDOWS\\VOSET98.INI", "表示", "Other", "x"));

  machine().putFile("C:\\Program Files\\表示ソフト\\PaginaV1.exe", "MZ");
  machine().layout().fileVersions["C:\\Program Files\\表示ソフト\\PaginaV1.exe"] = "1.05";
  EXPECT_EQ(sv.system.fileVersion("C:\\PROGRAM FILES\\表示ソフト\\paginav1.exe"), "1.05");
  EXPECT_EQ(sv.system.fileVersion("C:\\WINDOWS"), "");
  EXPECT_EQ(sv.system.fileVersion("C:\\NONE.EXE"), "");
}

}  // namespace
}  // namespace plat::posix

// Win32-only behaviour of the system services: component libraries, version resources, the string
// mapping against the system's ANSI function, lead bytes, run-time look-ups and system queries.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/sys/win32/win32_services.h"
#include "platform/sys/win32/win32_util.h"

namespace plat {
namespace {

// The build's test-data folder as a Windows path (Wine shows the Linux root as drive Z:).
std::string testData(const std::string& name) {
  const char* bin = std::getenv("PAGINA_BINARY_DIR");
  std::string dir = bin ? bin : ".";
  if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
  for (char& c : dir)
    if (c == '/') c = '\\';
  return dir + "\\testdata\\" + name;
}

class Win32ServicesTest : public ::testing::Test {
 protected:
  Win32Services sv;
};

TEST_F(Win32ServicesTest, ComponentRegistrationOutcomes) {
  struct Case {
    const char* file;
    const char* entry;
    LibraryCallStatus status;
    std::int32_t result;
  };
  const Case cases[] = {
      {"OK.DLL", "DllRegisterServer", LibraryCallStatus::Called, 0},
      {"FAILS.DLL", "DllRegisterServer", LibraryCallStatus::Called, 1},
      {"NOENTRY.DLL", "DllRegisterServer", LibraryCallStatus::ExportMissing, -99},
      {"OK.DLL", "DllUnregisterServer", LibraryCallStatus::ExportMissing, -99},
      {"MISSING.DLL", "DllRegisterServer", LibraryCallStatus::LoadFailed, -99},
  };
  for (const Case& c : cases) {
    std::int32_t result = -99;
    EXPECT_EQ(sv.system.callExport(testData(c.file), c.entry, result), c.status) << c.file << " " << c.entry;
    EXPECT_EQ(result, c.result) << c.file << " " << c.entry;
  }
}

TEST_F(Win32ServicesTest, NonLibraryFileFailsToLoad) {
  std::string temp = sv.system.tempDirectory() + "PAGINA_NOTADLL.DLL";
  ASSERT_EQ(sv.files.writeFile(temp, "this is text, not a program"), err::kSuccess);
  std::int32_t result = -99;
  EXPECT_EQ(sv.system.callExport(temp, "DllRegisterServer", result), LibraryCallStatus::LoadFailed);
  sv.files.deleteFile(temp);
}

TEST_F(Win32ServicesTest, FileVersionFromTheJapaneseStringTable) {
  EXPECT_EQ(sv.system.fileVersion(testData("OK.DLL")), "1.2.3.4");
  EXPECT_EQ(sv.system.fileVersion(testData("NOENTRY.DLL")), "");  // no version resource
  EXPECT_EQ(sv.system.fileVersion(testData("MISSING.DLL")), "");
}

// The text goes through UTF-16 on its way to the system; on a Japanese system the result must be
// what the ANSI function gives for the same bytes.
TEST_F(Win32ServicesTest, MapStringAgreesWithTheAnsiFunction) {
  if (GetACP() != 932) GTEST_SKIP() << "the system's code page is not 932";
  const std::string texts[] = {"abc\\XYZ", "ａｂｃＸＹＺ", "ソa表b能\\予", "ｶﾞｷﾞｸﾞ ﾊﾟ", "かなカナ", "ΑβДж",
                               "C:\\Program Files\\表示ソフト\\", ""};
  const std::uint32_t flags[] = {LCMAP_UPPERCASE, LCMAP_LOWERCASE, LCMAP_FULLWIDTH, LCMAP_HALFWIDTH,
                                 LCMAP_KATAKANA, LCMAP_HIRAGANA, LCMAP_FULLWIDTH | LCMAP_UPPERCASE};
  for (const std::string& t : texts) {
    for (std::uint32_t f : flags) {
      std::string ours;
      ASSERT_TRUE(sv.system.mapString(t, f, ours)) << t << " " << f;
      std::string ansi;
      if (!t.empty()) {
        int n = LCMapStringA(LOCALE_SYSTEM_DEFAULT, f, t.data(), static_cast<int>(t.size()), nullptr, 0);
        ASSERT_GT(n, 0);
        ansi.assign(static_cast<size_t>(n), '\0');
        n = LCMapStringA(LOCALE_SYSTEM_DEFAULT, f, t.data(), static_cast<int>(t.size()), &ansi[0], n);
        ansi.resize(static_cast<size_t>(n));
      }
      EXPECT_EQ(ours, ansi) << "flags " << std::hex << f;
    }
  }
}

TEST_F(Win32ServicesTest, MapStringRefusesSortKeysAndMapsFullWidth) {
  std::string out = "unchanged";
  EXPECT_FALSE(sv.system.mapString("abc", LCMAP_SORTKEY, out));
  ASSERT_TRUE(sv.system.mapString("Error 5.", LCMAP_FULLWIDTH, out));
  EXPECT_EQ(out, "Ｅｒｒｏｒ　５．");
}

TEST_F(Win32ServicesTest, LeadBytesAreThoseOfCodePage932) {
  using Ranges = std::vector<std::pair<std::uint8_t, std::uint8_t>>;
  EXPECT_EQ(sv.system.leadByteRanges(), (Ranges{{0x81, 0x9F}, {0xE0, 0xFC}}));
}

TEST_F(Win32ServicesTest, RunTimeLookUpsFindTheirExports) {
  using RestartDialogFn = int(WINAPI*)(HWND, LPCWSTR, DWORD);
  using FreeSpaceFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  EXPECT_NE(win32::findExport<RestartDialogFn>(win32::systemModule(L"shell32.dll"), MAKEINTRESOURCEA(59)), nullptr);
  EXPECT_NE(win32::findExport<FreeSpaceFn>(win32::systemModule(L"kernel32.dll"), "GetDiskFreeSpaceExW"), nullptr);
  EXPECT_EQ(win32::findExport<FreeSpaceFn>(win32::systemModule(L"kernel32.dll"), "NoSuchExport"), nullptr);
  EXPECT_EQ(win32::findExport<FreeSpaceFn>(nullptr, "GetDiskFreeSpaceExW"), nullptr);
}

TEST_F(Win32ServicesTest, SystemQueries) {
  EXPECT_EQ(sv.system.platformId(), 2);
  std::string program = sv.system.programPath();
  EXPECT_NE(program.find("sys_win32_test.exe"), std::string::npos) << program;
  for (const std::string& dir : {sv.system.windowsDirectory(), sv.system.systemDirectory(), sv.system.tempDirectory()}) {
    std::uint32_t a = 0;
    ASSERT_EQ(sv.files.getAttributes(dir, a), err::kSuccess) << dir;
    EXPECT_TRUE(a & attr::kDirectory) << dir;
  }
  EXPECT_EQ(sv.system.tempDirectory().back(), '\\');
  EXPECT_FALSE(sv.system.errorMessage(err::kFileNotFound).empty());
  EXPECT_FALSE(sv.system.playSound(sv.system.tempDirectory() + "NO_SUCH_SOUND.WAV"));
}

TEST_F(Win32ServicesTest, SpecialFoldersExistWithoutTrailingDelimiter) {
  for (int csidl : {csidl::kPrograms, csidl::kStartMenu, csidl::kDesktopDirectory, csidl::kCommonPrograms,
                    csidl::kAppData}) {
    std::string dir = sv.shell.specialFolder(csidl);
    ASSERT_FALSE(dir.empty()) << csidl;
    EXPECT_NE(dir.back(), '\\') << dir;
  }
}

// Names that code page 932 cannot spell come back as short names, which the services then accept.
TEST_F(Win32ServicesTest, UnspellableNamesComeBackAsShortNames) {
  std::string temp = sv.system.tempDirectory();
  std::wstring wtemp = win32::wide(temp);
  const std::wstring longName = L"Caf\u00e9 na\u00efve folder";
  ASSERT_TRUE(CreateDirectoryW((wtemp + longName).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  std::vector<DirEntry> found;
  ASSERT_EQ(sv.files.findFiles(temp + "Caf*", found), err::kSuccess);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name.find('?'), std::string::npos) << found[0].name;
  std::uint32_t a = 0;
  EXPECT_EQ(sv.files.getAttributes(temp + found[0].name, a), err::kSuccess) << found[0].name;
  EXPECT_TRUE(a & attr::kDirectory);

  std::string spelled = win32::narrowPath(wtemp + longName);
  EXPECT_EQ(spelled.find('?'), std::string::npos) << spelled;
  EXPECT_EQ(sv.files.getAttributes(spelled, a), err::kSuccess) << spelled;
  EXPECT_EQ(win32::narrowPath(wtemp + L"\u8868\u793a"), temp + "表示");  // spelled as it is
  RemoveDirectoryW((wtemp + longName).c_str());
}

TEST_F(Win32ServicesTest, CurrentDirectoryMovesAndRefusesMissingFolders) {
  const std::string before = sv.files.currentDirectory();
  std::string temp = sv.system.tempDirectory();
  temp.pop_back();  // the system reports folders other than a root without the final delimiter
  ASSERT_EQ(sv.files.setCurrentDirectory(temp), err::kSuccess);
  EXPECT_EQ(sv.files.currentDirectory(), temp);
  EXPECT_EQ(sv.files.setCurrentDirectory(temp + "\\NO_SUCH_FOLDER"), err::kPathNotFound);
  EXPECT_EQ(sv.files.currentDirectory(), temp);
  ASSERT_EQ(sv.files.setCurrentDirectory(before), err::kSuccess);
}

TEST_F(Win32ServicesTest, RegistryKeyTreeRefusesTheRoot) {
  EXPECT_EQ(sv.registry.deleteKeyTree(RegRoot::CurrentUser, ""), err::kInvalidParameter);
  EXPECT_TRUE(sv.registry.keyExists(RegRoot::CurrentUser, "Software"));
}

TEST_F(Win32ServicesTest, ProfileWriteIntoAMissingFolderFails) {
  std::string file = sv.system.tempDirectory() + "NO_SUCH_FOLDER\\P.INI";
  EXPECT_FALSE(sv.profiles.write(file, "S", "K", "V"));
  EXPECT_EQ(WritePrivateProfileStringA("S", "K", "V", file.c_str()), FALSE);
  EXPECT_EQ(sv.profiles.read(file, "S", "K", "d"), "d");
}

}  // namespace
}  // namespace plat

// Path-token expansion and the folder and copy primitives.
#include <string>
#include <vector>

#include "setup/support/file_primitives.h"
#include "setup/support/path_tokens.h"
#include "support_fixture.h"

namespace setup {
namespace {

class PathTokens : public testing::SupportTest {
 protected:
  void SetUp() override {
    SupportTest::SetUp();
    FolderTable& f = G().folders;
    f.ProgramFilesFolder = "C:\\Program Files\\";
    f.WindowsFolder = "C:\\WINDOWS\\";
    f.SystemFolder = "C:\\WINDOWS\\SYSTEM\\";
    f.TempFolder = "C:\\WINDOWS\\TEMP\\";
    f.BootDrive = "C:\\";
    f.SourceDrive = "D:\\";
    f.DesktopFolder = "C:\\WINDOWS\\デスクトップ\\";
    // A system without common folders: they take the user's.
    f.CommonDesktopFolder = f.DesktopFolder;
    f.StartMenuFolder = "C:\\WINDOWS\\スタート メニュー\\";
  }
};

struct ExpandCase {
  const char* name;
  std::string text;
  std::string expected;
};

TEST_F(PathTokens, ExpandsEveryTokenWithOneDelimiter) {
  const ExpandCase cases[] = {
      {"token, backslash, name", "(Win)\\SYSTEM", "C:\\WINDOWS\\SYSTEM"},
      {"token directly followed by the name", "(Win)SYSTEM", "C:\\WINDOWS\\SYSTEM"},
      {"token in lower case", "(win)\\A.TXT", "C:\\WINDOWS\\A.TXT"},
      {"two occurrences", "(Prg)\\A;(prg)\\B", "C:\\Program Files\\A;C:\\Program Files\\B"},
      {"user and common desktop alike", "(Dsk)\\X|(C_Dsk)\\X", "C:\\WINDOWS\\デスクトップ\\X|C:\\WINDOWS\\デスクトップ\\X"},
      {"setup drive not yet set keeps the backslash", "(Set)\\APP", "\\APP"},
      {"no tokens", "C:\\表\\ソフト", "C:\\表\\ソフト"},
      {"unknown word in parentheses", "(Xyz)\\A", "(Xyz)\\A"},
      {"value with a space", "(Smn)\\PROGRAM", "C:\\WINDOWS\\スタート メニュー\\PROGRAM"},
      {"only one delimiter dropped", "(Boo)\\\\A", "C:\\\\A"},
      // The app folder still holds its own token before a run sets it: inserted once, no loop.
      {"app folder before a run", "(App)\\BIN\\(App)", "(App)\\BIN\\(App)"},
  };
  for (const ExpandCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExpandPathTokens(c.text), c.expected);
  }
}

TEST_F(PathTokens, LaterTokensAreExpandedInsideEarlierValues) {
  G().folders.AppFolder = "(Prg)MAKER\\";
  EXPECT_EQ(ExpandPathTokens("(App)\\BIN\\(Win)"), "C:\\Program Files\\MAKER\\BIN\\C:\\WINDOWS\\");
  // An earlier token inside a later value stays: the rows are handled once, in order.
  G().folders.AppFolder = "C:\\APP\\";
  G().folders.SourceDrive = "(App)";
  EXPECT_EQ(ExpandPathTokens("(Edr)X"), "(App)X");
}

struct ReplaceCase {
  const char* name;
  std::string text;
  std::string token;
  std::string value;
  std::string expected;
};

TEST_F(PathTokens, ReplaceTokenReplacesEveryOccurrenceOnce) {
  const ReplaceCase cases[] = {
      {"marker stripped", "(Pdd)C:\\A\\(pdd)", "(Pdd)", "", "C:\\A\\"},
      {"value holding its own token", "A(X)B(X)", "(X)", "[(X)]", "A[(X)]B[(X)]"},
      {"value ending in a trail 0x5C keeps the delimiter", "(T)\\X", "(T)", "C:\\表", "C:\\表\\X"},
      {"value ending in a delimiter drops one", "(T)\\X", "(T)", "C:\\表\\", "C:\\表\\X"},
      {"token behind a lead byte is not matched", "\x83(T)", "(T)", "V", "\x83(T)"},
      {"empty token", "abc", "", "V", "abc"},
      {"adjacent occurrences", "(T)(T)", "(T)", "V\\", "V\\V\\"},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceToken(c.text, c.token, c.value), c.expected);
  }
}

TEST_F(PathTokens, SpecialFoldersComeFromTheShell) {
  machine().layout().specialFolders[plat::csidl::kDesktopDirectory] = "C:\\Users\\表\\Desktop";
  machine().layout().specialFolders.erase(plat::csidl::kCommonStartup);
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kDesktopDirectory), "C:\\Users\\表\\Desktop");
  EXPECT_EQ(GetSpecialFolder(plat::csidl::kCommonStartup), "");
}

using FilePrimitives = testing::SupportTest;

TEST_F(FilePrimitives, FolderExistsForFoldersOnly) {
  machine().putFile("C:\\WORK\\表\\A.TXT", "a");
  machine().putFolder("C:\\WORK\\EMPTY");
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {"C:\\WORK\\表", true},    {"C:\\WORK\\表\\", true},      {"C:\\WORK\\EMPTY", true},
      {"C:\\WORK\\EMPTY\\", true}, {"C:\\WORK\\表\\A.TXT", false}, {"C:\\WORK\\NONE", false},
      {"C:\\WORK\\NONE\\", false}, {"C:\\", true},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderExists(c.path), c.exists) << c.path;
}

TEST_F(FilePrimitives, CreateFolderPathMakesEveryLevel) {
  machine().putFolder("C:\\WORK");
  const auto before = machine().snapshot();
  EXPECT_TRUE(CreateFolderPath("C:\\WORK"));
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\"));
  EXPECT_EQ(describeDifferences(before, machine().snapshot()), "");

  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\A\\B\\C"));
  EXPECT_TRUE(machine().folderExists("C:\\WORK\\A\\B\\C"));

  // "ソ" ends in 0x5C: one folder of that full name, not a folder named by its lead byte.
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\ソフト\\表示\\"));
  EXPECT_TRUE(machine().folderExists("C:\\WORK\\ソフト\\表示"));
  std::vector<plat::DirEntry> entries;
  ASSERT_EQ(sys().files.findFiles("C:\\WORK\\*", entries), plat::err::kSuccess);
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_THAT(names, ::testing::UnorderedElementsAre(".", "..", "A", "ソフト"));
}

TEST_F(FilePrimitives, CreateFolderPathReportsFailure) {
  EXPECT_FALSE(CreateFolderPath("Q:\\NO\\DRIVE"));
  // A file in the way of a level.
  machine().putFile("C:\\WORK\\FILE", "x");
  EXPECT_FALSE(CreateFolderPath("C:\\WORK\\FILE\\SUB"));
  // A refused creation of the last level.
  machine().putFolder("C:\\WORK");
  machine().addFault({"createDirectory", "DENIED", 1, plat::err::kAccessDenied, false});
  EXPECT_FALSE(CreateFolderPath("C:\\WORK\\DENIED"));
  EXPECT_FALSE(machine().folderExists("C:\\WORK\\DENIED"));
}

TEST_F(FilePrimitives, CreateFolderPathAcceptsLevelsTheFolderTestCannotSee) {
  // A hidden folder holds only hidden entries for the folder test, yet it is there.
  machine().putFolder("C:\\WORK\\HIDDEN");
  ASSERT_EQ(sys().files.setAttributes("C:\\WORK\\HIDDEN", plat::attr::kDirectory | plat::attr::kHidden),
            plat::err::kSuccess);
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\HIDDEN\\"));
  EXPECT_TRUE(CreateFolderPath("C:\\WORK\\HIDDEN\\SUB"));
  EXPECT_TRUE(machine().folderExists("C:\\WORK\\HIDDEN\\SUB"));
}

TEST_F(FilePrimitives, CopyFileReplaceResetsAttributes) {
  machine().putFile("C:\\SRC\\A.DAT", "new contents");
  machine().putFile("C:\\DST\\A.DAT", "old");
  ASSERT_EQ(sys().files.setAttributes("C:\\DST\\A.DAT", plat::attr::kReadOnly | plat::attr::kHidden),
            plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\A.DAT"), plat::err::kSuccess);
  EXPECT_EQ(machine().readFile("C:\\DST\\A.DAT"), "new contents");
  std::uint32_t attributes = 0;
  ASSERT_EQ(sys().files.getAttributes("C:\\DST\\A.DAT", attributes), plat::err::kSuccess);
  EXPECT_EQ(attributes, plat::attr::kArchive);

  // A read-only source does not make a read-only copy.
  ASSERT_EQ(sys().files.setAttributes("C:\\SRC\\A.DAT", plat::attr::kReadOnly), plat::err::kSuccess);
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\B.DAT"), plat::err::kSuccess);
  ASSERT_EQ(sys().files.getAttributes("C:\\DST\\B.DAT", attributes), plat::err::kSuccess);
  EXPECT_EQ(attributes, plat::attr::kArchive);
}

TEST_F(FilePrimitives, CopyFileReplaceReturnsTheCopyError) {
  machine().putFolder("C:\\DST");
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\MISSING.DAT", "C:\\DST\\A.DAT"), plat::err::kFileNotFound);
  EXPECT_FALSE(machine().exists("C:\\DST\\A.DAT"));
  machine().putFile("C:\\SRC\\A.DAT", "x");
  machine().addFault({"copyFile", "", 1, plat::err::kDiskFull, false});
  EXPECT_EQ(CopyFileReplace("C:\\SRC\\A.DAT", "C:\\DST\\A.DAT"), plat::err::kDiskFull);
}

}  // namespace
}  // namespace setup

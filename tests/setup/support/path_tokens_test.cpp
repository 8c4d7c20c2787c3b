// Path-token expansion over the folder table.
#include <string>
#include <vector>

#include "setup/support/path_tokens.h"
#include "text_fixture.h"

namespace setup {
namespace {

class PathTokens : public testing::TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
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

}  // namespace
}  // namespace setup

// The POSIX machine's path handling: wildcards, host names on disk, case-blind look-up.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_machine.h"
#include "platform/sys/posix/wildcard.h"
#include "tests/platform/sys/posix_fixture.h"

namespace plat::posix {
namespace {

TEST(Wildcard, DosRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.*", "NOEXT", true},        {"*.*", "A.B.C", true},        {"*.", "NOEXT", true},
      {"*.", "A.TXT", false},        {"*.TXT", "a.txt", true},      {"*.TXT", "A.TXT.BAK", false},
      {"*.T?T", "A.TXT", true},      {"A?.TXT", "A.TXT", true},     {"A?.TXT", "AB.TXT", true},
      {"A?.TXT", "ABC.TXT", false},  {"NAME.*", "NAME", true},      {"NAME.*", "NAME.X", true},
      {"NAME.*", "NAMEX", false},    {"*AB*", "XXABYY", true},      {"*.INI", "X.INI", true},
      {"表*", "表示.TXT", true},     {"?.TXT", "表.TXT", true},     {"??.TXT", "表.TXT", true},
      // 83 41 and 83 61 differ only in what would be a letter's case
      {"ア*", "ヂ.TXT", false},      {"?", "表", true},
  };
  for (const Case& c : cases) EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(HostNames, ConvertAndEscapeReversibly) {
  struct Case {
    std::string cp932;
    std::string utf8;
  };
  const Case cases[] = {
      {"README.TXT", "README.TXT"},
      {"\x95\x5C", "\xE8\xA1\xA8"},                 // 表
      {"\xB1\xB2", "\xEF\xBD\xB1\xEF\xBD\xB2"},     // half-width ｱｲ
      {std::string("A\x80Z"), "A\xEF\x9E\x80Z"},    // 0x80 has no character: escaped
      {std::string("\xFD\x40"), "\xEF\x9F\xBD@"},   // nor has 0xFD
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toHostName(c.cp932), c.utf8);
    EXPECT_EQ(fromHostName(c.utf8), c.cp932);
  }
}

class PosixPaths : public MachineTest {};

TEST_F(PosixPaths, FilesAreStoredUnderUtf8NamesAndFoundWithoutCase) {
  machine().putFile("C:\\Program Files\\表示ソフト\\Readme.Txt", "x");
  EXPECT_TRUE(std::filesystem::exists(root() + "/C/Program Files/\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/Readme.Txt"));
  std::string data;
  EXPECT_EQ(machine().files().readFile("c:\\PROGRAM FILES\\表示ソフト\\README.TXT", data), 0u);
  EXPECT_EQ(machine().files().readFile("C:/Program Files/表示ソフト/./x/../readme.txt", data), 0u);
  // A new name is created as given; look-ups of the old one keep the stored spelling.
  ASSERT_EQ(machine().files().writeFile("C:\\NewName.Txt", "y"), 0u);
  std::vector<DirEntry> entries;
  ASSERT_EQ(machine().files().findFiles("C:\\NEWNAME.TXT", entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "NewName.Txt");
}

TEST_F(PosixPaths, UnconvertibleNamesSurvive) {
  const std::string odd = std::string("C:\\ODD\x80\xA0.TXT");
  ASSERT_EQ(machine().files().writeFile(odd, "odd"), 0u);
  std::vector<DirEntry> entries;
  ASSERT_EQ(machine().files().findFiles("C:\\ODD*", entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, std::string("ODD\x80\xA0.TXT"));
  EXPECT_EQ(machine().readFile(odd), "odd");
}

TEST_F(PosixPaths, BadPathsGiveTheSystemCodes) {
  struct Case {
    std::string path;
    ErrorCode code;
  };
  const Case cases[] = {
      {"Q:\\A.TXT", err::kPathNotFound},          // no such drive
      {"\\\\SERVER\\SHARE\\A.TXT", err::kBadPathName},
      {"", err::kPathNotFound},
      {"C:\\A<B.TXT", err::kInvalidName},
      {"C:\\A|B.TXT", err::kInvalidName},
  };
  for (const Case& c : cases) EXPECT_EQ(machine().files().writeFile(c.path, "x"), c.code) << c.path;
  std::uint32_t attributes;
  machine().putFile("C:\\F.TXT", "f");
  EXPECT_EQ(machine().files().getAttributes("C:\\F.TXT\\", attributes), err::kInvalidName);
  EXPECT_EQ(machine().files().createDirectory("C:\\F.TXT\\SUB"), err::kPathNotFound);
}

TEST_F(PosixPaths, FinalPeriodsAndBlanksAreDroppedButNotFromPatterns) {
  FileSystem& fs = machine().files();
  ASSERT_EQ(fs.writeFile("C:\\A.TXT.", "a"), 0u);
  ASSERT_EQ(fs.writeFile("C:\\B.TXT . ", "b"), 0u);
  ASSERT_EQ(fs.createDirectory("C:\\DIR."), 0u);
  ASSERT_EQ(fs.writeFile("C:\\DIR.\\F", "f"), 0u);
  EXPECT_EQ(machine().readFile("C:\\A.TXT"), "a");
  EXPECT_EQ(machine().readFile("C:\\B.TXT"), "b");
  EXPECT_EQ(machine().readFile("C:\\DIR\\F"), "f");
  machine().putFile("C:\\DIR\\NOEXT", "n");
  std::vector<DirEntry> entries;
  ASSERT_EQ(fs.findFiles("C:\\DIR\\*.", entries), 0u);
  std::set<std::string> names;
  for (const DirEntry& e : entries) names.insert(e.name);
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "F", "NOEXT"}));
}

TEST_F(PosixPaths, RelativePathsUseTheCurrentFolder) {
  machine().layout().currentDirectory = "C:\\WINDOWS";
  ASSERT_EQ(machine().files().writeFile("REL.TXT", "r"), 0u);
  EXPECT_TRUE(machine().fileExists("C:\\WINDOWS\\REL.TXT"));
  ASSERT_EQ(machine().files().writeFile("\\TOP.TXT", "t"), 0u);
  EXPECT_TRUE(machine().fileExists("C:\\TOP.TXT"));
  EXPECT_EQ(machine().files().currentDirectory(), "C:\\WINDOWS");
  machine().layout().currentDirectory.clear();
  machine().layout().programPath = "D:\\SETUP.EXE";
  EXPECT_EQ(machine().files().currentDirectory(), "D:\\");
}

TEST_F(PosixPaths, CaseOnlyRenameAndMoveBetweenDrives) {
  machine().putFile("C:\\case.txt", "c");
  ASSERT_EQ(machine().files().moveFile("C:\\case.txt", "C:\\CASE.TXT"), 0u);
  std::vector<DirEntry> entries;
  ASSERT_EQ(machine().files().findFiles("C:\\case.*", entries), 0u);
  EXPECT_EQ(entries.at(0).name, "CASE.TXT");
  machine().putMedium("D:\\", {{"M.TXT", "m"}});
  ASSERT_EQ(machine().files().moveFile("C:\\CASE.TXT", "D:\\MOVED.TXT"), 0u);
  EXPECT_EQ(machine().readFile("D:\\MOVED.TXT"), "c");
  machine().putFolder("C:\\TREE\\SUB");
  EXPECT_NE(machine().files().moveFile("C:\\TREE", "C:\\TREE\\SUB\\INSIDE"), 0u);
}

// Look-ups of another spelling go through the kept index of the folder; each case is a change
// that index must follow.
TEST_F(PosixPaths, CaseBlindLookUpFollowsEveryChange) {
  FileSystem& fs = machine().files();
  machine().putFolder("C:\\IDX");
  auto found = [&](const std::string& pattern) {
    std::vector<DirEntry> entries;
    fs.findFiles(pattern, entries);
    std::set<std::string> names;
    for (const DirEntry& e : entries) names.insert(e.name);
    return names;
  };
  // Warm the index, then change the folder in each way the machine can.
  EXPECT_TRUE(found("C:\\IDX\\a.txt").empty());
  ASSERT_EQ(fs.writeFile("C:\\IDX\\A.TXT", "a"), 0u);
  EXPECT_EQ(found("C:\\IDX\\a.txt"), std::set<std::string>{"A.TXT"});
  ASSERT_EQ(fs.copyFile("C:\\IDX\\a.txt", "C:\\IDX\\Copy.Txt", true), 0u);
  EXPECT_EQ(found("C:\\IDX\\COPY.TXT"), std::set<std::string>{"Copy.Txt"});
  ASSERT_EQ(fs.moveFile("C:\\IDX\\copy.txt", "C:\\IDX\\Moved.Txt"), 0u);
  EXPECT_TRUE(found("C:\\IDX\\COPY.TXT").empty());
  EXPECT_EQ(found("C:\\IDX\\MOVED.TXT"), std::set<std::string>{"Moved.Txt"});
  ASSERT_EQ(fs.deleteFile("C:\\IDX\\moved.txt"), 0u);
  EXPECT_TRUE(found("C:\\IDX\\MOVED.TXT").empty());
  EXPECT_EQ(fs.copyFile("C:\\IDX\\a.txt", "C:\\IDX\\moved.txt", true), 0u);  // not kept as existing

  // A folder deleted with its contents and made again holds nothing of the old one.
  ASSERT_EQ(fs.createDirectory("C:\\IDX\\Sub"), 0u);
  ASSERT_EQ(fs.writeFile("C:\\IDX\\Sub\\Old.Txt", "o"), 0u);
  EXPECT_EQ(found("C:\\IDX\\SUB\\OLD.TXT"), std::set<std::string>{"Old.Txt"});
  ASSERT_EQ(fs.shellDelete("C:\\IDX\\SUB"), 0u);
  ASSERT_EQ(fs.createDirectory("C:\\IDX\\SUB"), 0u);
  EXPECT_TRUE(found("C:\\IDX\\sub\\OLD.TXT").empty());

  // Another machine object on the same root sees this one's changes, and this one sees a
  // folder made on the host directly (the folder's link count changes with it).
  PosixMachine other(root(), machine().layout());
  ASSERT_EQ(other.files().writeFile("C:\\IDX\\FromOther.Txt", "f"), 0u);
  EXPECT_EQ(found("C:\\IDX\\FROMOTHER.TXT"), std::set<std::string>{"FromOther.Txt"});
  ASSERT_TRUE(std::filesystem::create_directory(root() + "/C/IDX/HostMade"));
  EXPECT_EQ(found("C:\\IDX\\HOSTMADE"), std::set<std::string>{"HostMade"});

  // Two host names the machine folds alike are both found by a plain name, as by a pattern.
  ASSERT_TRUE(std::filesystem::create_directory(root() + "/C/IDX/hostmade"));
  EXPECT_EQ(found("C:\\IDX\\HOSTMADE"), (std::set<std::string>{"HostMade", "hostmade"}));
  EXPECT_EQ(found("C:\\IDX\\HOSTMAD?"), (std::set<std::string>{"HostMade", "hostmade"}));
}

}  // namespace
}  // namespace plat::posix

// File-system contract: what every implementation must do the way the system does it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/platform/sys/test_machine.h"

namespace plat::testing {
namespace {

// Folder names whose second byte is "\" (0x5C) in CP932.
const char* const kTrailByteNames[] = {"表", "ソ", "能", "予"};

class FilesContract : public ::testing::Test {
 protected:
  void SetUp() override {
    machine = makeTestMachine();
    dir = machine->scratchFolder();
  }
  FileSystem& fs() { return machine->services().files; }
  std::string at(const std::string& name) const { return dir + "\\" + name; }
  void write(const std::string& name, const std::string& data) { ASSERT_EQ(fs().writeFile(at(name), data), 0u) << name; }
  std::string read(const std::string& path) {
    std::string data;
    EXPECT_EQ(fs().readFile(path, data), 0u) << path;
    return data;
  }
  std::set<std::string> names(const std::string& pattern, ErrorCode expected = 0) {
    std::vector<DirEntry> entries;
    EXPECT_EQ(fs().findFiles(pattern, entries), expected) << pattern;
    std::set<std::string> out;
    for (const DirEntry& e : entries) out.insert(e.name);
    return out;
  }

  std::unique_ptr<TestMachine> machine;
  std::string dir;
};

TEST_F(FilesContract, CreateDirectoryReportsTheSystemCodes) {
  write("FILE.TXT", "x");
  ASSERT_EQ(fs().createDirectory(at("EXISTS")), 0u);
  struct Case {
    std::string path;
    ErrorCode code;
  };
  const Case cases[] = {
      {at("NEW"), 0},
      {at("EXISTS"), err::kAlreadyExists},
      {at("exists"), err::kAlreadyExists},  // letter case is ignored
      {at("FILE.TXT"), err::kAlreadyExists},
      {at("MISSING\\CHILD"), err::kPathNotFound},
      {at("TRAIL") + "\\", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(fs().createDirectory(c.path), c.code) << c.path;
}

TEST_F(FilesContract, TrailByteNamesAreOneFolderEach) {
  for (const char* name : kTrailByteNames) {
    std::string folder = at(std::string(name) + "フォルダ");
    ASSERT_EQ(fs().createDirectory(folder), 0u) << name;
    ASSERT_EQ(fs().writeFile(folder + "\\" + name + ".TXT", name), 0u) << name;
    EXPECT_EQ(read(folder + "\\" + name + ".TXT"), name);
    std::uint32_t attributes = 0;
    ASSERT_EQ(fs().getAttributes(folder, attributes), 0u);
    EXPECT_TRUE(attributes & attr::kDirectory);
  }
  // Only the four folders exist: no folder was made of the lead byte alone.
  std::set<std::string> expected = {".", ".."};
  for (const char* name : kTrailByteNames) expected.insert(std::string(name) + "フォルダ");
  EXPECT_EQ(names(at("*")), expected);
}

TEST_F(FilesContract, NamesDifferingInATrailByteLetterAreDistinct) {
  // ア is 83 41 and ヂ is 83 61: folding the trail byte's case would make them one file.
  write("ア.TXT", "first");
  write("ヂ.TXT", "second");
  EXPECT_EQ(read(at("ア.TXT")), "first");
  EXPECT_EQ(read(at("ヂ.TXT")), "second");
  EXPECT_EQ(read(at("ア.txt")), "first");  // while ASCII letters ignore case
}

TEST_F(FilesContract, RemoveDirectoryOnlyWhenEmpty) {
  ASSERT_EQ(fs().createDirectory(at("EMPTY")), 0u);
  ASSERT_EQ(fs().createDirectory(at("FULL")), 0u);
  write("FULL\\A.TXT", "a");
  write("PLAIN.TXT", "p");
  struct Case {
    std::string path;
    ErrorCode code;
  };
  const Case cases[] = {
      {at("FULL"), err::kDirNotEmpty},
      {at("EMPTY") + "\\", 0},
      {at("EMPTY"), err::kFileNotFound},
      {at("NOPE\\CHILD"), err::kPathNotFound},
      {at("PLAIN.TXT"), err::kDirectory},
  };
  for (const Case& c : cases) EXPECT_EQ(fs().removeDirectory(c.path), c.code) << c.path;
}

TEST_F(FilesContract, FindFilesFollowsTheWildcardRules) {
  for (const char* name : {"A.TXT", "B.INI", "NOEXT", "LONG.NAME.TXT", "表.DAT"}) write(name, name);
  ASSERT_EQ(fs().createDirectory(at("SUB")), 0u);
  struct Case {
    std::string pattern;
    std::set<std::string> expected;
  };
  const std::set<std::string> all = {".", "..", "A.TXT", "B.INI", "NOEXT", "LONG.NAME.TXT", "表.DAT", "SUB"};
  const Case cases[] = {
      {"*", all},
      {"*.*", all},  // names without a dot as well
      {"*.TXT", {"A.TXT", "LONG.NAME.TXT"}},
      {"*.txt", {"A.TXT", "LONG.NAME.TXT"}},
      {"?.INI", {"B.INI"}},
      {"NOEXT.*", {"NOEXT"}},
      {"表.*", {"表.DAT"}},
      {"a.txt", {"A.TXT"}},
      {"S*", {"SUB"}},
  };
  for (const Case& c : cases) EXPECT_EQ(names(at(c.pattern)), c.expected) << c.pattern;
  names(at("*.ZIP"), err::kFileNotFound);
  names(at("MISSING\\*"), err::kPathNotFound);
}

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

TEST_F(FilesContract, SetCurrentDirectoryMovesRelativePaths) {
  ASSERT_EQ(fs().createDirectory(at("WORK")), 0u);
  write("WORK\\IN.TXT", "inside");
  write("FILE.TXT", "x");
  const std::string before = fs().currentDirectory();
  ASSERT_FALSE(before.empty());
  // The current folder belongs to the whole process: put it back whatever happens.
  struct Restore {
    FileSystem& fs;
    std::string folder;
    ~Restore() { fs.setCurrentDirectory(folder); }
  } restore{fs(), before};

  struct Case {
    std::string path;
    ErrorCode code;
  };
  const Case refused[] = {
      {at("MISSING"), err::kPathNotFound},
      {at("MISSING\\DEEPER"), err::kPathNotFound},
      {at("FILE.TXT"), err::kDirectory},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(fs().setCurrentDirectory(c.path), c.code) << c.path;
    EXPECT_EQ(fs().currentDirectory(), before) << "a refused change moved the current folder: " << c.path;
  }

  ASSERT_EQ(fs().setCurrentDirectory(at("work")), 0u);  // letter case is ignored
  EXPECT_EQ(upper(fs().currentDirectory()), upper(at("WORK")));
  EXPECT_EQ(read("IN.TXT"), "inside");
  ASSERT_EQ(fs().writeFile("MADE.TXT", "made"), 0u);
  EXPECT_EQ(read(at("WORK\\MADE.TXT")), "made");

  ASSERT_EQ(fs().setCurrentDirectory(".."), 0u);  // relative to the folder just set
  EXPECT_EQ(upper(fs().currentDirectory()), upper(dir));
  EXPECT_EQ(read("WORK\\IN.TXT"), "inside");
}

TEST_F(FilesContract, FindFilesReportsSizeAttributesAndTime) {
  write("DATA.BIN", std::string(1234, 'z'));
  write("SECRET.TXT", "s");
  ASSERT_EQ(fs().setAttributes(at("SECRET.TXT"), attr::kHidden | attr::kSystem), 0u);
  std::vector<DirEntry> entries;
  ASSERT_EQ(fs().findFiles(at("*.*"), entries), 0u);
  std::map<std::string, DirEntry> byName;
  for (const DirEntry& e : entries) byName[e.name] = e;
  ASSERT_EQ(byName.count("DATA.BIN"), 1u);
  ASSERT_EQ(byName.count("SECRET.TXT"), 1u);
  EXPECT_EQ(byName["DATA.BIN"].size, 1234u);
  FileStamp stamp;
  ASSERT_EQ(fs().stamp(at("DATA.BIN"), stamp), 0u);
  EXPECT_EQ(byName["DATA.BIN"].lastWrite, stamp.lastWrite);
  EXPECT_EQ(byName["SECRET.TXT"].attributes & (attr::kHidden | attr::kSystem), attr::kHidden | attr::kSystem);
  EXPECT_TRUE(byName["."].attributes & attr::kDirectory);
}

TEST_F(FilesContract, DriveRootSearchHasNoDotEntries) {
  std::set<std::string> found = names(dir.substr(0, 3) + "*");
  EXPECT_EQ(found.count("."), 0u);
  EXPECT_EQ(found.count(".."), 0u);
  EXPECT_FALSE(found.empty());
}

TEST_F(FilesContract, ReadAndWriteWholeFiles) {
  const std::string binary("\0\x01\x5C\x81\xFF\r\n", 7);
  write("表示.BIN", binary);
  EXPECT_EQ(read(at("表示.BIN")), binary);
  write("表示.BIN", "short");  // truncates
  EXPECT_EQ(read(at("表示.BIN")), "short");
  write("EMPTY.TXT", "");
  EXPECT_EQ(read(at("EMPTY.TXT")), "");
  std::string data;
  EXPECT_EQ(fs().readFile(at("NONE.TXT"), data), err::kFileNotFound);
  EXPECT_EQ(fs().readFile(at("NONE\\A.TXT"), data), err::kPathNotFound);
  EXPECT_EQ(fs().writeFile(at("NONE\\A.TXT"), "x"), err::kPathNotFound);
}

TEST_F(FilesContract, ReadOnlyRefusesWritesAndDeletes) {
  write("RO.TXT", "keep");
  ASSERT_EQ(fs().setAttributes(at("RO.TXT"), attr::kReadOnly), 0u);
  write("SRC.TXT", "new");
  EXPECT_EQ(fs().writeFile(at("RO.TXT"), "x"), err::kAccessDenied);
  EXPECT_EQ(fs().deleteFile(at("RO.TXT")), err::kAccessDenied);
  EXPECT_EQ(fs().copyFile(at("SRC.TXT"), at("RO.TXT"), false), err::kAccessDenied);
  EXPECT_EQ(read(at("RO.TXT")), "keep");
  std::uint32_t attributes = 0;
  ASSERT_EQ(fs().getAttributes(at("RO.TXT"), attributes), 0u);
  EXPECT_EQ(attributes & attr::kReadOnly, attr::kReadOnly);
  ASSERT_EQ(fs().setAttributes(at("RO.TXT"), attr::kArchive), 0u);
  EXPECT_EQ(fs().deleteFile(at("RO.TXT")), 0u);
}

TEST_F(FilesContract, DeleteFileCodes) {
  write("A.TXT", "a");
  ASSERT_EQ(fs().createDirectory(at("DIR")), 0u);
  EXPECT_EQ(fs().deleteFile(at("a.txt")), 0u);
  EXPECT_EQ(fs().deleteFile(at("A.TXT")), err::kFileNotFound);
  EXPECT_EQ(fs().deleteFile(at("NONE\\A.TXT")), err::kPathNotFound);
  EXPECT_EQ(fs().deleteFile(at("DIR")), err::kAccessDenied);
  std::uint32_t attributes;
  EXPECT_EQ(fs().getAttributes(at("A.TXT"), attributes), err::kFileNotFound);
  EXPECT_EQ(fs().getAttributes(at("NONE\\A.TXT"), attributes), err::kPathNotFound);
}

TEST_F(FilesContract, CopyKeepsDataAttributesAndTime) {
  write("SRC.TXT", "payload");
  const FileTime t = 125911584000000000ULL;  // 2000-01-01
  ASSERT_EQ(fs().setLastWriteTime(at("SRC.TXT"), t), 0u);
  ASSERT_EQ(fs().setAttributes(at("SRC.TXT"), attr::kHidden | attr::kArchive), 0u);
  ASSERT_EQ(fs().copyFile(at("SRC.TXT"), at("ソフト.TXT"), true), 0u);
  EXPECT_EQ(read(at("ソフト.TXT")), "payload");
  FileStamp stamp;
  ASSERT_EQ(fs().stamp(at("ソフト.TXT"), stamp), 0u);
  EXPECT_EQ(stamp.lastWrite, t);
  EXPECT_EQ(stamp.size, 7u);
  std::uint32_t attributes = 0;
  ASSERT_EQ(fs().getAttributes(at("ソフト.TXT"), attributes), 0u);
  EXPECT_EQ(attributes & (attr::kHidden | attr::kReadOnly), attr::kHidden);

  EXPECT_EQ(fs().copyFile(at("SRC.TXT"), at("ソフト.TXT"), true), err::kFileExists);
  write("OTHER.TXT", "other");
  EXPECT_EQ(fs().copyFile(at("OTHER.TXT"), at("ソフト.TXT"), false), 0u);
  EXPECT_EQ(read(at("ソフト.TXT")), "other");
  EXPECT_EQ(fs().copyFile(at("NONE.TXT"), at("X.TXT"), false), err::kFileNotFound);
  EXPECT_EQ(fs().copyFile(at("SRC.TXT"), at("NONE\\X.TXT"), false), err::kPathNotFound);
}

TEST_F(FilesContract, MoveRenamesAndRefusesAnExistingTarget) {
  write("A.TXT", "a");
  write("B.TXT", "b");
  EXPECT_EQ(fs().moveFile(at("A.TXT"), at("B.TXT")), err::kAlreadyExists);
  EXPECT_EQ(fs().moveFile(at("A.TXT"), at("予定.TXT")), 0u);
  EXPECT_EQ(read(at("予定.TXT")), "a");
  EXPECT_EQ(names(at("A.TXT"), err::kFileNotFound), std::set<std::string>{});
  EXPECT_EQ(fs().moveFile(at("A.TXT"), at("C.TXT")), err::kFileNotFound);
  ASSERT_EQ(fs().createDirectory(at("D1")), 0u);
  write("D1\\IN.TXT", "in");
  EXPECT_EQ(fs().moveFile(at("D1"), at("D2")), 0u);
  EXPECT_EQ(read(at("D2\\IN.TXT")), "in");
}

TEST_F(FilesContract, StampFollowsWritesAndSetTime) {
  write("S.TXT", "12345");
  const FileTime t = 126000000000000000ULL;
  ASSERT_EQ(fs().setLastWriteTime(at("S.TXT"), t), 0u);
  FileStamp stamp;
  ASSERT_EQ(fs().stamp(at("S.TXT"), stamp), 0u);
  EXPECT_EQ(stamp, (FileStamp{5, t}));
  write("S.TXT", "123");
  ASSERT_EQ(fs().stamp(at("S.TXT"), stamp), 0u);
  EXPECT_EQ(stamp.size, 3u);
  EXPECT_NE(stamp.lastWrite, t);
  EXPECT_EQ(fs().stamp(at("NONE.TXT"), stamp), err::kFileNotFound);
}

TEST_F(FilesContract, FreeSpaceOfTheScratchDrive) {
  std::uint64_t extended = 0, clusters = 0;
  ErrorCode e = fs().freeSpaceExtended(dir.substr(0, 3), extended);
  ASSERT_TRUE(e == 0 || e == err::kProcNotFound) << e;
  if (e == 0) {
    EXPECT_GT(extended, 0u);
  }
  ASSERT_EQ(fs().freeSpaceClusters(dir.substr(0, 3), clusters), 0u);
  EXPECT_GT(clusters, 0u);
}

TEST_F(FilesContract, ShellDeleteOfPathsAndPatterns) {
  for (const char* name : {"A.INI", "B.INI", "KEEP.TXT", "表\\C.INI", "表\\KEEP.TXT", "X.INI\\INSIDE.TXT"}) {
    std::string path = at(name);
    std::string parent = path.substr(0, path.rfind('\\'));
    fs().createDirectory(parent);
    write(name, name);
  }
  ASSERT_EQ(fs().setAttributes(at("B.INI"), attr::kReadOnly), 0u);
  EXPECT_EQ(fs().shellDelete(at("NONE.TXT")), err::kFileNotFound);
  EXPECT_EQ(fs().shellDelete(at("*.INI")), 0u);
  // Files and folders that match go, read-only ones included; others stay.
  EXPECT_EQ(names(at("*")), (std::set<std::string>{".", "..", "KEEP.TXT", "表"}));
  EXPECT_EQ(read(at("表\\KEEP.TXT")), "表\\KEEP.TXT");
  // A folder path deletes the folder with its contents.
  EXPECT_EQ(fs().shellDelete(at("表")), 0u);
  EXPECT_EQ(names(at("*")), (std::set<std::string>{".", "..", "KEEP.TXT"}));
  // "\*.*" empties a folder and leaves it.
  EXPECT_EQ(fs().shellDelete(dir + "\\*.*"), 0u);
  EXPECT_EQ(names(at("*")), (std::set<std::string>{".", ".."}));
}

TEST_F(FilesContract, LzExpandsCompressedFilesAndCopiesOthers) {
  // SZDD: signature, mode 'A', the missing last character, the length, then LZSS data:
  // three literals and a 6-byte back-reference to them (window position 0xFF0).
  const std::string compressed = std::string("SZDD\x88\xF0\x27\x33\x41T\x09\0\0\0", 14) + "\x07" "ABC" "\xF0\xF3";
  write("DATA.TX_", compressed);
  ASSERT_EQ(fs().lzExpand(at("DATA.TX_"), at("DATA.TXT")), 0u);
  EXPECT_EQ(read(at("DATA.TXT")), "ABCABCABC");
  std::string name;
  ASSERT_EQ(fs().lzExpandedName(at("DATA.TX_"), name), 0u);
  EXPECT_EQ(name, at("DATA.TXT"));

  write("PLAIN.TXT", "not compressed");
  ASSERT_EQ(fs().lzExpand(at("PLAIN.TXT"), at("COPY.TXT")), 0u);
  EXPECT_EQ(read(at("COPY.TXT")), "not compressed");
  ASSERT_EQ(fs().lzExpandedName(at("PLAIN.TXT"), name), 0u);
  EXPECT_EQ(name, at("PLAIN.TXT"));
  EXPECT_NE(fs().lzExpand(at("NONE.TX_"), at("NONE.TXT")), 0u);
}

}  // namespace
}  // namespace plat::testing

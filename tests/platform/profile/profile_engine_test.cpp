// The profile engine on a memory file system: parsing, name matching, rewrites and the cached copy.
#include <gtest/gtest.h>

#include <string>

#include "platform/sys/profile.h"
#include "tests/platform/profile/memory_files.h"

namespace plat {
namespace {

using plat::testing::MemoryFiles;

const char kFile[] = "C:\\P.INI";

struct ReadCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  const char* def;
  std::string expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesTheValueOrTheDefault) {
  const ReadCase& c = GetParam();
  MemoryFiles fs;
  fs.put(kFile, c.text);
  ProfileStore store(fs);
  EXPECT_EQ(store.read(kFile, c.section, c.key, c.def), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(
        ReadCase{"plain", "[S]\r\nK=V\r\n", "S", "K", "d", "V"},
        ReadCase{"names without ASCII case", "[Sec]\r\nKey=V\r\n", "sEC", "KEY", "d", "V"},
        ReadCase{"full-width letters keep their case", "[Ａ]\r\nK=V\r\n", "ａ", "K", "d", "d"},
        ReadCase{"second bytes never fold (ア is not ャ)", "[ア]\r\nK=V\r\n", "ャ", "K", "d", "d"},
        ReadCase{"trail byte 0x5D is not a closing bracket", "[ゼ]\r\nK=V\r\n", "ゼ", "K", "d", "V"},
        ReadCase{"blanks around names and values", "[S]\r\n  K \t=  V V  \r\n", " S ", " K ", "d", "V V"},
        ReadCase{"\\n line ends", "[S]\nA=1\nK=V\n", "S", "K", "d", "V"},
        ReadCase{"no final line end", "[S]\r\nK=V", "S", "K", "d", "V"},
        ReadCase{"value holding =", "[S]\r\nK=a=b\r\n", "S", "K", "d", "a=b"},
        ReadCase{"one pair of quotes removed", "[S]\r\nK=\"a b\"\r\n", "S", "K", "d", "a b"},
        ReadCase{"single quotes too", "[S]\r\nK='x'\r\n", "S", "K", "d", "x"},
        ReadCase{"unmatched quote kept", "[S]\r\nK=\"x\r\n", "S", "K", "d", "\"x"},
        ReadCase{"only the outer pair", "[S]\r\nK=\"\"x\"\"\r\n", "S", "K", "d", "\"x\""},
        ReadCase{"first duplicate section wins", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K", "d", "d"},
        ReadCase{"first duplicate key wins", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "d", "1"},
        ReadCase{"key without =", "[S]\r\nK\r\n", "S", "K", "d", "d"},
        ReadCase{"empty value", "[S]\r\nK=\r\n", "S", "K", "d", ""},
        ReadCase{"missing section", "[S]\r\nK=V\r\n", "T", "K", "400", "400"},
        ReadCase{"missing key, empty default", "[S]\r\nK=V\r\n", "S", "X", "", ""},
        ReadCase{"empty key name gives the default", "[S]\r\n=V\r\n", "S", "", "d", "d"},
        ReadCase{"default loses trailing blanks", "[S]\r\n", "S", "K", "d  ", "d"},
        ReadCase{"Japanese value", "[設定]\r\n表示=能力\r\n", "設定", "表示", "", "能力"},
        ReadCase{"header with text after ]", "[S] x\r\nK=V\r\n", "S", "K", "d", "V"}));

TEST(ProfileRead, MissingFileGivesTheDefault) {
  MemoryFiles fs;
  ProfileStore store(fs);
  EXPECT_EQ(store.read(kFile, "S", "K", "400"), "400");
  EXPECT_FALSE(store.contains(kFile, "S", "K"));
  EXPECT_EQ(fs.get(kFile), "<missing>");
}

TEST(ProfileRead, MultiMegabyteValueInOnePass) {
  MemoryFiles fs;
  std::string big(3 * 1024 * 1024, 'x');
  big[12345] = '=';
  fs.put(kFile, "[S]\r\nK=" + big + "\r\nL=1\r\n");
  ProfileStore store(fs);
  EXPECT_EQ(store.read(kFile, "S", "K", ""), big);
  EXPECT_EQ(store.read(kFile, "S", "L", ""), "1");
  EXPECT_EQ(fs.reads, 1);
}

struct WriteCase {
  const char* what;
  std::string before;  // "<missing>" for no file
  const char* section;
  const char* key;     // nullptr deletes the section
  const char* value;   // nullptr deletes the key
  std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, RewritesTheFile) {
  const WriteCase& c = GetParam();
  MemoryFiles fs;
  if (c.before != "<missing>") fs.put(kFile, c.before);
  ProfileStore store(fs);
  bool ok;
  if (!c.key) ok = store.deleteSection(kFile, c.section);
  else if (!c.value) ok = store.deleteKey(kFile, c.section, c.key);
  else ok = store.write(kFile, c.section, c.key, c.value);
  EXPECT_TRUE(ok) << c.what;
  EXPECT_EQ(fs.get(kFile), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"creates the file", "<missing>", "S", "K", "V", "[S]\r\nK=V\r\n"},
        WriteCase{"replaces a value, names keep their case", "[s]\r\nk=1\r\n", "S", "K", "2", "[s]\r\nk=2\r\n"},
        WriteCase{"adds a key at the end of its section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", "K", "V",
                  "[A]\r\nx=1\r\nK=V\r\n[B]\r\ny=2\r\n"},
        WriteCase{"adds a section at the end", "[A]\r\nx=1\r\n", "B", "K", "V", "[A]\r\nx=1\r\n[B]\r\nK=V\r\n"},
        WriteCase{"line ends become \\r\\n", "[A]\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"value's leading blanks dropped", "<missing>", "S", "K", "  V ", "[S]\r\nK=V \r\n"},
        WriteCase{"writes into the first duplicate section", "[S]\r\na=1\r\n[S]\r\nK=1\r\n", "S", "K", "2",
                  "[S]\r\na=1\r\nK=2\r\n[S]\r\nK=1\r\n"},
        WriteCase{"deletes a key", "[S]\r\na=1\r\nK=2\r\nb=3\r\n", "S", "k", nullptr, "[S]\r\na=1\r\nb=3\r\n"},
        WriteCase{"deletes a section", "[A]\r\nx=1\r\n[S]\r\nK=2\r\n[B]\r\n", "s", nullptr, nullptr,
                  "[A]\r\nx=1\r\n[B]\r\n"},
        WriteCase{"deleting a missing key leaves the file", "[S]\nK=1\n", "S", "X", nullptr, "[S]\nK=1\n"},
        WriteCase{"a bare lead byte keeps the blank after it, so the header survives",
                  "[a\x83\t]\r\nK=1\r\n", "T", "x", "1", "[a\x83\t]\r\nK=1\r\n[T]\r\nx=1\r\n"},
        WriteCase{"comments stay", ";c\r\n[S]\r\n;d\r\nK=1\r\n", "S", "K", "2", ";c\r\n[S]\r\n;d\r\nK=2\r\n"}));

TEST(ProfileWrite, TwoWritesInARowAreBothOnDisk) {
  MemoryFiles fs;
  ProfileStore store(fs);
  ASSERT_TRUE(store.write(kFile, "S", "A", "1"));
  ASSERT_TRUE(store.write(kFile, "S", "B", "2"));
  EXPECT_EQ(fs.get(kFile), "[S]\r\nA=1\r\nB=2\r\n");
}

TEST(ProfileWrite, FailedWriteReportsFalseAndKeepsTheDiskCopy) {
  MemoryFiles fs;
  fs.put(kFile, "[S]\r\nK=1\r\n");
  ProfileStore store(fs);
  fs.failWrites = err::kAccessDenied;
  EXPECT_FALSE(store.write(kFile, "S", "K", "2"));
  fs.failWrites = err::kSuccess;
  EXPECT_EQ(store.read(kFile, "S", "K", ""), "1");
}

TEST(ProfileCache, ChangeBehindTheStoreIsSeen) {
  MemoryFiles fs;
  fs.put(kFile, "[S]\r\nK=1\r\n");
  ProfileStore store(fs);
  EXPECT_EQ(store.read(kFile, "S", "K", ""), "1");
  // Same size, newer write time.
  fs.put(kFile, "[S]\r\nK=2\r\n");
  EXPECT_EQ(store.read(kFile, "S", "K", ""), "2");
  // Same write time, other size.
  fs.files[kFile].data = "[S]\r\nK=33\r\n";
  EXPECT_EQ(store.read(kFile, "S", "K", ""), "33");
  // Deleted behind our back.
  fs.files.erase(kFile);
  EXPECT_EQ(store.read(kFile, "S", "K", "gone"), "gone");
  // A write after an outside change keeps the outside change.
  fs.put(kFile, "[S]\r\nX=9\r\n");
  ASSERT_TRUE(store.write(kFile, "S", "K", "4"));
  EXPECT_EQ(fs.get(kFile), "[S]\r\nX=9\r\nK=4\r\n");
}

TEST(ProfileCache, UnchangedFileIsParsedOnce) {
  MemoryFiles fs;
  fs.put(kFile, "[S]\r\nK=1\r\n");
  ProfileStore store(fs);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(store.read(kFile, "S", "K", ""), "1");
  EXPECT_EQ(fs.reads, 1);
  store.flush();
  EXPECT_EQ(store.read(kFile, "S", "K", ""), "1");
  EXPECT_EQ(fs.reads, 2);
}

TEST(ProfileNames, ListsInFileOrder) {
  MemoryFiles fs;
  fs.put(kFile, "top=1\r\n[B]\r\nz=1\r\n;c=2\r\nnovalue\r\n\r\ny=2\r\n[A]\r\n[b]\r\nw=3\r\n");
  ProfileStore store(fs);
  EXPECT_EQ(store.sectionNames(kFile), (std::vector<std::string>{"B", "A", "b"}));
  EXPECT_EQ(store.keyNames(kFile, "b"), (std::vector<std::string>{"z", "y"}));
  EXPECT_TRUE(store.keyNames(kFile, "none").empty());
}

}  // namespace
}  // namespace plat

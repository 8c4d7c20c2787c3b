// The profile engine against the system's own private-profile functions: the same operations on two
// copies of the same file must give the same results and leave the same bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sys/profile.h"
#include "platform/sys/win32/win32_services.h"

namespace plat {
namespace {

enum class Kind { Read, Write, DeleteKey, DeleteSection, SectionNames, KeyNames };

struct Op {
  Kind kind;
  std::string section;
  std::string key;
  std::string value;  // the value written, or the default of a read
};

Op rd(std::string s, std::string k, std::string def = "<none>") { return {Kind::Read, s, k, def}; }
Op wr(std::string s, std::string k, std::string v) { return {Kind::Write, s, k, v}; }
Op delKey(std::string s, std::string k) { return {Kind::DeleteKey, s, k, ""}; }
Op delSection(std::string s) { return {Kind::DeleteSection, s, "", ""}; }
Op sections() { return {Kind::SectionNames, "", "", ""}; }
Op keys(std::string s) { return {Kind::KeyNames, s, "", ""}; }

const char kMissing[] = "\x01missing";

struct Case {
  const char* what;
  std::string initial;  // kMissing: no file
  std::vector<Op> ops;
};

// A list of zero-terminated names, as the system returns it, split up.
std::vector<std::string> splitList(const std::vector<char>& buf, DWORD n) {
  std::vector<std::string> names;
  std::string cur;
  for (DWORD i = 0; i < n; ++i) {
    if (buf[i] == '\0') {
      names.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(buf[i]);
    }
  }
  return names;
}

std::string readBytes(const std::string& path) {
  std::string data;
  Win32FileSystem fs;
  if (fs.readFile(path, data) != err::kSuccess) return kMissing;
  return data;
}

class ProfileDifferential : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    char dir[MAX_PATH * 2];
    WideCharToMultiByte(932, 0, tmp, -1, dir, sizeof dir, nullptr, nullptr);
    static int serial = 0;
    std::string base = std::string(dir) + "pdiff" + std::to_string(GetCurrentProcessId()) + "_" +
                       std::to_string(++serial);
    ours_ = base + "_E.INI";
    theirs_ = base + "_S.INI";
  }
  void TearDown() override {
    DeleteFileA(ours_.c_str());
    DeleteFileA(theirs_.c_str());
  }
  std::string ours_, theirs_;
};

TEST_P(ProfileDifferential, SameResultsAndBytes) {
  const Case& c = GetParam();
  Win32FileSystem fs;
  if (c.initial != kMissing) {
    ASSERT_EQ(fs.writeFile(ours_, c.initial), err::kSuccess);
    ASSERT_EQ(fs.writeFile(theirs_, c.initial), err::kSuccess);
  }
  ProfileStore store(fs);
  int step = 0;
  for (const Op& op : c.ops) {
    ++step;
    SCOPED_TRACE(std::string(c.what) + ", step " + std::to_string(step));
    switch (op.kind) {
      case Kind::Read: {
        std::vector<char> buf(1 << 20);
        DWORD n = GetPrivateProfileStringA(op.section.c_str(), op.key.c_str(), op.value.c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), theirs_.c_str());
        EXPECT_EQ(store.read(ours_, op.section, op.key, op.value), std::string(buf.data(), n));
        break;
      }
      case Kind::Write: {
        BOOL sys = WritePrivateProfileStringA(op.section.c_str(), op.key.c_str(), op.value.c_str(), theirs_.c_str());
        EXPECT_EQ(store.write(ours_, op.section, op.key, op.value), sys != FALSE);
        break;
      }
      case Kind::DeleteKey: {
        BOOL sys = WritePrivateProfileStringA(op.section.c_str(), op.key.c_str(), nullptr, theirs_.c_str());
        EXPECT_EQ(store.deleteKey(ours_, op.section, op.key), sys != FALSE);
        break;
      }
      case Kind::DeleteSection: {
        BOOL sys = WritePrivateProfileStringA(op.section.c_str(), nullptr, nullptr, theirs_.c_str());
        EXPECT_EQ(store.deleteSection(ours_, op.section), sys != FALSE);
        break;
      }
      case Kind::SectionNames: {
        std::vector<char> buf(1 << 16);
        DWORD n = GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), theirs_.c_str());
        EXPECT_EQ(store.sectionNames(ours_), splitList(buf, n));
        break;
      }
      case Kind::KeyNames: {
        std::vector<char> buf(1 << 16);
        DWORD n = GetPrivateProfileStringA(op.section.c_str(), nullptr, "", buf.data(),
                                           static_cast<DWORD>(buf.size()), theirs_.c_str());
        EXPECT_EQ(store.keyNames(ours_, op.section), splitList(buf, n));
        break;
      }
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs_.c_str());  // the system's cache to disk
    EXPECT_EQ(readBytes(ours_), readBytes(theirs_));
  }
}

const std::string kBasic = "; comment\r\n[Setup]\r\nTitle=Pagina\r\nPath = C:\\Prog \r\n\r\n[Files]\r\nA=1\r\n";
const std::string v300(300, 'v');
const std::string v255(255, 'w');

INSTANTIATE_TEST_SUITE_P(
    Reads, ProfileDifferential,
    ::testing::Values(
        Case{"missing file", kMissing, {rd("S", "K", "400"), rd("S", "K", ""), sections(), keys("S")}},
        Case{"present, missing, case", kBasic,
             {rd("Setup", "Title"), rd("SETUP", "title"), rd("setup", "Nope", "400"), rd("Nope", "Title"),
              rd("Setup", "Path"), rd(" Setup ", " Path "), rd("Files", "a"), rd("Setup", "; comment"),
              rd("", "Title"), rd("Setup", ""), sections(), keys("setup"), keys("Files")}},
        Case{"blanks, tabs, ^Z around names and values",
             "[ S ]\r\n\t K \t= \t v w \t\r\n[T]  \r\n k2=\x1a x \x1a\r\n",
             {rd("S", "K"), rd(" S ", "K"), rd("T", "k2"), sections(), keys(" S ")}},
        Case{"comments",
             ";[S]\r\n[S]\r\n;K=1\r\nK=2\r\n# H=3\r\n;x\r\n",
             {rd("S", "K"), rd("S", ";K"), rd("S", "# H"), rd("S", ";x", "d"), keys("S"), sections()}},
        Case{"duplicate sections and keys",
             "[S]\r\nA=1\r\nK=first\r\n[T]\r\nB=2\r\n[s]\r\nK=second\r\nC=3\r\n[S]\r\nK=third\r\n",
             {rd("S", "K"), rd("S", "C", "none"), rd("S", "A"), sections(), keys("S")}},
        Case{"values with = and quotes",
             "[S]\r\nA=x=y\r\nB==\r\nC=\"q\"\r\nD='q'\r\nE=\"q'\r\nF=\"\r\nG=\"\"\r\nH=\"a\"b\"\r\nI= \" sp \" \r\n"
             "J=\"\"\"\r\n",
             {rd("S", "A"), rd("S", "B"), rd("S", "C"), rd("S", "D"), rd("S", "E"), rd("S", "F"), rd("S", "G"),
              rd("S", "H"), rd("S", "I"), rd("S", "J"), rd("S", "Z", "\"dq\""), rd("S", "Z", "d  "),
              rd("S", "Z", "  d")}},
        Case{"lines: \\n, \\r only, no final line end",
             "[S]\nA=1\n[T]\nB=2", {rd("S", "A"), rd("T", "B"), sections()}},
        Case{"lines: \\r only", "[S]\rA=1\r[T]\rB=2\r", {rd("S", "A"), rd("T", "B"), sections()}},
        Case{"lines: mixed", "[S]\r\nA=1\rB=2\n\n\r\nC=3", {rd("S", "A"), rd("S", "B"), rd("S", "C"), keys("S")}},
        Case{"odd headers and keys",
             "top=0\r\n[S\r\nX=1\r\n[T]junk\r\nY=2\r\n[]\r\nZ=3\r\n[a]b]\r\nW=4\r\nnoequals\r\n=novalue\r\n",
             {rd("", "top"), rd("S", "X"), rd("[S", "X"), rd("T", "Y"), rd("", "Z"), rd("a]b", "W"), rd("a", "W"),
              rd("a]b", "noequals", "d"), sections(), keys("a]b"), keys("")}},
        Case{"Japanese names and values",
             "[設定]\r\n表示=能力\r\nソ=予\r\n[ＡＢ]\r\nｘ=全角\r\n[ア]\r\nK=a\r\n",
             {rd("設定", "表示"), rd("設定", "ソ"), rd("ａｂ", "Ｘ"), rd("ＡＢ", "ｘ"), rd("ャ", "K", "none"),
              rd("ア", "k"), sections(), keys("設定")}},
        Case{"wide letters: which fold",
             "[ＡＢ]\r\nｘ=1\r\n[Αβ]\r\nК=2\r\n[ab]\r\nＫ=3\r\n",
             {rd("ａｂ", "ｘ"), rd("ＡＢ", "Ｘ"), rd("αΒ", "К"), rd("Αβ", "к"), rd("AB", "Ｋ"), rd("ab", "ｋ")}},
        Case{"lines holding only blanks", "[A]\r\nx=1\r\n   \r\n\t\r\ny=2\r\n \r\n[B]\r\n",
             {rd("A", "y"), keys("A"), wr("A", "z", "3")}},
        Case{"long values", "[S]\r\nA=" + v300 + "\r\nB=" + v255 + "\r\n", {rd("S", "A"), rd("S", "B")}}));

INSTANTIATE_TEST_SUITE_P(
    Writes, ProfileDifferential,
    ::testing::Values(
        Case{"create the file", kMissing, {wr("S", "K", "V"), rd("S", "K")}},
        Case{"create file, two sections", kMissing, {wr("S", "K", "V"), wr("T", "K", "W"), wr("S", "L", "X")}},
        Case{"new key, new section, rewrite", kBasic,
             {wr("Setup", "New", "1"), wr("Other", "K", "2"), wr("setup", "TITLE", "Changed"),
              wr("Setup", "Title", "Changed")}},
        Case{"new key after trailing blank lines", "[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n\r\n",
             {wr("A", "k", "v"), wr("B", "k", "v")}},
        Case{"blank lines collapse on rewrite", "\r\n\r\n[A]\r\n\r\n\r\nx=1\r\n\r\n\r\n", {wr("A", "x", "2")}},
        Case{"blanks in written names and values", kMissing,
             {wr(" S ", " K ", "  v  "), rd("S", "K"), wr("S", "K", "\tw"), wr("S", "K2", "")}},
        Case{"write to duplicate section", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", {wr("S", "K", "3"), wr("s", "A", "4")}},
        Case{"write to duplicate key", "[S]\r\nK=1\r\nK=2\r\n", {wr("S", "K", "3")}},
        Case{"write same value", "[S]\nK=1\n", {wr("S", "K", "1")}},
        Case{"write key that had no =", "[S]\r\nK\r\n", {wr("S", "K", "v")}},
        Case{"write values with = and quotes", kMissing,
             {wr("S", "A", "x=y"), wr("S", "B", "\"q\""), rd("S", "B"), wr("S", "C", "'")}},
        Case{"write long values", kMissing, {wr("S", "A", v300), wr("S", "B", v255), rd("S", "A"), rd("S", "B")}},
        Case{"write Japanese", kMissing, {wr("設定", "表示", "能力"), wr("設定", "ソ", "予"), rd("設定", "表示")}},
        Case{"file without final line end", "[S]\r\nK=1", {wr("S", "L", "2")}},
        Case{"\\n file", "[S]\nK=1\n;c\n", {wr("S", "K", "2")}},
        Case{"write into keys before the first section", "a=1\r\n[S]\r\n", {wr("", "a", "2"), wr("", "b", "3")}},
        Case{"write empty section name", "[S]\r\nK=1\r\n", {wr("", "k", "v")}},
        Case{"line breaks inside a written value", kMissing,
             {wr("S", "K", "a\r\n[T]\r\nx=1"), rd("S", "K"), rd("T", "x"), sections()}},
        Case{"header only, then a key", "[S]", {wr("S", "K", "V")}},
        Case{"brackets inside names", "[[S]]\r\nK[1]=v\r\n", {rd("[S]", "K[1]"), wr("[S]", "K[2]", "w"), sections()}},
        Case{"write empty key name", "[S]\r\nK=1\r\n", {wr("S", "", "v")}}));

INSTANTIATE_TEST_SUITE_P(
    Deletes, ProfileDifferential,
    ::testing::Values(
        Case{"delete key", kBasic, {delKey("setup", "TITLE"), rd("Setup", "Title", "gone"), delKey("Setup", "Nope")}},
        Case{"delete key in duplicate sections", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n[S]\r\nK=3\r\n",
             {delKey("S", "K"), rd("S", "K", "none"), delKey("S", "K")}},
        Case{"delete duplicate key", "[S]\r\nK=1\r\nK=2\r\n", {delKey("S", "K"), rd("S", "K")}},
        Case{"delete key with blanks in the name", "[S]\r\nK=1\r\n", {delKey(" S ", " K ")}},
        Case{"delete section", kBasic, {delSection("SETUP"), rd("Setup", "Title", "gone"), sections()}},
        Case{"delete duplicate sections", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nB=2\r\n", {delSection("S"), sections()}},
        Case{"delete missing section", "[S]\nA=1\n", {delSection("T")}},
        Case{"delete in a missing file", kMissing, {delKey("S", "K"), delSection("S")}},
        Case{"delete section with blanks in the name", "[S]\r\nK=1\r\n", {delSection(" S ")}},
        Case{"delete before the first section", "a=1\r\nb=2\r\n[S]\r\na=3\r\n",
             {delKey("", "a"), rd("", "a", "gone"), delSection(""), rd("", "b", "gone"), rd("S", "a")}},
        Case{"delete the last key of a section", "[S]\r\nK=1\r\n[T]\r\nL=2\r\n", {delKey("S", "K"), keys("S")}}));

}  // namespace
}  // namespace plat

// The record writer: slot numbering and merging, and the indexed writer against the plain
// walk-the-record algorithm, byte for byte.
#include <gtest/gtest.h>

#include "setup/engine/record_writer.h"
#include "setup/support/uIniFile.h"
#include "tests/setup/engine/install/install_fixture.h"

namespace setup::testing {
namespace {

using RecordWriter = InstallTest;

// The straightforward algorithm: every entry walks the record from number 1 and goes through
// one profile read and one profile write.
int ReferenceSlot(const std::string& entry, const std::string& section, const std::string& word,
                  const std::string& file) {
  auto cut = [](const std::string& v) { return v.substr(0, v.find(',')); };
  auto upper = [](std::string v) {
    for (char& c : v)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return v;
  };
  for (int n = 1;; ++n) {
    std::string v = cut(ReadProfileValue(section, word + std::to_string(n), "", file));
    if (v.empty() || upper(v) == upper(cut(entry))) return n;
  }
}

void ReferenceList(const std::string& list, const std::string& section, const std::string& word, bool shared,
                   const std::string& file) {
  std::string rest = list;
  for (std::size_t bar; (bar = rest.find('|')) != std::string::npos; rest.erase(0, bar + 1)) {
    std::string entry = rest.substr(0, bar);
    int n = ReferenceSlot(entry, section, word, file);
    if (shared) {
      std::string stored = ReadProfileValue(section, word + std::to_string(n), "", file);
      auto has = [](const std::string& t, const char* w) {
        std::string u = t;
        for (char& c : u)
          if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return u.find(w) != std::string::npos;
      };
      if (has(stored, "/S") && !has(entry, "/S")) entry += has(entry, ",/") ? "/S" : ",/S";
    }
    WriteProfileValue(section, word + std::to_string(n), entry, file);
  }
}

void ReferenceRecord(const InstallState& s, const std::string& option, const std::string& key, const std::string& file) {
  const char* info[4] = {"Vornik Setup 98 UnSetup(UnInstall) Initialize File", "！！！　警告　！！！",
                         "このファイルをエディタなどで書き換えたり，削除しないでください．",
                         "書き換えた場合，アンセットアップ動作の保証はできません．"};
  for (int i = 0; i < 4; ++i) WriteProfileValue("Information", "Message" + std::to_string(i + 1), info[i], file);
  WriteProfileValue("Title", "UnSetup", G().startup.UnSetupTitle, file);
  WriteProfileValue("SetupFolder", "Folder", s.setupFolder, file);
  ReferenceList(s.deleteFolders, "DeleteFolder", "Folder", false, file);
  ReferenceList(s.deleteFiles, "DeleteFile", "File", true, file);
  ReferenceList(s.deleteShortcuts, "DeleteShortCut", "File", false, file);
  ReferenceList(s.deleteRegistry, "DeleteRegistry", "Key", false, file);
  for (int i = 0; i < 20; ++i)
    if (!s.restoreRelate[i].empty()) WriteProfileValue("RestoreRelate", "Key" + std::to_string(i + 1), s.restoreRelate[i], file);
  if (!option.empty()) WriteProfileValue("UnSetupOption", "CheckBox", option, file);
  WriteProfileValue("UnSetupRegistryKey", "Key", key, file);
  WriteProfileValue("ProgramID", "ID", G().startup.ProgramID, file);
}

// A few hundred entries with repeated paths in other letter case, flags that merge, empty path
// parts and empty entries, in every list.
InstallState BusyLists() {
  InstallState s;
  s.setupFolder = "C:\\Program Files\\Sample\\";
  unsigned seed = 7;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) % 1000; };
  const char* flags[] = {"", ",/S", ",/R", ",/S/R", ",/W", ",/s", ",/C/S"};
  for (int i = 0; i < 200; ++i) {
    int path = static_cast<int>(next() % 150);
    std::string name = "C:\\Program Files\\Sample\\" + std::string(path % 3 ? "file" : "FILE") + std::to_string(path) + ".dat";
    std::string entry = name + flags[next() % 7];
    if (next() % 97 == 0) entry = ",/S";
    if (next() % 89 == 0) entry = "";
    s.deleteFiles += entry + "|";
    if (i % 3 == 0) s.deleteFolders += "C:\\Program Files\\Sample\\D" + std::to_string(next() % 60) + "\\|";
    if (i % 3 == 1) s.deleteShortcuts += "C:\\WINDOWS\\Start Menu\\表" + std::to_string(next() % 40) + ".lnk|";
    if (i % 4 == 0) s.deleteRegistry += "(Local)SOFTWARE\\K" + std::to_string(next() % 30) + "|";
  }
  s.deleteFiles += "C:\\Program Files\\Sample\\UNSETUP.INI|";
  s.restoreRelate[0] = "smp,smpfile";
  s.restoreRelate[4] = "txt,";
  return s;
}

TEST_F(RecordWriter, IndexedWriterMatchesTheWalkByteForByte) {
  machine().putFolder("C:\\R");
  InstallState s = BusyLists();
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample";
  WriteRecordFile(s, "C:\\R\\FAST.INI", "1,0,0,0", key, nullptr);
  ReferenceRecord(s, "1,0,0,0", key, "C:\\R\\SLOW.INI");
  EXPECT_EQ(s.failureCount, 0);
  const std::string fast = machine().readFile("C:\\R\\FAST.INI");
  EXPECT_EQ(fast, machine().readFile("C:\\R\\SLOW.INI"));
  EXPECT_NE(fast.find("[DeleteFile]\r\nFile1="), std::string::npos);

  // Over a record that is still there (it could not be deleted), entries merge into it the same way.
  const std::string old = "[DeleteFile]\r\nFile1=C:\\Program Files\\Sample\\file5.dat,/S\r\nFile2=,/S\r\n"
                          "File3=C:\\OLD.TXT\r\n; note\r\n[Other]\r\nx=1\r\n";
  machine().putFile("C:\\R\\FAST2.INI", old);
  machine().putFile("C:\\R\\SLOW2.INI", old);
  sys().profiles.flush();
  WriteRecordFile(s, "C:\\R\\FAST2.INI", "", key, nullptr);
  ReferenceRecord(s, "", key, "C:\\R\\SLOW2.INI");
  EXPECT_EQ(machine().readFile("C:\\R\\FAST2.INI"), machine().readFile("C:\\R\\SLOW2.INI"));
}

TEST_F(RecordWriter, SlotsAndMerging) {
  machine().putFile("C:\\R\\U.INI", "[DeleteFile]\r\nFile1=C:\\A.TXT,/S\r\nFile2=C:\\b.txt\r\nFile3=,/R\r\nFile4=C:\\D.TXT\r\n");
  sys().profiles.flush();
  struct Case {
    std::string entry;
    int slot;
  } cases[] = {{"c:\\a.txt,/R", 1}, {"C:\\B.TXT", 2}, {"C:\\D.TXT", 3}, {"C:\\NEW.TXT", 3}, {",/S", 3}, {"", 3}};
  for (const auto& c : cases) EXPECT_EQ(FindRecordSlot(c.entry, "DeleteFile", "File", "C:\\R\\U.INI"), c.slot) << c.entry;

  RecordSectionIndex index({"C:\\A.TXT,/S", "C:\\b.txt", ",/R", "C:\\D.TXT"});
  for (const auto& c : cases) EXPECT_EQ(index.Slot(c.entry), c.slot) << c.entry;
  index.Store(3, "C:\\E.TXT");  // filling the gap makes the walk reach number 4 again
  EXPECT_EQ(index.Slot("c:\\d.txt"), 4);
  EXPECT_EQ(index.Slot("C:\\F.TXT"), 5);

  // "ポ" ends in 0x7C, the byte of "|"; an entry without its "|" is no entry.
  EXPECT_EQ(SplitRecordList("C:\\ポ.TXT|B||C"), (std::vector<std::string>{"C:\\ポ.TXT", "B", ""}));
  EXPECT_TRUE(SplitRecordList("").empty());

  struct Merge {
    std::string entry, stored, result;
  } merges[] = {{"C:\\A", "C:\\A,/S", "C:\\A,/S"},
                {"C:\\A,/R", "C:\\A,/S", "C:\\A,/R/S"},
                {"C:\\A,/r", "C:\\A,/s/C", "C:\\A,/r/S"},
                {"C:\\A,/S/R", "C:\\A", "C:\\A,/S/R"},
                {"C:\\A,/W", "", "C:\\A,/W"},
                {"C:\\A,x", "C:\\A,/S", "C:\\A,x,/S"}};
  for (const auto& m : merges) EXPECT_EQ(MergeSharedFlag(m.entry, m.stored), m.result) << m.entry;
}

TEST_F(RecordWriter, RecordThatCannotBeWrittenIsLogged) {
  machine().putFolder("C:\\R");
  machine().addFault({"writeFile", "FAST.INI", 1, plat::err::kDiskFull, true});
  InstallState s;
  s.deleteFiles = "C:\\A|";
  WriteRecordFile(s, "C:\\R\\FAST.INI", "", "K", nullptr);
  EXPECT_EQ(s.failureCount, 1);
  EXPECT_EQ(s.failureLog.rfind("<SetupFile> C:\\R\\FAST.INI\r\n", 0), 0u) << s.failureLog;
}

}  // namespace
}  // namespace setup::testing

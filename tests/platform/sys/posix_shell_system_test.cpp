// Shell and system services of the POSIX machine: links read by a third-party reader, the
// journal, libraries, LZ files made by a third-party compressor, messages and mappings.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/sys/posix/cp932.h"
#include "tests/platform/sys/posix_fixture.h"

namespace plat::posix {
namespace {

class ShellSystem : public MachineTest {
 protected:
  // Runs a host command; its standard output converted to CP932.
  static std::string run(const std::string& command, int& status) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    status = ::pclose(p);
    return fromHostName(out);
  }
};

TEST_F(ShellSystem, LinksAreReadByLnkinfo) {
  const std::string target = "C:\\Program Files\\表示ソフト\\PaginaV1.exe";
  machine().putFile(target, "MZ");
  ShellLinkData link;
  link.target = target;
  link.arguments = "\"C:\\予定\\本.pgd\"";
  link.workingDirectory = "C:\\Program Files\\表示ソフト";
  link.description = "画像ブック ビューア";
  link.iconPath = target;
  const std::string linkPath = machine().shell().specialFolder(csidl::kDesktopDirectory) + "\\ビューア.lnk";
  ASSERT_EQ(machine().shell().createShellLink(linkPath, link), 0u);
  int status = -1;
  std::string out = run("lnkinfo '" + machine().hostPath(linkPath) + "'", status);
  ASSERT_EQ(status, 0) << out;
  for (const char* line :
       {"Local path\t\t\t: C:\\Program Files\\表示ソフト\\PaginaV1.exe\n",
        "Working directory\t\t: C:\\Program Files\\表示ソフト\n",
        "Command line arguments\t\t: \"C:\\予定\\本.pgd\"\n",
        "Description\t\t\t: 画像ブック ビューア\n",
        "Relative path\t\t\t: ..\\..\\..\\..\\Program Files\\表示ソフト\\PaginaV1.exe\n",
        "File size\t\t\t: 2 bytes\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

TEST_F(ShellSystem, ReadShellLinkRefusesOtherFiles) {
  machine().putFile("C:\\FAKE.lnk", "not a link at all, but long enough to hold a header..........................");
  ShellLinkData link;
  EXPECT_NE(machine().shell().readShellLink("C:\\FAKE.lnk", link), 0u);
  EXPECT_EQ(machine().shell().readShellLink("C:\\NONE.lnk", link), err::kFileNotFound);
}

TEST_F(ShellSystem, JournalRecordsRequestsWithoutFiles) {
  machine().putFile("C:\\APP\\RUN.EXE", "MZ");
  machine().putFile("C:\\APP\\README.TXT", "r");
  machine().layout().restartAnswer = 6;
  Shell& shell = machine().shell();
  EXPECT_EQ(shell.execute("open", "RUN.EXE", "/x", "C:\\APP"), 0u);  // found in the given folder
  EXPECT_EQ(shell.execute("", "C:\\APP\\README.TXT", "", ""), 0u);
  EXPECT_EQ(shell.execute("open", "https://example.jp/pagina/", "", ""), 0u);
  EXPECT_EQ(shell.execute("open", "C:\\APP\\NONE.EXE", "", ""), err::kFileNotFound);
  EXPECT_EQ(shell.execute("open", "C:\\NONE\\NONE.EXE", "", ""), err::kPathNotFound);
  shell.changeNotify(0x08000000, 0, "");
  EXPECT_EQ(shell.restartDialog(), 6);
  EXPECT_TRUE(machine().system().playSound("C:\\APP\\README.TXT"));
  EXPECT_FALSE(machine().system().playSound("C:\\APP\\NONE.WAV"));
  const std::vector<JournalEntry> expected = {
      {"execute", {"open", "RUN.EXE", "/x", "C:\\APP"}},
      {"execute", {"", "C:\\APP\\README.TXT", "", ""}},
      {"execute", {"open", "https://example.jp/pagina/", "", ""}},
      {"changeNotify", {"134217728", "0", ""}},
      {"restartDialog", {}},
      {"playSound", {"C:\\APP\\README.TXT"}},
  };
  EXPECT_EQ(machine().journal(), expected);
}

TEST_F(ShellSystem, ElfLibrariesStandInForDlls) {
  std::ifstream in(PAGINA_TEST_EXPORT_LIBRARY, std::ios::binary);
  ASSERT_TRUE(in) << PAGINA_TEST_EXPORT_LIBRARY;
  std::stringstream bytes;
  bytes << in.rdbuf();
  machine().putFile("C:\\WINDOWS\\SYSTEM32\\表示.DLL", bytes.str());
  machine().putFile("C:\\WINDOWS\\SYSTEM32\\BROKEN.DLL", "MZ not an ELF file");
  struct Case {
    std::string path, name;
    LibraryCallStatus status;
    std::int32_t result;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\SYSTEM32\\表示.DLL", "DllRegisterServer", LibraryCallStatus::Called, 0},
      {"c:\\windows\\system32\\表示.dll", "DllUnregisterServer", LibraryCallStatus::Called, -2147467259},
      {"C:\\WINDOWS\\SYSTEM32\\表示.DLL", "DllInstall", LibraryCallStatus::ExportMissing, 0},
      {"C:\\WINDOWS\\SYSTEM32\\BROKEN.DLL", "DllRegisterServer", LibraryCallStatus::LoadFailed, 0},
      {"C:\\WINDOWS\\SYSTEM32\\NONE.DLL", "DllRegisterServer", LibraryCallStatus::LoadFailed, 0},
  };
  for (const Case& c : cases) {
    std::int32_t result = 12345;
    EXPECT_EQ(machine().system().callExport(c.path, c.name, result), c.status) << c.path << " " << c.name;
    if (c.status == LibraryCallStatus::Called) {
      EXPECT_EQ(result, c.result) << c.name;
    }
  }
}

TEST_F(ShellSystem, ExpandsFilesMadeByMscompress) {
  std::string original;
  for (int i = 0; i < 200; ++i) original += "ページ " + std::to_string(i % 17) + " of the sample book\r\n";
  const std::string host = temp() + "/BOOK.TXT";
  { std::ofstream(host, std::ios::binary) << original; }
  int status = -1;
  run("cd '" + temp() + "' && mscompress BOOK.TXT", status);
  ASSERT_EQ(status, 0);
  std::ifstream in(host + "_", std::ios::binary);
  std::stringstream compressed;
  compressed << in.rdbuf();
  std::string bytes = compressed.str();
  ASSERT_GT(bytes.size(), 14u);
  ASSERT_LT(bytes.size(), original.size());
  bytes[9] = 'T';  // the conventional last character, as the system's compressor stores it
  machine().putMedium("D:\\", {{"BOOK.TX_", bytes}});
  ASSERT_EQ(machine().files().lzExpand("D:\\BOOK.TX_", "C:\\BOOK.TXT"), 0u);
  EXPECT_EQ(machine().readFile("C:\\BOOK.TXT"), original);
  std::string name;
  ASSERT_EQ(machine().files().lzExpandedName("D:\\BOOK.TX_", name), 0u);
  EXPECT_EQ(name, "D:\\BOOK.TXT");
  machine().putFile("D:\\book.tx_", bytes);
  ASSERT_EQ(machine().files().lzExpandedName("D:\\book.tx_", name), 0u);
  EXPECT_EQ(name, "D:\\book.txt");
  // A compressed file cut short is refused and leaves no target behind.
  machine().putFile("D:\\CUT.TX_", bytes.substr(0, 12));
  EXPECT_NE(machine().files().lzExpand("D:\\CUT.TX_", "C:\\CUT.TXT"), 0u);
  EXPECT_FALSE(machine().fileExists("C:\\CUT.TXT"));
}

TEST_F(ShellSystem, ShellDeletePatternsReachIntoSubFolders) {
  for (const char* name : {"C:\\APP\\A.GID", "C:\\APP\\KEEP.TXT", "C:\\APP\\表\\B.GID", "C:\\APP\\表\\C.TXT",
                           "C:\\APP\\X\\Y\\Z.gid"})
    machine().putFile(name, "x");
  EXPECT_EQ(machine().files().shellDelete("C:\\APP\\*.GID"), 0u);
  for (const char* gone : {"C:\\APP\\A.GID", "C:\\APP\\表\\B.GID", "C:\\APP\\X\\Y\\Z.gid"})
    EXPECT_FALSE(machine().exists(gone)) << gone;
  for (const char* kept : {"C:\\APP\\KEEP.TXT", "C:\\APP\\表\\C.TXT", "C:\\APP\\X\\Y"})
    EXPECT_TRUE(machine().exists(kept)) << kept;
  EXPECT_EQ(machine().files().shellDelete("C:\\APP\\*.NONE"), 0u);  // nothing to do is done
  EXPECT_EQ(machine().files().shellDelete("C:\\NONE\\*.*"), err::kPathNotFound);
  EXPECT_EQ(machine().files().shellDelete("C:\\"), err::kAccessDenied);
}

TEST_F(ShellSystem, MutexesAreSharedByTheMachine) {
  machine().holdMutex("VORSETUP");  // another program of this machine holds it
  EXPECT_FALSE(machine().system().acquireNamedMutex("vorsetup"));
  EXPECT_TRUE(machine().system().acquireNamedMutex("OTHER"));
  EXPECT_EQ(machine().heldMutexes(), (std::vector<std::string>{"OTHER", "VORSETUP"}));
  machine().system().releaseNamedMutex();
  EXPECT_EQ(machine().heldMutexes(), std::vector<std::string>{"VORSETUP"});
}

TEST_F(ShellSystem, MessagesAndMappings) {
  struct Message {
    std::int32_t code;
    std::string text;
  };
  const Message messages[] = {
      {2, "指定されたファイルが見つかりません。\r\n"},
      {5, "アクセスが拒否されました。\r\n"},
      {112, "ディスクに十分な空き領域がありません。\r\n"},
      {145, "ディレクトリが空ではありません。\r\n"},
      {183, "既に存在するファイルを作成することはできません。\r\n"},
      {99999, "原因不明のエラーが発生しました。(99999)\r\n"},
  };
  for (const Message& m : messages) EXPECT_EQ(machine().system().errorMessage(m.code), m.text) << m.code;

  struct Mapping {
    std::string text;
    std::uint32_t flags;
    std::string expected;
  };
  const Mapping mappings[] = {
      {"\\~\"'", 0x800000, "＼～＂＇"},
      {"ｳﾞｰｯ｡", 0x800000, "ヴーッ。"},
      {"ﾞｶ", 0x800000, "゛カ"},  // a mark with no kana before it stays a mark
      {"αωабя", 0x200, "ΑΩАБЯ"},
  };
  for (const Mapping& m : mappings) {
    std::string out;
    ASSERT_TRUE(machine().system().mapString(m.text, m.flags, out));
    EXPECT_EQ(out, m.expected) << m.text;
  }
  std::string out;
  EXPECT_FALSE(machine().system().mapString("a", 0x100, out));  // a mapping this system does not play
}

}  // namespace
}  // namespace plat::posix

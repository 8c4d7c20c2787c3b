// Taking script values apart: copy entries, registry keys and values, profile entries,
// associations and the shortcut boxes, including double-byte names with a 0x5C trail byte.
#include <gtest/gtest.h>

#include "setup/engine/script_entries.h"
#include "tests/setup/engine/install/install_fixture.h"

namespace setup::testing {
namespace {

using ScriptEntries = InstallTest;

TEST_F(ScriptEntries, CopyEntryForms) {
  struct Case {
    std::string entry;
    bool disk;
    std::string target, flags, source;
  } cases[] = {
      {"C:\\App\\VIEW.EXE", false, "C:\\App\\VIEW.EXE", "", "VIEW.EXE"},
      {"C:\\App\\A.EX_|A.EXE", false, "C:\\App\\A.EXE", "", "A.EX_"},
      {"C:\\App\\B.TX_", false, "C:\\App\\AUTO.EXT", "", "B.TX_"},
      {"(Dch)C:\\App\\C.DLL,/S/R", true, "C:\\App\\C.DLL", ",/S/R", "C.DLL"},
      // A marker in small letters is not one: it stays in the path.
      {"(dch)C:\\App\\D.DLL", false, "(dch)C:\\App\\D.DLL", "", "D.DLL"},
      {"C:\\App\\E.DLL,/S/W/R", false, "C:\\App\\E.DLL", ",/S/W/R", "E.DLL"},
      // The flag text is cut before the "|" part is looked for.
      {"C:\\App\\F.EX_|F,1.EXE", false, "C:\\App\\F", ",1.EXE", "F.EX_"},
      // "ソ" ends in 0x5C: not a folder delimiter.
      {"C:\\ソ\\表.TXT", false, "C:\\ソ\\表.TXT", "", "表.TXT"},
      {"C:\\App\\表", false, "C:\\App\\表", "", "表"},
  };
  for (const auto& c : cases) {
    CopyEntry e = ParseCopyEntry(c.entry);
    EXPECT_EQ(e.diskChange, c.disk) << c.entry;
    EXPECT_EQ(e.target, c.target) << c.entry;
    EXPECT_EQ(e.flags, c.flags) << c.entry;
    EXPECT_EQ(e.sourceName, c.source) << c.entry;
  }
  EXPECT_EQ(SizeSourceName("(App)\\A.EX_|A.EXE,/S"), "A.EX_");
  EXPECT_EQ(SizeSourceName("(App)A.TXT,/S"), "A.TXT");
  EXPECT_EQ(SizeSourceName("(Dch)(App)B.TXT"), "(App)B.TXT");  // the marker is still there
  EXPECT_EQ(SizeSourceName("(App)\\Setup(1).TXT"), "Setup(1).TXT");
  EXPECT_EQ(SizeSourceName("SOLO.TXT"), "SOLO.TXT");
}

TEST_F(ScriptEntries, ShortcutBoxByName) {
  struct Case {
    std::string name;
    ShortcutKind kind;
  } cases[] = {
      {"(Dsk)Viewer", ShortcutKind::Desktop},       {"(C_Dsk)Viewer", ShortcutKind::Desktop},
      {"(sta)Viewer", ShortcutKind::StartMenu},     {"Default", ShortcutKind::StartMenu},
      {"default", ShortcutKind::Always},            {"(Sup)Viewer", ShortcutKind::StartUp},
      {"(Sen)Viewer", ShortcutKind::SendTo},        {"(Smn)Viewer", ShortcutKind::Always},
      {"(Dsk)Viewer,(Sta)", ShortcutKind::Desktop},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortcutKindOf(c.name), c.kind) << c.name;
}

TEST_F(ScriptEntries, RegistryKeyRoots) {
  struct Case {
    std::string key;
    plat::RegRoot root;
    std::string path;
  } cases[] = {
      {"(Local)SOFTWARE\\Maker\\App\\", plat::RegRoot::LocalMachine, "SOFTWARE\\Maker\\App"},
      {"(Class)\\.abc", plat::RegRoot::ClassesRoot, ".abc"},
      {"(Users)X", plat::RegRoot::Users, "X"},
      {"(Cuser)Software\\A", plat::RegRoot::CurrentUser, "Software\\A"},
      {"(Other)Software\\A", plat::RegRoot::CurrentUser, "Software\\A"},
      {"(local)X", plat::RegRoot::CurrentUser, "X"},  // tokens match exactly
      {"SOFTWARE\\Maker", plat::RegRoot::CurrentUser, "SOFTWARE\\Maker"},
      {"(Pdd)\\Software", plat::RegRoot::CurrentUser, "(Pdd)\\Software"},
      {"\\\\Software\\\\", plat::RegRoot::CurrentUser, "\\Software\\"},
  };
  for (const auto& c : cases) {
    RegistryKeySpec k = ParseRegistryKey(c.key);
    EXPECT_EQ(k.root, c.root) << c.key;
    EXPECT_EQ(k.path, c.path) << c.key;
  }
}

TEST_F(ScriptEntries, RegistryValueKinds) {
  G().folders.AppFolder = "C:\\Program Files\\App\\";
  struct Case {
    std::string value;
    RegistryValueKind kind;
    std::string data;
  } cases[] = {
      {"(Str)(App)(Pdd)", RegistryValueKind::String, "C:\\Program Files\\App"},
      {"(Str)(App)", RegistryValueKind::String, "C:\\Program Files\\App\\"},
      {"(Exp)%WINDIR%\\x", RegistryValueKind::ExpandString, "%WINDIR%\\x"},
      {"(Dwd)12x", RegistryValueKind::Dword, "12x"},
      {"(Int)7", RegistryValueKind::Dword, "7"},
      {"(Bin)01 02", RegistryValueKind::Binary, "01 02"},
      {"hello", RegistryValueKind::String, "hello"},
      {"(App)(pdd)", RegistryValueKind::String, "C:\\Program Files\\App"},
      {"(str)x", RegistryValueKind::String, "(str)x"},
  };
  for (const auto& c : cases) {
    RegistryValueSpec v = ParseRegistryValue(c.value);
    EXPECT_EQ(v.kind, c.kind) << c.value;
    EXPECT_EQ(v.data, c.data) << c.value;
  }
}

TEST(ScriptNumbers, DwordAndBinaryNotations) {
  struct Case {
    std::string text;
    std::uint32_t value;
  } numbers[] = {{"12", 12},         {" 42 ", 42},         {"12x", 0},         {"", 0},
                 {"-1", 0xFFFFFFFFu}, {"4294967295", 0xFFFFFFFFu}, {"4294967296", 0}, {"0x1F", 31},
                 {"0x", 0},          {"+", 0},            {"-2147483648", 0x80000000u}, {"-2147483649", 0}};
  for (const auto& c : numbers) EXPECT_EQ(ParseDwordData(c.text), c.value) << c.text;

  struct BinCase {
    std::string text;
    bool ok;
    std::string bytes;
  } bins[] = {{"01ff", true, std::string("\x01\xff", 2)},
              {"01 FF,00-7a", true, std::string("\x01\xff\x00\x7a", 4)},
              {"", true, ""},
              {"0", false, ""},
              {"0g", false, ""}};
  for (const auto& c : bins) {
    std::string bytes = "untouched";
    EXPECT_EQ(ParseBinaryData(c.text, bytes), c.ok) << c.text;
    EXPECT_EQ(bytes, c.ok ? c.bytes : std::string("untouched")) << c.text;
  }
}

TEST_F(ScriptEntries, IniEntries) {
  IniEntry e;
  ASSERT_TRUE(ParseIniEntry("Options,Path,C:\\A\\,C:\\WINDOWS\\APP.INI", e));
  EXPECT_EQ(e.section, "Options");
  EXPECT_EQ(e.key, "Path");
  EXPECT_EQ(e.value, "C:\\A\\");
  EXPECT_EQ(e.file, "C:\\WINDOWS\\APP.INI");
  ASSERT_TRUE(ParseIniEntry("S,K,,C:\\A,B.INI", e));
  EXPECT_EQ(e.value, "");
  EXPECT_EQ(e.file, "C:\\A,B.INI");  // the file takes the rest, commas included
  for (const char* bad : {"S,K,V", ",K,V,F", "S,,V,F", "S,K,V,"}) EXPECT_FALSE(ParseIniEntry(bad, e)) << bad;
}

TEST_F(ScriptEntries, Associations) {
  AssociationSpec a = ParseAssociation("abc,Book", "open,C:\\Program Files\\App\\VIEW.EXE,%1,0");
  EXPECT_EQ(a.extension, "abc");
  EXPECT_EQ(a.description, "Book");
  EXPECT_EQ(a.verb, "open");
  EXPECT_EQ(a.iconPath, "C:\\Program Files\\App\\VIEW.EXE");
  EXPECT_EQ(a.command, "\"C:\\Program Files\\App\\VIEW.EXE\" %1");
  EXPECT_EQ(a.iconIndex, "0");

  a = ParseAssociation("txt", "edit,C:\\APP\\ED.EXE,,/p,%1,2");
  EXPECT_EQ(a.description, "txt File");
  EXPECT_EQ(a.command, "C:\\APP\\ED.EXE /p %1");  // empty arguments are skipped
  EXPECT_EQ(a.iconIndex, "2");

  a = ParseAssociation("x", "open,C:\\APP\\ED.EXE");
  EXPECT_EQ(a.command, "C:\\APP\\ED.EXE");
  EXPECT_EQ(a.iconIndex, "");
}

}  // namespace
}  // namespace setup::testing

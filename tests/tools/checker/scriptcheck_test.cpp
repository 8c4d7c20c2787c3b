// The script checker finds each kind of script mistake and stays quiet on a sound script.
#include "tools/checker/scriptcheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sys/posix/posix_machine.h"
#include "setup/support/globals.h"

namespace {

class ScriptCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("scriptcheck-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    machine_ = std::make_unique<plat::PosixMachine>(plat::PosixMachine::fresh(root_.string()));
    services_ = std::make_unique<plat::Services>(machine_->services());
    setup::ResetGlobals(*services_, [](const std::string&, const std::string&, std::uint32_t) { return 1; });
  }
  void TearDown() override {
    machine_.reset();
    std::filesystem::remove_all(root_);
  }

  // The codes found for a script on drive E:, with the named files beside it.
  std::vector<std::string> Check(const std::string& script, const std::vector<std::string>& files = {},
                                 const std::vector<std::string>& disk2 = {}) {
    machine_->putFile("E:\\SETUP.INI", script);
    for (const auto& f : files) machine_->putFile("E:\\" + f, "x");
    for (const auto& f : disk2) machine_->putFile("F:\\" + f, "x");
    services_->profiles.flush();  // the script was replaced behind the engine's back
    scriptcheck::Input input{"E:\\SETUP.INI", {}};
    if (!disk2.empty()) input.disks.push_back("F:\\");
    std::vector<std::string> codes;
    for (const auto& finding : scriptcheck::CheckScript(input)) {
      codes.push_back(finding.section + "/" + finding.key + ":" + finding.code);
      EXPECT_FALSE(finding.ja.empty());
      EXPECT_FALSE(finding.en.empty());
    }
    return codes;
  }

  std::filesystem::path root_;
  std::unique_ptr<plat::PosixMachine> machine_;
  std::unique_ptr<plat::Services> services_;
};

using Codes = std::vector<std::string>;

TEST_F(ScriptCheckTest, SoundScriptHasNoFindings) {
  const std::string script =
      "[Extend]\r\nSetupSpeed=100\r\nEnabled=False\r\nUnSetupOption=1,0,0,0\r\n"
      "[Readme]\r\nFile=README.TXT\r\n"
      "[MakeFolder]\r\nFolder1=(App)Data\r\nFolder2=(App)Data\\表示\r\n"
      "[CopyFile]\r\nFile1=(App)VIEW.EXE\r\nFile2=(App)HELP.HT_|HELP.HTM\r\nFile3=(Dch)(Sys)LIB.DLL,/S/R\r\n"
      "[ShortCut]\r\nMake1=(App)VIEW.EXE\r\nName1=(Dsk)Viewer,(App)\r\nMake2=(App)VIEW.EXE\r\n"
      "[Registry]\r\nKey1=(Local)SOFTWARE\\Maker\r\nName1=Path\r\nValue1=(Str)(App)(Pdd)\r\n"
      "Key2=SOFTWARE\\Maker\r\nName2=N\r\nValue2=(Dwd)12\r\nValue3=(Bin)01 ff\r\n"
      "[IniFile]\r\nData1=Options,Path,(App),(Win)APP.INI\r\n"
      "[DeleteRegistry]\r\nKey1=(Cuser)SOFTWARE\\Maker\r\n"
      "[Relate]\r\nName2=abc,Book\r\nFile2=open,(App)VIEW.EXE,\"%1\",0\r\n"
      "[ExecuteFile]\r\nFile=(App)HELP.HTM\r\n";
  EXPECT_EQ(Check(script, {"README.TXT", "VIEW.EXE", "HELP.HT_"}, {"LIB.DLL"}), Codes{});
}

TEST_F(ScriptCheckTest, ReportsEachKindOfMistake) {
  struct Case {
    const char* what;
    std::string script;
    std::vector<std::string> files;
    Codes expected;
  };
  const Case cases[] = {
      {"entries after a gap",
       "[CopyFile]\r\nFile1=(App)A.EXE\r\nFile2=(App)B.EXE\r\nFile4=(App)D.EXE\r\n"
       "[MakeFolder]\r\nFolder2=(App)X\r\n",
       {"A.EXE", "B.EXE", "D.EXE"},
       {"CopyFile/File4:gap", "MakeFolder/Folder2:gap"}},
      {"leading zero and a sixth message", "[TopMessage]\r\nMessage6=x\r\nMessage01=y\r\n", {},
       {"TopMessage/Message6:beyond-last", "TopMessage/Message01:leading-zero"}},
      {"missing source", "[CopyFile]\r\nFile1=(App)A.EXE\r\nFile2=(App)\\Sub\\B.TX_|B.TXT\r\n", {"A.EXE"},
       {"CopyFile/File2:missing-source"}},
      {"unknown token", "[CopyFile]\r\nFile1=(Abc)\\A.EXE\r\n", {"A.EXE"}, {"CopyFile/File1:unknown-token"}},
      {"(Dch) in small letters", "[CopyFile]\r\nFile1=(dch)(App)A.EXE\r\n", {"A.EXE"},
       {"CopyFile/File1:dch-case"}},
      {"a third flag", "[CopyFile]\r\nFile1=(App)A.DLL,/R/W/S\r\n", {"A.DLL"}, {"CopyFile/File1:flag-unseen"}},
      {"shortcut without a check box", "[ShortCut]\r\nMake1=(App)A.EXE\r\nName1=(Win)A\r\n", {},
       {"ShortCut/Name1:shortcut-always"}},
      {"association with too few fields", "[Relate]\r\nName1=abc\r\nFile1=open,(App)A.EXE\r\nName3=xyz\r\n", {},
       {"Relate/File1:relate-fields", "Relate/Name3:relate-half"}},
      {"unknown value type and bad numbers",
       "[Registry]\r\nKey1=(Machn)SOFTWARE\\A\r\nValue1=(Txt)hello\r\nValue2=(Dwd)12x\r\nValue3=(Bin)zz\r\n", {},
       {"Registry/Key1:unknown-root", "Registry/Value1:unknown-token", "Registry/Value1:unknown-type",
        "Registry/Value2:not-a-number", "Registry/Value3:bad-binary"}},
      {"program not installed", "[CopyFile]\r\nFile1=(App)A.EXE\r\n[ExecuteFile]\r\nFile=(App)B.EXE,/s\r\n",
       {"A.EXE"}, {"ExecuteFile/File:execute-missing"}},
      {"restart in small letters", "[ExecuteFile]\r\nFile=windows_reboot\r\n", {}, {"ExecuteFile/File:reboot-case"}},
      {"header values",
       "[Extend]\r\nSetupSpeed=abc\r\nEnabled=false\r\nUnSetupOption=deleteall\r\n[Readme]\r\nFile=README.TXT\r\n"
       "ScrollBars=ssNone\r\n",
       {},
       {"Extend/SetupSpeed:setup-speed", "Extend/Enabled:enabled-case", "Extend/UnSetupOption:unsetup-option",
        "Readme/File:missing-readme", "Readme/ScrollBars:scrollbars"}},
      {"folder whose parent comes later", "[MakeFolder]\r\nFolder1=(App)A\\B\r\nFolder2=(App)A\r\n", {},
       {"MakeFolder/Folder1:parent-missing"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Check(c.script, c.files), c.expected);
  }
}

TEST_F(ScriptCheckTest, SampleMediumScriptIsClean) {
  // The sample script, converted to CP932 as the medium holds it, with every source in place.
  const char* src = std::getenv("PAGINA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  std::ifstream in(std::string(src) + "/samples/medium/SETUP.INI", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  // The sample is UTF-8 in the tree; its findings do not depend on the Japanese texts, so the
  // non-ASCII bytes are dropped rather than converted.
  std::string ascii;
  for (char ch : text.str())
    if (static_cast<unsigned char>(ch) < 0x80) ascii += ch;
  std::vector<std::string> disk1 = {"PaginaV1.exe", "toolbar.bmp", "PaginaV1.bmp", "help.ht_", "README.TX_", "README.TXT", "sample.pgd"};
  std::vector<std::string> disk2 = {"bitmap.pgd", "bitmap001.bmp", "bitmap002.bmp"};
  for (int n = 1; n <= 12; ++n) disk1.push_back((n < 10 ? "sample00" : "sample0") + std::to_string(n) + ".jpg");
  for (int n = 13; n <= 24; ++n) disk2.push_back("sample0" + std::to_string(n) + ".jpg");
  EXPECT_EQ(Check(ascii, disk1, disk2), Codes{});
}

}  // namespace

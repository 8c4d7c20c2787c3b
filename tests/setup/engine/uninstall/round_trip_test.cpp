// Install a medium that uses every script section, uninstall with the uninstaller copy and its
// record, and compare the machine with its state before the install: only the documented
// leftovers may differ.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform/ui/headless/headless_backend.h"
#include "setup/engine/install_run.h"
#include "setup/engine/uninstall_run.h"
#include "setup/shell/forms.h"
#include "setup/shell/program.h"
#include "setup/support/globals.h"

namespace {

const std::string kApp = "C:\\Program Files\\Sample\\";

std::string MakeRoot() {
  char tmpl[] = "/tmp/uninstall_round_trip_XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::set<std::string> LineSet(const std::string& text) {
  std::set<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.insert(line);
  return out;
}

// Registry lines present in one text and not in the other.
std::vector<std::string> Added(const std::string& before, const std::string& after) {
  const std::set<std::string> b = LineSet(before), a = LineSet(after);
  std::vector<std::string> out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

class RoundTrip : public ::testing::Test {
 protected:
  RoundTrip() : root_(MakeRoot()), machine_(plat::PosixMachine::fresh(root_ + "/m")), services_(machine_.services()) {}
  ~RoundTrip() override {
    std::string cmd = "rm -rf '" + root_ + "'";
    (void)::system(cmd.c_str());
  }

  // One program start on a new window layer: the arguments, and what the user does.
  void RunProgram(const std::vector<std::string>& args,
                  const std::function<void(ui::headless::HeadlessBackend&)>& script) {
    ui::headless::HeadlessBackend* backend = nullptr;
    ui::Application app([&] {
      auto b = std::make_unique<ui::headless::HeadlessBackend>(ui::Size{1024, 768});
      backend = b.get();
      return b;
    }());
    setup::ResetGlobals(services_, nullptr);
    script(*backend);
    setup::RunHooks hooks;
    hooks.installRun = [] { setup::InstallRun(); };
    hooks.uninstallRun = [] { setup::UninstallRun(); };
    setup::SetupMain(app, args, hooks);
    for (const auto& b : backend->transcript().messageBoxes) captions_.push_back(b.caption);
    for (const auto& m : backend->transcript().stuckModals) stuck_.push_back(m);
    unusedActions_ = backend->pendingModalActions();
  }

  std::string root_;
  plat::PosixMachine machine_;
  plat::Services services_;
  std::vector<std::string> captions_;
  std::vector<std::string> stuck_;
  std::size_t unusedActions_ = 0;
};

TEST_F(RoundTrip, InstallThenUninstallLeavesOnlyTheDocumentedTraces) {
  const std::string script = Lines({
      "[Extend]", "SetupSpeed=1", "UnSetupOption=1,1,0,0",
      "[Title]", "Setup=Sample Setup", "UnSetup=Sample", "UnSetupKey=SampleKey", "UnSetupDisplay=Sample Viewer",
      "[DefaultFolder]", "Folder=(Prg)\\Sample",
      "[ProgramID]", "ID=SAMPLE01",
      "[TopMessage]", "Message1=Sample をインストールします．",
      "[Readme]", "File=README.TXT", "Title=お読みください",
      "[CopyFile]",
      "File1=(App)\\SAMPLE.EXE",
      "File2=(App)\\Data\\BOOK.PGD",
      "File3=(Sys)\\SMPLIB.DLL,/S",
      "File4=(App)\\ASK.DAT,/C",
      "File5=(App)\\LEAVE.DAT,/L",
      "File6=(App)\\FORCE.DAT,/F",
      "File7=(App)\\表示.TXT",
      "[MakeFolder]", "Folder1=(App)\\Data", "Folder2=(App)\\Saved",
      "[ShortCut]",
      "Make1=(App)\\SAMPLE.EXE", "Name1=(Dsk)\\Sample",
      "Make2=(App)\\SAMPLE.EXE", "Name2=(Sta)\\Sample\\Sample",
      "[Registry]",
      "Key1=(Cuser)Software\\Vendor\\Sample", "Name1=Folder", "Value1=(Str)(App)",
      "Key2=(Local)SOFTWARE\\Vendor\\Sample", "Name2=Count", "Value2=(Dwd)3",
      "[IniFile]", "Data1=Settings,Folder,(App),(Win)\\SAMPLE.INI",
      "[DeleteRegistry]", "Key1=(Cuser)Software\\Vendor\\Sample", "Key2=(Local)SOFTWARE\\Vendor\\Sample",
      "[Relate]", "Name1=smp,Sample Book", "File1=open,(App)\\SAMPLE.EXE,%1,0",
  });
  machine_.putMedium("D:\\", {{"SETUP.INI", script},
                              {"SETUP.EXE", "setup program"},
                              {"README.TXT", "read me"},
                              {"SAMPLE.EXE", "viewer"},
                              {"BOOK.PGD", "book"},
                              {"SMPLIB.DLL", "library"},
                              {"ASK.DAT", "ask"},
                              {"LEAVE.DAT", "leave"},
                              {"FORCE.DAT", "force"},
                              {"表示.TXT", "name with a 0x5C trail byte"}});
  const plat::MachineSnapshot before = machine_.snapshot();

  RunProgram({}, [](ui::headless::HeadlessBackend& ui) {
    ui.whenModal("frmMain", [](ui::Form& f) {
      auto& main = static_cast<setup::TfrmMain&>(f);
      for (int i = 0; i < 4 && main.btnEvent.caption() != "セットアップ開始(&S)"; ++i) main.btnEvent.click();
      main.btnEvent.click();
    });
    ui.answerMessageBoxes({ui::mb::kIdYes, ui::mb::kIdYes, ui::mb::kIdYes, ui::mb::kIdYes});
  });
  ASSERT_TRUE(machine_.fileExists(kApp + "UNSETUP.INI")) << ::testing::PrintToString(captions_);
  ASSERT_TRUE(machine_.fileExists("C:\\WINDOWS\\UNVOSET.EXE"));
  ASSERT_TRUE(machine_.fileExists(kApp + "Data\\BOOK.PGD"));
  // The user's own work in the program's folders.
  machine_.putFile(kApp + "SAMPLE.INI", "[View]\r\nZoom=1\r\n");
  machine_.putFile(kApp + "Data\\VIEW.INI", "[View]\r\n");

  captions_.clear();
  machine_.layout().programPath = "C:\\WINDOWS\\UNVOSET.EXE";
  RunProgram({kApp + "UNSETUP.INI"}, [](ui::headless::HeadlessBackend& ui) {
    ui.whenModal("frmMain", [](ui::Form& f) { static_cast<setup::TfrmMain&>(f).btnEvent.click(); });
    ui.whenModal("frmCustomDlg", [](ui::Form& f) { static_cast<setup::TfrmCustomDlg&>(f).btnYes.click(); });
    ui.answerMessageBoxes({ui::mb::kIdYes});  // the "/C" file
  });
  EXPECT_TRUE(stuck_.empty()) << ::testing::PrintToString(stuck_);
  EXPECT_EQ(unusedActions_, 0u);  // the shared library's count fell to zero and the dialog asked
  EXPECT_EQ(captions_.back(), "完了") << ::testing::PrintToString(captions_);

  plat::MachineSnapshot after = machine_.snapshot();
  // The documented leftovers: the uninstaller copy, the file flagged "/L" and the setup folder
  // that holds it, the profile entry written by "IniFile" (nothing records it), and the program
  // registry profile, which keeps its file once the program's section is gone.
  std::set<std::string> leftovers = {
      "C:\\WINDOWS\\UNVOSET.EXE", kApp + "LEAVE.DAT", "C:\\Program Files\\Sample\\", "C:\\WINDOWS\\SAMPLE.INI",
      "C:\\WINDOWS\\VOSET98.INI"};
  std::vector<std::string> unexpected;
  for (const auto& [path, bytes] : after.files) {
    auto it = before.files.find(path);
    if (it == before.files.end() || it->second != bytes) {
      if (!leftovers.count(path)) unexpected.push_back("+ " + path);
    }
  }
  for (const auto& [path, bytes] : before.files) {
    if (!after.files.count(path)) unexpected.push_back("- " + path);
  }
  EXPECT_TRUE(unexpected.empty()) << ::testing::PrintToString(unexpected);
  EXPECT_EQ(machine_.readFile("C:\\WINDOWS\\VOSET98.INI").find("SAMPLE01"), std::string::npos);
  EXPECT_FALSE(machine_.exists(kApp + "SAMPLE.INI"));  // the "*.INI" option
  EXPECT_NE(std::find(captions_.begin(), captions_.end(), "ファイル削除の確認"), captions_.end());
  // Registry: the parents of the keys the script's "Registry" values created stay, because the
  // record names only the keys themselves; the shared-file register's key may stay.
  const std::set<std::string> keyLeftovers = {"[HKCU\\Software\\Vendor]", "[HKLM\\SOFTWARE\\Vendor]"};
  std::vector<std::string> registryAdded = Added(before.registry, after.registry);
  std::vector<std::string> registryRemoved = Added(after.registry, before.registry);
  std::vector<std::string> unexpectedKeys;
  for (const auto& line : registryAdded) {
    if (line.find("SharedDLLs") == std::string::npos && !keyLeftovers.count(line)) unexpectedKeys.push_back("+ " + line);
  }
  for (const auto& line : registryRemoved) unexpectedKeys.push_back("- " + line);
  EXPECT_TRUE(unexpectedKeys.empty()) << ::testing::PrintToString(unexpectedKeys);
}

}  // namespace

// A POSIX machine with an installed program's traces, scripted windows and message boxes,
// for running whole uninstalls.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "setup/engine/uninstall_run.h"
#include "setup/support/globals.h"

namespace setup::uninstall::testing {

struct Box {
  std::string text, caption;
  std::uint32_t flags = 0;
};

// The window side of a run, scripted: option boxes, the folder box, the four-way dialog's
// answers, and a record of what the run asked of the windows.
class ScriptedWindows : public RunWindows {
 public:
  std::array<bool, 4> checked{};
  std::array<bool, 4> visible{true, true, true, true};
  std::string folderText;
  std::string slot = "Can't Delete";  // the label's design caption
  std::deque<std::string> dialogAnswers;
  std::vector<std::string> dialogQuestions;
  std::vector<std::string> statuses;
  bool optionsDisabled = false, entered = false, finished = false, detailsShown = false;
  std::string shownLog;

  bool optionChecked(int i) override { return checked[i]; }
  bool optionVisible(int i) override { return visible[i]; }
  void disableOptions() override { optionsDisabled = true; }
  void enterRunWindows() override { entered = true; }
  void showStatus(const std::string& text) override { statuses.push_back(text); }
  std::string setupFolderText() override { return folderText; }
  std::string answerSlot() override { return slot; }
  void setAnswerSlot(const std::string& a) override { slot = a; }
  void askFourWay(const std::string& message) override {
    dialogQuestions.push_back(message);
    if (!dialogAnswers.empty()) {
      slot = dialogAnswers.front();
      dialogAnswers.pop_front();
    }
  }
  void showFailureDetails(const std::string& log) override {
    detailsShown = true;
    shownLog = log;
  }
  void finishRun() override { finished = true; }
};

using Section = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;

inline std::string Dir(const std::string& s) { return s.empty() || s.back() == '\\' ? s : s + "\\"; }

class UninstallMachine : public ::testing::Test {
 protected:
  static constexpr const char* kRecord = "C:\\WINDOWS\\TEMP\\VSTMP1\\UNSETUP.INI";
  static constexpr const char* kSetupFolder = "C:\\Program Files\\Sample\\";
  static constexpr const char* kSharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

  void SetUp() override {
    char tmpl[] = "/tmp/uninstall_machine_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    Boot();
  }

  // A fresh machine with the setup folder in place, new windows and no message boxes yet.
  void Boot() {
    boxes.clear();
    answers.clear();
    windows = ScriptedWindows{};
    machine_.reset();
    machine_.emplace(plat::PosixMachine::fresh(root_ + "/m" + std::to_string(++boots_)));
    services_ = std::make_unique<plat::Services>(machine_->services());
    ResetGlobals(*services_, [this](const std::string& text, const std::string& caption, std::uint32_t flags) {
      boxes.push_back({text, caption, flags});
      auto it = answers.find(caption);
      if (it != answers.end()) return it->second;
      return (flags & 0xF) == 0x4 ? 7 : 1;  // No to questions, OK to reports
    });
    FolderTable& f = G().folders;
    plat::SystemInfo& sys = machine_->system();
    plat::Shell& sh = machine_->shell();
    f.WindowsFolder = Dir(sys.windowsDirectory());
    f.SystemFolder = Dir(sys.systemDirectory());
    f.TempFolder = Dir(sys.tempDirectory());
    f.ProgramFilesFolder = Dir(machine_->layout().programFilesDirectory);
    f.StartMenuFolder = Dir(sh.specialFolder(plat::csidl::kStartMenu));
    f.ProgramsFolder = Dir(sh.specialFolder(plat::csidl::kPrograms));
    f.DesktopFolder = Dir(sh.specialFolder(plat::csidl::kDesktopDirectory));
    f.StartupFolder = Dir(sh.specialFolder(plat::csidl::kStartup));
    f.SendToFolder = Dir(sh.specialFolder(plat::csidl::kSendTo));
    f.CommonStartMenuFolder = Dir(sh.specialFolder(plat::csidl::kCommonStartMenu));
    f.CommonProgramsFolder = Dir(sh.specialFolder(plat::csidl::kCommonPrograms));
    f.CommonDesktopFolder = Dir(sh.specialFolder(plat::csidl::kCommonDesktopDirectory));
    f.CommonStartupFolder = Dir(sh.specialFolder(plat::csidl::kCommonStartup));
    G().startup.ScriptPath = kRecord;
    G().startup.WorkFolder = "C:\\WINDOWS\\TEMP\\VSTMP1\\";
    ASSERT_FALSE(f.DesktopFolder.empty());
    ASSERT_FALSE(f.ProgramsFolder.empty());
    windows.folderText = kSetupFolder;
    machine_->putFolder(kSetupFolder);
  }

  void TearDown() override {
    machine_.reset();
    std::string cmd = "rm -rf '" + root_ + "'";
    (void)::system(cmd.c_str());
  }

  plat::PosixMachine& M() { return *machine_; }

  // The work folder's copy of the record.
  void Record(const std::vector<Section>& sections) {
    std::string text;
    for (const auto& [name, entries] : sections) {
      text += "[" + name + "]\r\n";
      for (const auto& [k, v] : entries) text += k + "=" + v + "\r\n";
    }
    M().putFile(kRecord, text);
  }

  void SetShared(const std::string& path, std::uint32_t count) {
    ASSERT_EQ(M().registry().createKey(plat::RegRoot::LocalMachine, kSharedKey), 0u);
    ASSERT_EQ(M().registry().writeValue(plat::RegRoot::LocalMachine, kSharedKey, path, plat::RegValue::dword(count)),
              0u);
  }
  // -1 when the path has no count.
  long long Shared(const std::string& path) {
    plat::RegValue v;
    if (M().registry().readValue(plat::RegRoot::LocalMachine, kSharedKey, path, v) != 0) return -1;
    return v.asDword();
  }

  RunOutcome Run() { return RunUninstall(windows); }

  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const auto& b : boxes) out.push_back(b.caption);
    return out;
  }

  ScriptedWindows windows;
  std::vector<Box> boxes;
  std::map<std::string, int> answers;

 private:
  std::string root_;
  int boots_ = 0;
  std::optional<plat::PosixMachine> machine_;
  std::unique_ptr<plat::Services> services_;
};

}  // namespace setup::uninstall::testing

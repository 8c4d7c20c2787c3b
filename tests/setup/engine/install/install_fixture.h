// A fresh machine with a distribution medium on D:\, setup's state as start-up leaves it, every
// message box recorded and answered from a queue, and scripted windows on a virtual clock.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform/sys/profile.h"
#include "setup/engine/install_run.h"
#include "setup/support/globals.h"

namespace setup::testing {

struct Box {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
};

// The windows as the run sees them, recorded; ProcessMessages runs the test's hook, which plays
// the user (pressing abort, the continue button).
class ScriptedWindows : public InstallWindows {
 public:
  std::string folder = "C:\\Program Files\\Sample";
  bool overwrite = true;
  bool boxes[4] = {true, true, true, true};

  std::vector<std::string> messages;
  std::vector<std::string> labels;
  std::vector<int> sleeps;
  std::uint64_t clock = 0;
  bool mainEnabled = true, mainVisible = true, backEnabled = false;
  bool statusVisible = false, statusClosed = false, abortEnabled = false, frameVisible = false;
  bool prepared = false;
  int modalResult = 0;
  int position = 0;
  std::string details;
  bool eventEnabled = false;
  std::function<void(ScriptedWindows&)> onMessages;

  std::string FolderText() override { return folder; }
  bool OverwriteChecked() override { return overwrite; }
  bool ShortcutChecked(int box) override { return boxes[box]; }
  void PrepareMainForRun() override { prepared = true; }
  void ShowMain() override { mainVisible = true; }
  void HideMain() override { mainVisible = false; }
  bool MainEnabled() override { return mainEnabled; }
  void SetMainModalResult(int result) override { modalResult = result; }
  void EnableBackground() override { backEnabled = true; }
  void ShowStatus() override { statusVisible = true; }
  void HideStatus() override { statusVisible = false; }
  void CloseStatus() override {
    statusVisible = false;
    statusClosed = true;
  }
  void SetMessage(const std::string& text) override { messages.push_back(text); }
  void SetAbortEnabled(bool enabled) override { abortEnabled = enabled; }
  void ShowProgressFrame(bool visible) override { frameVisible = visible; }
  int SetProgressPosition(int p) override {
    position = p < 0 ? 0 : p > 100 ? 100 : p;
    return position;
  }
  void SetProgressLabel(const std::string& text) override { labels.push_back(text); }
  void ShowFailureDetails(const std::string& log) override {
    details = log;
    eventEnabled = true;
    mainVisible = true;
    statusVisible = false;
  }
  bool EventButtonEnabled() override { return eventEnabled; }
  void ProcessMessages() override {
    if (onMessages) onMessages(*this);
    // The user reads the details and presses the continue button.
    if (eventEnabled && clock > 0) eventEnabled = false;
  }
  void Sleep(int ms) override {
    sleeps.push_back(ms);
    clock += static_cast<std::uint64_t>(ms);
  }
  // Messages that start with prefix.
  int CountMessages(const std::string& prefix) const {
    int n = 0;
    for (const auto& m : messages) n += m.compare(0, prefix.size(), prefix) == 0;
    return n;
  }
};

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Table-driven tests start a fresh machine per case: nothing of the last case stays.
    windows = ScriptedWindows{};
    boxes.clear();
    answers.clear();
    onBox = nullptr;
    std::string pattern = (std::filesystem::temp_directory_path() / "pagina-install-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    machine_ = std::make_unique<plat::PosixMachine>(plat::PosixMachine::fresh(root_ + "/machine"));
    services_ = std::make_unique<plat::Services>(machine_->services());
    ResetGlobals(*services_, [this](const std::string& text, const std::string& caption, std::uint32_t flags) {
      boxes.push_back({text, caption, flags});
      if (onBox) onBox(boxes.back());
      // A run that keeps asking is a fault of its own; refuse rather than loop forever.
      if (boxes.size() > 500) return (flags & 0xF) == mb::kYesNo ? mb::kIdNo : mb::kIdCancel;
      if (answers.empty()) return (flags & 0xF) == mb::kYesNo ? mb::kIdYes : mb::kIdOk;
      int a = answers.front();
      answers.pop_front();
      return a;
    });
    StartupValues& sv = G().startup;
    sv.SetupMode = "SETUP";
    sv.ProgramFolder = "D:\\";
    sv.WorkFolder = "C:\\WINDOWS\\TEMP\\VSTMP1\\";
    sv.ScriptPath = sv.WorkFolder + "SETUP.INI";
    sv.SetupSpeed = 400;
    sv.SetupTitle = "Sample";
    sv.UnSetupTitle = "Sample";
    sv.ProgramID = "SAMPLE01";
    FolderTable& f = G().folders;
    f.WindowsFolder = "C:\\WINDOWS\\";
    f.SystemFolder = "C:\\WINDOWS\\SYSTEM32\\";
    f.TempFolder = "C:\\WINDOWS\\TEMP\\";
    f.ProgramFilesFolder = "C:\\Program Files\\";
    f.BootDrive = "C:\\";
    f.SourceDrive = "D:\\";
    f.StartMenuFolder = Special(plat::csidl::kStartMenu);
    f.ProgramsFolder = Special(plat::csidl::kPrograms);
    f.DesktopFolder = Special(plat::csidl::kDesktopDirectory);
    f.StartupFolder = Special(plat::csidl::kStartup);
    f.SendToFolder = Special(plat::csidl::kSendTo);
    machine().putFolder(sv.WorkFolder);
    machine().putFile("D:\\SETUP.EXE", "setup program");
  }

  void TearDown() override {
    services_.reset();
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string Special(int csidl) {
    std::string p = machine().shell().specialFolder(csidl);
    return p.empty() ? p : p + "\\";
  }

  plat::PosixMachine& machine() { return *machine_; }
  plat::Services& sys() { return *services_; }

  // The setup script (already in the work folder, as start-up leaves it).
  void Script(const std::string& text) { machine().putFile(G().startup.ScriptPath, text); }

  void Run() { InstallRun(windows); }

  std::string Record() { return machine().readFile("C:\\Program Files\\Sample\\UNSETUP.INI"); }
  bool RecordExists() { return machine().fileExists("C:\\Program Files\\Sample\\UNSETUP.INI"); }

  plat::RegValue RegValue(plat::RegRoot root, const std::string& key, const std::string& name) {
    plat::RegValue value;
    if (sys().registry.readValue(root, key, name, value) != 0) return plat::RegValue{};
    return value;
  }

  // Boxes whose caption is caption.
  std::vector<Box> BoxesCaptioned(const std::string& caption) const {
    std::vector<Box> out;
    for (const auto& b : boxes)
      if (b.caption == caption) out.push_back(b);
    return out;
  }

  ScriptedWindows windows;
  std::vector<Box> boxes;
  std::deque<int> answers;
  std::function<void(const Box&)> onBox;
  std::string root_;

 private:
  std::unique_ptr<plat::PosixMachine> machine_;
  std::unique_ptr<plat::Services> services_;
};

}  // namespace setup::testing

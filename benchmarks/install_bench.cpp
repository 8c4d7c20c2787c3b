// The install run copying 10,000 small files on a POSIX machine against `cp -r` of the same
// files, and the record phase alone (indexed writer at two sizes against the walk-the-record
// algorithm). A plain timing program: it prints times and ratios, it asserts nothing.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "setup/engine/install_run.h"
#include "setup/engine/record_writer.h"
#include "setup/support/globals.h"
#include "setup/support/uIniFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Windows that only keep the state the run asks for; time does not pass.
class QuietWindows : public setup::InstallWindows {
 public:
  std::string FolderText() override { return "C:\\Program Files\\Bench"; }
  bool OverwriteChecked() override { return true; }
  bool ShortcutChecked(int) override { return true; }
  void PrepareMainForRun() override {}
  void ShowMain() override {}
  void HideMain() override {}
  bool MainEnabled() override { return true; }
  void SetMainModalResult(int) override {}
  void EnableBackground() override {}
  void ShowStatus() override {}
  void HideStatus() override {}
  void CloseStatus() override {}
  void SetMessage(const std::string&) override {}
  void SetAbortEnabled(bool) override {}
  void ShowProgressFrame(bool) override {}
  int SetProgressPosition(int p) override { return p; }
  void SetProgressLabel(const std::string&) override {}
  void ShowFailureDetails(const std::string&) override {}
  bool EventButtonEnabled() override { return false; }
  void ProcessMessages() override {}
  void Sleep(int) override {}
};

std::string Name(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "F%05d.DAT", i);
  return buf;
}

void Prepare(plat::PosixMachine& machine, plat::Services& services) {
  setup::ResetGlobals(services, [](const std::string&, const std::string&, std::uint32_t flags) {
    return (flags & 0xF) == setup::mb::kYesNo ? setup::mb::kIdYes : setup::mb::kIdOk;
  });
  setup::StartupValues& sv = setup::G().startup;
  sv.ProgramFolder = "D:\\";
  sv.WorkFolder = "C:\\WINDOWS\\TEMP\\VSTMP1\\";
  sv.ScriptPath = sv.WorkFolder + "SETUP.INI";
  sv.SetupSpeed = 1;
  sv.UnSetupTitle = "Bench";
  sv.ProgramID = "BENCH";
  setup::FolderTable& f = setup::G().folders;
  f.WindowsFolder = "C:\\WINDOWS\\";
  f.SystemFolder = "C:\\WINDOWS\\SYSTEM32\\";
  f.TempFolder = "C:\\WINDOWS\\TEMP\\";
  f.ProgramFilesFolder = "C:\\Program Files\\";
  machine.putFolder(sv.WorkFolder);
  machine.putFolder("C:\\Program Files\\Bench");
}

void InstallVersusCopy(const std::string& root, int files) {
  plat::PosixMachine machine = plat::PosixMachine::fresh(root + "/install");
  plat::Services services = machine.services();
  Prepare(machine, services);
  std::string script = "[CopyFile]\r\n";
  std::vector<std::pair<std::string, std::string>> medium;
  for (int i = 1; i <= files; ++i) {
    medium.push_back({"DATA\\" + Name(i), std::string(200, static_cast<char>('a' + i % 26))});
    script += "File" + std::to_string(i) + "=(App)DATA\\" + Name(i) + "\r\n";
  }
  machine.putMedium("D:\\", medium);
  machine.putFolder("C:\\Program Files\\Bench\\DATA");
  setup::G().startup.ProgramFolder = "D:\\DATA\\";
  machine.putFile(setup::G().startup.ScriptPath, script);

  QuietWindows windows;
  auto start = Clock::now();
  setup::InstallRun(windows);
  double install = Seconds(start);

  const std::string source = machine.hostPath("D:\\DATA");
  const std::string target = root + "/cp-target";
  start = Clock::now();
  std::string cmd = "cp -r '" + source + "' '" + target + "'";
  if (std::system(cmd.c_str()) != 0) std::printf("cp -r failed\n");
  double copy = Seconds(start);
  std::printf("install run, %d files of 200 bytes: %.3f s; cp -r: %.3f s; ratio %.1f\n", files, install, copy,
              copy > 0 ? install / copy : 0.0);
}

setup::InstallState Lists(int entries) {
  setup::InstallState s;
  s.setupFolder = "C:\\Program Files\\Bench\\";
  for (int i = 0; i < entries; ++i) {
    s.deleteFiles += "C:\\Program Files\\Bench\\" + Name(i % (entries * 9 / 10 + 1)) + (i % 7 ? "" : ",/S") + "|";
    if (i % 10 == 0) s.deleteFolders += "C:\\Program Files\\Bench\\D" + std::to_string(i) + "\\|";
  }
  return s;
}

// The walk: every entry reads the record from number 1 until its slot.
void WalkRecord(const setup::InstallState& s, const std::string& file) {
  for (const std::string& list : {s.deleteFolders, s.deleteFiles}) {
    const bool files = &list == &s.deleteFiles;
    const std::string section = files ? "DeleteFile" : "DeleteFolder";
    const std::string word = files ? "File" : "Folder";
    for (const std::string& entry : setup::SplitRecordList(list)) {
      int n = setup::FindRecordSlot(entry, section, word, file);
      std::string stored = setup::ReadProfileValue(section, word + std::to_string(n), "", file);
      setup::WriteProfileValue(section, word + std::to_string(n), files ? setup::MergeSharedFlag(entry, stored) : entry,
                               file);
    }
  }
}

void RecordPhase(const std::string& root) {
  plat::PosixMachine machine = plat::PosixMachine::fresh(root + "/record");
  plat::Services services = machine.services();
  Prepare(machine, services);
  machine.putFolder("C:\\R");
  for (int entries : {1000, 10000}) {
    setup::InstallState s = Lists(entries);
    auto start = Clock::now();
    setup::WriteRecordFile(s, "C:\\R\\FAST" + std::to_string(entries) + ".INI", "", "K", nullptr);
    std::printf("record phase, indexed writer, %d entries: %.3f s\n", entries, Seconds(start));
  }
  for (int entries : {250, 500}) {
    setup::InstallState s = Lists(entries);
    auto start = Clock::now();
    WalkRecord(s, "C:\\R\\WALK" + std::to_string(entries) + ".INI");
    std::printf("record phase, walk and one profile write per entry, %d entries: %.3f s\n", entries, Seconds(start));
  }
}

}  // namespace

// Arguments: the file counts of the install runs (default 10000).
int main(int argc, char** argv) {
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts.push_back(10000);
  std::string pattern = (std::filesystem::temp_directory_path() / "pagina-install-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  RecordPhase(pattern);
  for (int files : counts) InstallVersusCopy(pattern + "/" + std::to_string(files), files);
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  return 0;
}

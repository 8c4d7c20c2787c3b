// The uninstall run deleting 10,000 recorded files on a POSIX machine against `rm -rf` of the
// same tree. A plain timing program: it prints times and the ratio, it asserts nothing.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sys/posix/posix_machine.h"
#include "setup/engine/uninstall_run.h"
#include "setup/support/globals.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Windows that keep nothing and ask nothing: the run's own work is what is timed.
class QuietWindows : public setup::uninstall::RunWindows {
 public:
  bool optionChecked(int) override { return false; }
  bool optionVisible(int) override { return true; }
  void disableOptions() override {}
  void enterRunWindows() override {}
  void showStatus(const std::string&) override {}
  std::string setupFolderText() override { return "C:\\Program Files\\Bench\\"; }
  std::string answerSlot() override { return "Delete"; }
  void setAnswerSlot(const std::string&) override {}
  void askFourWay(const std::string&) override {}
  void showFailureDetails(const std::string&) override {}
  void finishRun() override {}
};

std::string Name(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "F%05d.DAT", i);
  return buf;
}

// The files straight into the host folder: the set-up is not what is measured.
void Fill(const std::string& hostFolder, int files) {
  std::filesystem::create_directories(hostFolder);
  for (int i = 1; i <= files; ++i) std::ofstream(hostFolder + "/" + Name(i)) << std::string(200, 'x');
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::string root = (std::filesystem::temp_directory_path() / "pagina-uninstall-bench-XXXXXX").string();
  if (!mkdtemp(root.data())) return 1;

  plat::PosixMachine machine = plat::PosixMachine::fresh(root + "/m");
  plat::Services services = machine.services();
  setup::ResetGlobals(services, [](const std::string&, const std::string&, std::uint32_t) { return 1; });
  setup::FolderTable& f = setup::G().folders;
  f.WindowsFolder = "C:\\WINDOWS\\";
  f.SystemFolder = "C:\\WINDOWS\\SYSTEM32\\";
  f.TempFolder = "C:\\WINDOWS\\TEMP\\";
  f.ProgramFilesFolder = "C:\\Program Files\\";
  setup::G().startup.ScriptPath = "C:\\WINDOWS\\TEMP\\VSTMP1\\UNSETUP.INI";

  const std::string app = "C:\\Program Files\\Bench\\";
  machine.putFolder(app + "DATA");
  Fill(machine.hostPath(app + "DATA"), files);
  std::string record = "[SetupFolder]\r\nFolder=" + app + "\r\n[DeleteFolder]\r\nFolder1=" + app + "DATA\\\r\n[DeleteFile]\r\n";
  for (int i = 1; i <= files; ++i) record += "File" + std::to_string(i) + "=" + app + "DATA\\" + Name(i) + "\r\n";
  machine.putFile(setup::G().startup.ScriptPath, record);

  QuietWindows windows;
  auto start = Clock::now();
  const setup::uninstall::RunOutcome out = setup::uninstall::RunUninstall(windows);
  const double uninstall = Seconds(start);

  const std::string baseline = root + "/rm-target";
  Fill(baseline, files);
  start = Clock::now();
  const std::string cmd = "rm -rf '" + baseline + "'";
  if (std::system(cmd.c_str()) != 0) std::printf("rm -rf failed\n");
  const double remove = Seconds(start);

  std::printf("uninstall run, %d recorded files: %.3f s (%d failures); rm -rf: %.3f s; ratio %.1f\n", files,
              uninstall, out.failureCount, remove, remove > 0 ? uninstall / remove : 0.0);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return 0;
}

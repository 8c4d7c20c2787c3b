// scriptcheck on Linux: the script's folder and the other disks are mapped as drives of a
// scratch machine, so the script is read exactly as the installer reads it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_machine.h"
#include "tools/checker/cli.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const char* lang = std::getenv("LANG");
  scriptcheck::Options o =
      scriptcheck::ParseArguments(args, lang && std::string(lang).rfind("ja", 0) == 0 ? "ja" : "en");
  if (o.help || !o.error.empty()) {
    if (!o.error.empty()) std::cerr << "scriptcheck: " << o.error << "\n";
    std::cerr << scriptcheck::UsageText();
    return o.help ? 0 : 2;
  }
  std::error_code ec;
  fs::path script = fs::absolute(o.script, ec);
  if (ec || !fs::is_regular_file(script)) {
    std::cerr << "scriptcheck: " << o.script << ": no such file\n";
    return 2;
  }
  char scratch[] = "/tmp/scriptcheck-XXXXXX";
  if (!mkdtemp(scratch)) {
    std::perror("scriptcheck");
    return 2;
  }
  int status = 2;
  try {
    plat::PosixMachine machine = plat::PosixMachine::fresh(std::string(scratch) + "/machine");
    // Disk 1 is M:, the next disks N:, O:, ...
    auto mapDrive = [&](char letter, const fs::path& folder) {
      fs::path link = fs::path(machine.root()) / std::string(1, letter);
      fs::remove_all(link);
      fs::create_directory_symlink(fs::absolute(folder), link);
    };
    mapDrive('M', script.parent_path());
    std::vector<std::string> disks;
    for (size_t i = 0; i < o.disks.size() && i < 12; ++i) {
      char letter = static_cast<char>('N' + i);
      mapDrive(letter, o.disks[i]);
      disks.push_back(std::string(1, letter) + ":\\");
    }
    std::string winScript = "M:\\" + plat::posix::fromHostName(script.filename().string());
    plat::Services services = machine.services();
    status = scriptcheck::RunCheck(services, winScript, disks, o.script, o.lang,
                                   [](const std::string& line) { std::cout << plat::posix::toHostName(line); });
  } catch (const std::exception& e) {
    std::cerr << "scriptcheck: " << e.what() << "\n";
  }
  fs::remove_all(scratch, ec);
  return status;
}

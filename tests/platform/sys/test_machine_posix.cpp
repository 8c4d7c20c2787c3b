// The contract tests' machine on Linux: a fresh PosixMachine in a temporary folder.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/sys/posix/posix_machine.h"
#include "tests/platform/sys/test_machine.h"

namespace plat::testing {
namespace {

std::string makeTempRoot() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/pagina-machine-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

class PosixTestMachine : public TestMachine {
 public:
  PosixTestMachine() : root_(makeTempRoot()), machine_(PosixMachine::fresh(root_ + "/m")) {
    machine_.putFolder("C:\\SCRATCH");
    machine_.registry().createKey(RegRoot::CurrentUser, "Software\\PaginaTests");
  }
  ~PosixTestMachine() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Services services() override { return machine_.services(); }
  std::string scratchFolder() override { return "C:\\SCRATCH"; }
  std::string scratchKey() override { return "Software\\PaginaTests"; }

 private:
  std::string root_;
  PosixMachine machine_;
};

}  // namespace

std::unique_ptr<TestMachine> makeTestMachine() { return std::make_unique<PosixTestMachine>(); }

}  // namespace plat::testing

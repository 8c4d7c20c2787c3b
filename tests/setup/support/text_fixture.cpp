// PlatformServices for each platform.
#include "text_fixture.h"

#if defined(_WIN32)
#include "platform/sys/win32/win32_services.h"
#else
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "platform/sys/posix/posix_machine.h"
#endif

namespace setup::testing {

#if defined(_WIN32)

plat::Services& PlatformServices() {
  static plat::Services services = plat::hostServices().services();
  return services;
}

#else

namespace {

// A machine in a temporary folder that is removed when the test program ends.
struct TemporaryMachine {
  TemporaryMachine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagina-support-text-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    root = pattern;
    machine = std::make_unique<plat::PosixMachine>(plat::PosixMachine::fresh(root + "/machine"));
    services = std::make_unique<plat::Services>(machine->services());
  }
  ~TemporaryMachine() {
    services.reset();
    machine.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root;
  std::unique_ptr<plat::PosixMachine> machine;
  std::unique_ptr<plat::Services> services;
};

}  // namespace

plat::Services& PlatformServices() {
  static TemporaryMachine machine;
  return *machine.services;
}

#endif

}  // namespace setup::testing

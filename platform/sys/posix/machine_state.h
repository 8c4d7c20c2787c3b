// What a PosixMachine holds: the root, its layout, the side tables and the service objects.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/sys/posix/attribute_table.h"
#include "platform/sys/posix/faults.h"
#include "platform/sys/posix/host_paths.h"
#include "platform/sys/posix/posix_machine.h"
#include "platform/sys/posix/registry_store.h"
#include "platform/sys/profile.h"

namespace plat::posix {

class PosixFileSystem;
class PosixRegistry;
class PosixShell;
class PosixSystemInfo;

}  // namespace plat::posix

namespace plat {

struct PosixMachine::State {
  State(std::string rootPath, MachineLayout machineLayout);
  ~State();

  // Parses against the machine's current folder and finds the host entry.
  ErrorCode locate(const std::string& path, posix::HostEntry& entry, posix::WinPath* parsed = nullptr) const;
  // The folder set by setCurrentDirectory, else the layout's, else the program's folder.
  std::string currentDirectory() const;

  std::string root;
  MachineLayout layout;
  std::string currentFolder;  // set by setCurrentDirectory; empty until then
  posix::FaultInjector faults;
  posix::AttributeTable attributes;
  posix::RegistryStore registry;
  std::vector<JournalEntry> journal;
  std::set<std::string> mutexes;  // names compared without ASCII case (folded)

  std::unique_ptr<posix::PosixFileSystem> fileSystem;
  std::unique_ptr<posix::PosixRegistry> registryService;
  std::unique_ptr<posix::PosixShell> shell;
  std::unique_ptr<posix::PosixSystemInfo> system;
  std::unique_ptr<ProfileStore> profiles;
};

}  // namespace plat

// A folder that plays a Windows machine: drives, registry, special folders, and every system
// service over it, with fault injection and a journal of what the programs asked the shell to do.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/profile.h"
#include "platform/sys/services.h"

namespace plat {

// How a machine looks. Every path is a Windows path in CP932, without a trailing "\".
struct MachineLayout {
  std::int32_t platformId = 2;
  std::string programPath = "D:\\SETUP.EXE";
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
  std::string tempDirectory = "C:\\WINDOWS\\TEMP";  // "" plays a system without one
  std::string programFilesDirectory = "C:\\Program Files";
  std::string currentDirectory;                    // "" = the program's folder
  std::map<int, std::string> specialFolders;       // csidl -> path; a missing csidl gives ""
  // Free bytes a drive reports ('C' -> bytes); drives not listed report the host's free space.
  std::map<char, std::uint64_t> freeBytes;
  bool hasExtendedFreeSpace = true;  // false plays an early system without the extended query
  int restartAnswer = 7;             // the button the restart dialog returns (6 Yes, 7 No)
  // Version texts of programs' version resources (path -> "1.00"); files not listed have none.
  std::map<std::string, std::string> fileVersions;

  // A Japanese NT-style machine; the user folders carry a name with a 0x5C trail byte.
  static MachineLayout typical();
};

// Makes the Nth matching call of a service fail with a chosen code, once or from then on.
// Operations are the service methods' names; "shellDeleteItem" is each entry a shell delete
// removes (so one locked file inside a tree can be played). Calls that return no code fail their
// own way: "" for texts, false, -1 for the platform id, LoadFailed for a library call.
struct Fault {
  std::string operation;     // the service method's name ("copyFile", "writeValue", ...); "*" = any
  std::string pathContains;  // "" = any; else a substring (ASCII case ignored) of one of its paths
  int nth = 1;               // 1 = the first matching call after the fault is set
  ErrorCode code = err::kAccessDenied;
  bool persistent = false;
};

// One thing the programs asked of the shell or the system that leaves no file behind.
struct JournalEntry {
  std::string operation;  // "execute", "changeNotify", "restartDialog", "playSound"
  std::vector<std::string> arguments;
  bool operator==(const JournalEntry& o) const { return operation == o.operation && arguments == o.arguments; }
};

// Every file (Windows path -> bytes; folders as path + "\" -> "") and the registry text.
struct MachineSnapshot {
  std::map<std::string, std::string> files;
  std::string registry;
  bool operator==(const MachineSnapshot& o) const { return files == o.files && registry == o.registry; }
  bool operator!=(const MachineSnapshot& o) const { return !(*this == o); }
};
// A readable list of what differs ("+ path", "- path", "* path", "registry differs").
std::string describeDifferences(const MachineSnapshot& before, const MachineSnapshot& after);

class PosixMachine {
 public:
  // Opens a machine root as it is (drives are the one-letter folders in it).
  PosixMachine(std::string root, MachineLayout layout = MachineLayout::typical());
  // Lays out a fresh machine in an empty or missing folder: C:\ with the layout's folders and
  // the registry values a Windows installation has.
  static PosixMachine fresh(const std::string& root, MachineLayout layout = MachineLayout::typical());
  PosixMachine(PosixMachine&&) noexcept;
  PosixMachine& operator=(PosixMachine&&) noexcept;
  ~PosixMachine();

  Services services();
  FileSystem& files();
  Registry& registry();
  Shell& shell();
  SystemInfo& system();
  ProfileStore& profiles();

  const std::string& root() const;
  const MachineLayout& layout() const;
  MachineLayout& layout();  // changes take effect at once

  // Host path of a Windows path (existing entries found without ASCII case); "" for a bad path.
  std::string hostPath(const std::string& windowsPath) const;

  // Test helpers; they bypass fault injection and throw std::runtime_error on failure.
  void putFile(const std::string& path, const std::string& bytes);  // creates missing folders
  void putFolder(const std::string& path);
  std::string readFile(const std::string& path) const;
  bool exists(const std::string& path) const;
  bool fileExists(const std::string& path) const;
  bool folderExists(const std::string& path) const;
  // A drive with files; names may hold sub-folders ("DISK2\\A.EX_").
  void putMedium(const std::string& driveRoot, const std::vector<std::pair<std::string, std::string>>& files);
  MachineSnapshot snapshot() const;
  std::string registryText() const;  // the registry file's text

  // Fault injection. addFault returns an id for faultFired.
  int addFault(Fault fault);
  void clearFaults();
  int faultFired(int id) const;  // how often that fault has failed a call

  const std::vector<JournalEntry>& journal() const;
  void clearJournal();
  // Names of the mutexes held on this machine (a second program's mutex can be put here).
  std::vector<std::string> heldMutexes() const;
  void holdMutex(const std::string& name);

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace plat

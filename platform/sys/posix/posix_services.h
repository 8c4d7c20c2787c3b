// The service implementations over a machine root; each method first passes the fault hook.
#pragma once

#include "platform/sys/posix/machine_state.h"
#include "platform/sys/services.h"

namespace plat::posix {

using State = PosixMachine::State;

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(State& state) : s_(state) {}
  ErrorCode findFiles(const std::string& pattern, std::vector<DirEntry>& out) override;
  ErrorCode getAttributes(const std::string& path, std::uint32_t& attributes) override;
  ErrorCode setAttributes(const std::string& path, std::uint32_t attributes) override;
  ErrorCode createDirectory(const std::string& path) override;
  ErrorCode removeDirectory(const std::string& path) override;
  ErrorCode deleteFile(const std::string& path) override;
  ErrorCode copyFile(const std::string& source, const std::string& target, bool failIfExists) override;
  ErrorCode moveFile(const std::string& source, const std::string& target) override;
  ErrorCode readFile(const std::string& path, std::string& data) override;
  ErrorCode writeFile(const std::string& path, const std::string& data) override;
  ErrorCode stamp(const std::string& path, FileStamp& out) override;
  ErrorCode setLastWriteTime(const std::string& path, FileTime time) override;
  ErrorCode freeSpaceExtended(const std::string& rootPath, std::uint64_t& freeBytes) override;
  ErrorCode freeSpaceClusters(const std::string& rootPath, std::uint64_t& freeBytes) override;
  std::string currentDirectory() override;
  // Relative paths given to any service are then taken from this folder (and "C:name" from it
  // when it is on drive C). The folder is kept as given, normalized, not in its on-disk case.
  ErrorCode setCurrentDirectory(const std::string& path) override;
  ErrorCode shellDelete(const std::string& pathOrPattern) override;
  ErrorCode lzExpand(const std::string& source, const std::string& target) override;
  ErrorCode lzExpandedName(const std::string& source, std::string& name) override;

  // The same operations without the fault hook, for the other services and the test helpers.
  ErrorCode doWriteFile(const std::string& path, const std::string& data);
  ErrorCode doReadFile(const std::string& path, std::string& data);
  ErrorCode doCreateDirectory(const std::string& path);
  ErrorCode doGetAttributes(const std::string& path, std::uint32_t& attributes);

 private:
  ErrorCode freeSpace(const std::string& rootPath, std::uint64_t& freeBytes);
  // Deletes one entry (a folder with its contents); each entry passes the "shellDeleteItem" hook.
  ErrorCode deleteTree(const HostEntry& entry, const std::string& windowsPath);
  ErrorCode shellDeleteIn(const std::string& hostDir, const std::string& windowsDir, const std::string& pattern,
                          bool& matched);
  State& s_;
};

class PosixRegistry : public Registry {
 public:
  explicit PosixRegistry(State& state) : s_(state) {}
  ErrorCode createKey(RegRoot root, const std::string& path) override;
  bool keyExists(RegRoot root, const std::string& path) override;
  ErrorCode readValue(RegRoot root, const std::string& path, const std::string& name, RegValue& out) override;
  ErrorCode writeValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) override;
  ErrorCode deleteValue(RegRoot root, const std::string& path, const std::string& name) override;
  ErrorCode deleteKeyTree(RegRoot root, const std::string& path) override;
  ErrorCode listSubKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) override;
  ErrorCode listValues(RegRoot root, const std::string& path, std::vector<std::string>& names) override;

 private:
  State& s_;
};

class PosixShell : public Shell {
 public:
  explicit PosixShell(State& state) : s_(state) {}
  std::string specialFolder(int csidl) override;
  ErrorCode createShellLink(const std::string& linkPath, const ShellLinkData& link) override;
  ErrorCode readShellLink(const std::string& linkPath, ShellLinkData& link) override;
  ErrorCode execute(const std::string& verb, const std::string& file, const std::string& parameters,
                    const std::string& directory) override;
  void changeNotify(std::int32_t eventId, std::uint32_t flags, const std::string& path) override;
  int restartDialog() override;

 private:
  State& s_;
};

class PosixSystemInfo : public SystemInfo {
 public:
  explicit PosixSystemInfo(State& state) : s_(state) {}
  std::int32_t platformId() override;
  std::string programPath() override;
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  std::string tempDirectory() override;
  bool acquireNamedMutex(const std::string& name) override;
  void releaseNamedMutex() override;
  bool mapString(const std::string& text, std::uint32_t flags, std::string& out) override;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> leadByteRanges() override;
  std::string errorMessage(std::int32_t code) override;
  std::string fileVersion(const std::string& path) override;
  LibraryCallStatus callExport(const std::string& libraryPath, const std::string& exportName,
                               std::int32_t& result) override;
  bool playSound(const std::string& path) override;

 private:
  State& s_;
  std::string held_;
};

// FILETIME <-> host time.
FileTime toFileTime(std::int64_t seconds, std::int64_t nanoseconds);
void fromFileTime(FileTime time, std::int64_t& seconds, std::int64_t& nanoseconds);
// errno of a failed host call -> the system's error code.
ErrorCode fromErrno(int error);

}  // namespace plat::posix

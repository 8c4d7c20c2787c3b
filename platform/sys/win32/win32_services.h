// The system services over the Windows API (wide functions, texts converted from and to code page 932).
// Declared without <windows.h> so that a program's main() can include it.
#pragma once

#include "platform/sys/profile.h"
#include "platform/sys/services.h"

namespace plat {

class Win32FileSystem : public FileSystem {
 public:
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
  ErrorCode setCurrentDirectory(const std::string& path) override;
  ErrorCode shellDelete(const std::string& pathOrPattern) override;
  ErrorCode lzExpand(const std::string& source, const std::string& target) override;
  ErrorCode lzExpandedName(const std::string& source, std::string& name) override;
};

class Win32Registry : public Registry {
 public:
  ErrorCode createKey(RegRoot root, const std::string& path) override;
  bool keyExists(RegRoot root, const std::string& path) override;
  ErrorCode readValue(RegRoot root, const std::string& path, const std::string& name, RegValue& out) override;
  ErrorCode writeValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) override;
  ErrorCode deleteValue(RegRoot root, const std::string& path, const std::string& name) override;
  ErrorCode deleteKeyTree(RegRoot root, const std::string& path) override;
  ErrorCode listSubKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) override;
  ErrorCode listValues(RegRoot root, const std::string& path, std::vector<std::string>& names) override;
};

class Win32Shell : public Shell {
 public:
  std::string specialFolder(int csidl) override;
  ErrorCode createShellLink(const std::string& linkPath, const ShellLinkData& link) override;
  ErrorCode readShellLink(const std::string& linkPath, ShellLinkData& link) override;
  ErrorCode execute(const std::string& verb, const std::string& file, const std::string& parameters,
                    const std::string& directory) override;
  void changeNotify(std::int32_t eventId, std::uint32_t flags, const std::string& path) override;
  int restartDialog() override;
};

class Win32SystemInfo : public SystemInfo {
 public:
  ~Win32SystemInfo() override;
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
  void* mutex_ = nullptr;  // the held single-instance mutex (a HANDLE)
};

// Every service of the running Windows system, with the one profile engine over its files.
class Win32Services {
 public:
  Win32Services();
  Win32FileSystem files;
  Win32Registry registry;
  Win32Shell shell;
  Win32SystemInfo system;
  ProfileStore profiles;
  Services services() { return Services{files, registry, shell, system, profiles}; }
};

// The process's one set of services, for the programs' main().
Win32Services& hostServices();

}  // namespace plat

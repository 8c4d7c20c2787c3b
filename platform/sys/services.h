// The system services both programs run on. Program code talks only to these interfaces;
// win32/ implements them over the Windows API, posix/ over a folder that plays a machine.
//
// Conventions: every text and path is CP932 bytes; paths are Windows paths ("C:\A\B.TXT");
// failures come back as system error codes (0 = success) and out-values are valid only on success.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/types.h"

namespace plat {

class ProfileStore;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Directory search with the system's wildcard rules ("*", "?", "*.*" matches every name).
  // Like FindFirstFile/FindNextFile: a search inside a folder also yields "." and "..";
  // a drive root yields neither. No match gives kFileNotFound (or kPathNotFound for a bad folder).
  virtual ErrorCode findFiles(const std::string& pattern, std::vector<DirEntry>& out) = 0;

  // attr::kInvalid semantics are mapped to an error code: kFileNotFound / kPathNotFound.
  virtual ErrorCode getAttributes(const std::string& path, std::uint32_t& attributes) = 0;
  virtual ErrorCode setAttributes(const std::string& path, std::uint32_t attributes) = 0;

  // One level; kAlreadyExists (183) when the folder (or a file of that name) exists.
  virtual ErrorCode createDirectory(const std::string& path) = 0;
  // Empty folders only; kDirNotEmpty (145) otherwise. A trailing "\" is accepted.
  virtual ErrorCode removeDirectory(const std::string& path) = 0;
  virtual ErrorCode deleteFile(const std::string& path) = 0;
  // Copies data, attributes and last-write time, like CopyFile.
  virtual ErrorCode copyFile(const std::string& source, const std::string& target, bool failIfExists) = 0;
  virtual ErrorCode moveFile(const std::string& source, const std::string& target) = 0;

  // Whole-file reads and writes. writeFile creates or truncates, and the data is on disk on return.
  virtual ErrorCode readFile(const std::string& path, std::string& data) = 0;
  virtual ErrorCode writeFile(const std::string& path, const std::string& data) = 0;

  // Size and last-write time of a file (not a folder).
  virtual ErrorCode stamp(const std::string& path, FileStamp& out) = 0;
  virtual ErrorCode setLastWriteTime(const std::string& path, FileTime time) = 0;

  // Free bytes for the caller on the drive of rootPath ("C:\"). The extended query gives
  // kProcNotFound where the system lacks it; the cluster query is the older fallback.
  virtual ErrorCode freeSpaceExtended(const std::string& rootPath, std::uint64_t& freeBytes) = 0;
  virtual ErrorCode freeSpaceClusters(const std::string& rootPath, std::uint64_t& freeBytes) = 0;

  virtual std::string currentDirectory() = 0;
  // SetCurrentDirectory. The default refuses (kInvalidParameter) for implementations without it.
  virtual ErrorCode setCurrentDirectory(const std::string& path) {
    (void)path;
    return err::kInvalidParameter;
  }

  // The shell's delete operation (FO_DELETE with FOF_SILENT|FOF_NOCONFIRMATION|FOF_NOERRORUI):
  // one path or wildcard pattern; patterns match folders too and recurse into sub-folders;
  // nothing goes to a recycle bin.
  virtual ErrorCode shellDelete(const std::string& pathOrPattern) = 0;

  // LZ (SZDD) expansion of source into target; a file that is not compressed is copied.
  virtual ErrorCode lzExpand(const std::string& source, const std::string& target) = 0;
  // The original name stored in a compressed file's header (full path, as GetExpandedName).
  virtual ErrorCode lzExpandedName(const std::string& source, std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Paths are relative to the root, without a leading "\" ("SOFTWARE\Microsoft").
  // An empty value name addresses the key's default value.
  virtual ErrorCode createKey(RegRoot root, const std::string& path) = 0;  // every missing level
  virtual bool keyExists(RegRoot root, const std::string& path) = 0;
  virtual ErrorCode readValue(RegRoot root, const std::string& path, const std::string& name, RegValue& out) = 0;
  // The key must exist (kFileNotFound otherwise).
  virtual ErrorCode writeValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) = 0;
  virtual ErrorCode deleteValue(RegRoot root, const std::string& path, const std::string& name) = 0;
  virtual ErrorCode deleteKeyTree(RegRoot root, const std::string& path) = 0;  // with all sub-keys
  virtual ErrorCode listSubKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) = 0;
  virtual ErrorCode listValues(RegRoot root, const std::string& path, std::vector<std::string>& names) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // File-system path of a special folder by CSIDL number, without a trailing "\"; "" when none.
  virtual std::string specialFolder(int csidl) = 0;

  // Writes a shell link file. A failure to create the link object is reported as an error code too.
  virtual ErrorCode createShellLink(const std::string& linkPath, const ShellLinkData& link) = 0;
  virtual ErrorCode readShellLink(const std::string& linkPath, ShellLinkData& link) = 0;

  // ShellExecute: 0 when started, else a system error code.
  virtual ErrorCode execute(const std::string& verb, const std::string& file, const std::string& parameters,
                            const std::string& directory) = 0;

  // SHChangeNotify with a path (or none) — association and folder changes.
  virtual void changeNotify(std::int32_t eventId, std::uint32_t flags, const std::string& path) = 0;

  // The system's restart dialog with the reboot option; returns the button id (6 = Yes, 7 = No).
  virtual int restartDialog() = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  virtual std::int32_t platformId() = 0;       // 2 = NT, 1 = 9x; -1 when the query fails
  virtual std::string programPath() = 0;       // full path of the running program
  virtual std::string windowsDirectory() = 0;  // "" when the system reports none
  virtual std::string systemDirectory() = 0;
  virtual std::string tempDirectory() = 0;

  // Single-instance guard: false when a mutex of that name already exists (then nothing is held).
  virtual bool acquireNamedMutex(const std::string& name) = 0;
  virtual void releaseNamedMutex() = 0;

  // LCMapString with the system default locale; false when the system mapping fails.
  virtual bool mapString(const std::string& text, std::uint32_t flags, std::string& out) = 0;
  // Lead-byte ranges of the ANSI code page; empty when the system has no double-byte support.
  virtual std::vector<std::pair<std::uint8_t, std::uint8_t>> leadByteRanges() = 0;
  // The system's message for an error code (may be empty when the system has none).
  virtual std::string errorMessage(std::int32_t code) = 0;

  // FileVersion of the "041103a4" string table of a program's version resource; "" when none.
  virtual std::string fileVersion(const std::string& path) = 0;

  // Loads a library, calls an export that takes nothing and returns a 32-bit status, frees it.
  virtual LibraryCallStatus callExport(const std::string& libraryPath, const std::string& exportName,
                                       std::int32_t& result) = 0;

  // sndPlaySound of a wave file, asynchronous; false when it cannot be played.
  virtual bool playSound(const std::string& path) = 0;
};

// Everything a program needs from the system, handed to it by main() or by a test.
struct Services {
  FileSystem& files;
  Registry& registry;
  Shell& shell;
  SystemInfo& system;
  ProfileStore& profiles;
};

// CSIDL numbers the programs ask for.
namespace csidl {
constexpr int kPrograms = 2;
constexpr int kPersonal = 5;
constexpr int kStartup = 7;
constexpr int kSendTo = 9;
constexpr int kStartMenu = 11;
constexpr int kDesktopDirectory = 16;
constexpr int kCommonStartMenu = 22;
constexpr int kCommonPrograms = 23;
constexpr int kCommonStartup = 24;
constexpr int kCommonDesktopDirectory = 25;
constexpr int kAppData = 26;
constexpr int kProfile = 40;
}  // namespace csidl

}  // namespace plat

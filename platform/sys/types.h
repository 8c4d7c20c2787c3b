// Plain value types shared by every system service: error codes, file attributes, registry values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// A Windows system error code; 0 means success. Every service reports failures this way.
using ErrorCode = std::uint32_t;

namespace err {
constexpr ErrorCode kSuccess = 0;
constexpr ErrorCode kFileNotFound = 2;
constexpr ErrorCode kPathNotFound = 3;
constexpr ErrorCode kAccessDenied = 5;
constexpr ErrorCode kInvalidHandle = 6;
constexpr ErrorCode kNotEnoughMemory = 8;
constexpr ErrorCode kInvalidDrive = 15;
constexpr ErrorCode kWriteProtect = 19;
constexpr ErrorCode kNotReady = 21;
constexpr ErrorCode kSharingViolation = 32;
constexpr ErrorCode kLockViolation = 33;
constexpr ErrorCode kFileExists = 80;
constexpr ErrorCode kInvalidParameter = 87;
constexpr ErrorCode kDiskFull = 112;
constexpr ErrorCode kInvalidName = 123;
constexpr ErrorCode kModNotFound = 126;
constexpr ErrorCode kProcNotFound = 127;
constexpr ErrorCode kDirNotEmpty = 145;
constexpr ErrorCode kBadPathName = 161;
constexpr ErrorCode kAlreadyExists = 183;
constexpr ErrorCode kMoreData = 234;
constexpr ErrorCode kNoMoreItems = 259;
constexpr ErrorCode kBadExeFormat = 193;
constexpr ErrorCode kDirectory = 267;  // "the directory name is invalid"
constexpr ErrorCode kRegistryCorrupt = 1015;
constexpr ErrorCode kKeyDeleted = 1018;
}  // namespace err

// File attribute bits, with the values the system uses.
namespace attr {
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;
}  // namespace attr

// A file time: 100-nanosecond intervals since 1601-01-01 UTC (the system's FILETIME).
using FileTime = std::uint64_t;

// One entry found by a directory search. Names are CP932 bytes, without the folder.
struct DirEntry {
  std::string name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  FileTime lastWrite = 0;
};

// What a cache needs to tell whether a file changed since it was read.
struct FileStamp {
  std::uint64_t size = 0;
  FileTime lastWrite = 0;
  bool operator==(const FileStamp& o) const { return size == o.size && lastWrite == o.lastWrite; }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// Registry roots, with the system's predefined handle values.
enum class RegRoot : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kString = 1;        // REG_SZ
constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kBinary = 3;        // REG_BINARY
constexpr std::uint32_t kDword = 4;         // REG_DWORD
}  // namespace regtype

// A registry value. Strings are CP932 bytes without the terminating zero;
// a DWORD is its 4 bytes, little-endian; binary data is the raw bytes.
struct RegValue {
  std::uint32_t type = regtype::kNone;
  std::string data;

  static RegValue string(std::string s, std::uint32_t t = regtype::kString) { return {t, std::move(s)}; }
  static RegValue dword(std::uint32_t v) {
    std::string d(4, '\0');
    for (int i = 0; i < 4; ++i) d[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return {regtype::kDword, d};
  }
  bool isString() const { return type == regtype::kString || type == regtype::kExpandString; }
  bool isDword() const { return type == regtype::kDword && data.size() == 4; }
  std::uint32_t asDword() const {
    std::uint32_t v = 0;
    for (int i = 0; i < 4 && i < static_cast<int>(data.size()); ++i)
      v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return v;
  }
  bool operator==(const RegValue& o) const { return type == o.type && data == o.data; }
};

// The fields of a shell link (.lnk) that the programs write and the tests read back.
struct ShellLinkData {
  std::string target;            // full path of the linked file or program
  std::string arguments;
  std::string workingDirectory;
  std::string description;
  std::string iconPath;
  int iconIndex = 0;
  int showCommand = 1;           // SW_SHOWNORMAL
};

// Outcome of loading a library and calling one of its exports.
enum class LibraryCallStatus {
  Called,         // the export ran; its 32-bit result is in the out-value
  LoadFailed,     // the file could not be loaded as a library
  ExportMissing,  // loaded, but it has no export of that name
};

}  // namespace plat

// The system-information service: values from the layout, the machine's mutex set, string
// mappings, messages, and ELF shared objects named *.DLL standing in for libraries.
#include <dlfcn.h>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"
#include "platform/sys/posix/text_maps.h"

namespace plat::posix {
namespace {
const std::string kNone;
}

std::int32_t PosixSystemInfo::platformId() {
  if (s_.faults.hit("platformId", {&kNone})) return -1;
  return s_.layout.platformId;
}

std::string PosixSystemInfo::programPath() {
  if (s_.faults.hit("programPath", {&kNone})) return {};
  return s_.layout.programPath;
}

std::string PosixSystemInfo::windowsDirectory() {
  if (s_.faults.hit("windowsDirectory", {&kNone})) return {};
  return s_.layout.windowsDirectory;
}

std::string PosixSystemInfo::systemDirectory() {
  if (s_.faults.hit("systemDirectory", {&kNone})) return {};
  return s_.layout.systemDirectory;
}

std::string PosixSystemInfo::tempDirectory() {
  if (s_.faults.hit("tempDirectory", {&kNone})) return {};
  return s_.layout.tempDirectory;
}

bool PosixSystemInfo::acquireNamedMutex(const std::string& name) {
  if (s_.faults.hit("acquireNamedMutex", {&name})) return false;
  if (!held_.empty()) return false;  // one guard per program
  std::string key = foldCase(name);
  if (!s_.mutexes.insert(key).second) return false;
  held_ = key;
  return true;
}

void PosixSystemInfo::releaseNamedMutex() {
  if (s_.faults.hit("releaseNamedMutex", {&held_})) return;
  if (held_.empty()) return;
  s_.mutexes.erase(held_);
  held_.clear();
}

bool PosixSystemInfo::mapString(const std::string& text, std::uint32_t flags, std::string& out) {
  if (s_.faults.hit("mapString", {&text})) return false;
  return mapCp932(text, flags, out);
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> PosixSystemInfo::leadByteRanges() {
  if (s_.faults.hit("leadByteRanges", {&kNone})) return {};
  return {{0x81, 0x9F}, {0xE0, 0xFC}};
}

std::string PosixSystemInfo::errorMessage(std::int32_t code) {
  if (s_.faults.hit("errorMessage", {&kNone})) return {};
  return systemMessage(code);
}

std::string PosixSystemInfo::fileVersion(const std::string& path) {
  if (s_.faults.hit("fileVersion", {&path})) return {};
  HostEntry entry;
  if (s_.locate(path, entry) != err::kSuccess || !entry.exists || entry.isDir) return {};
  for (const auto& [program, version] : s_.layout.fileVersions) {
    HostEntry listed;
    if (s_.locate(program, listed) == err::kSuccess && listed.host == entry.host) return version;
  }
  return {};
}

LibraryCallStatus PosixSystemInfo::callExport(const std::string& libraryPath, const std::string& exportName,
                                              std::int32_t& result) {
  if (s_.faults.hit("callExport", {&libraryPath, &exportName})) return LibraryCallStatus::LoadFailed;
  HostEntry entry;
  if (s_.locate(libraryPath, entry) != err::kSuccess || !entry.exists || entry.isDir)
    return LibraryCallStatus::LoadFailed;
  void* handle = ::dlopen(entry.host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return LibraryCallStatus::LoadFailed;
  void* symbol = ::dlsym(handle, exportName.c_str());
  if (!symbol) {
    ::dlclose(handle);
    return LibraryCallStatus::ExportMissing;
  }
  using Export = std::int32_t (*)();
  result = reinterpret_cast<Export>(symbol)();
  ::dlclose(handle);
  return LibraryCallStatus::Called;
}

bool PosixSystemInfo::playSound(const std::string& path) {
  if (s_.faults.hit("playSound", {&path})) return false;
  HostEntry entry;
  if (s_.locate(path, entry) != err::kSuccess || !entry.exists || entry.isDir) return false;
  s_.journal.push_back({"playSound", {path}});
  return true;
}

}  // namespace plat::posix

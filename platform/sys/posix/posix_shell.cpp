// The shell service: special folders from the layout, real shell-link files, and a journal of
// the requests that leave no file behind (open a program or document, notifications, restart).
#include <sys/stat.h>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"
#include "platform/sys/posix/shell_link_format.h"

namespace plat::posix {
namespace {

// The target as seen from the link's folder ("..\..\Program Files\A.EXE"); "" across drives.
std::string relativePath(const WinPath& linkFolder, const WinPath& target) {
  if (linkFolder.drive != target.drive || target.parts.empty()) return {};
  std::size_t common = 0;
  while (common < linkFolder.parts.size() && common + 1 < target.parts.size() &&
         equalsNoCase(linkFolder.parts[common], target.parts[common]))
    ++common;
  std::string out;
  for (std::size_t i = common; i < linkFolder.parts.size(); ++i) out += "..\\";
  if (out.empty()) out = ".\\";
  for (std::size_t i = common; i < target.parts.size(); ++i) out += (i > common ? "\\" : "") + target.parts[i];
  return out;
}

bool isAddress(const std::string& file) {
  return file.find("://") != std::string::npos || file.compare(0, 7, "mailto:") == 0;
}

}  // namespace

std::string PosixShell::specialFolder(int csidl) {
  static const std::string none;
  if (s_.faults.hit("specialFolder", {&none})) return {};
  auto it = s_.layout.specialFolders.find(csidl);
  if (it == s_.layout.specialFolders.end()) return {};
  // Without a final "\" (found by stepping whole characters, so a trail byte is never taken for one).
  std::string path = it->second;
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); i += charLength(path, i)) last = i;
  if (path.size() > 3 && last == path.size() - 1 && path[last] == '\\') path.pop_back();
  return path;
}

ErrorCode PosixShell::createShellLink(const std::string& linkPath, const ShellLinkData& link) {
  if (ErrorCode e = s_.faults.hit("createShellLink", {&linkPath, &link.target})) return e;
  WinPath linkParsed, targetParsed;
  HostEntry linkEntry;
  if (ErrorCode e = s_.locate(linkPath, linkEntry, &linkParsed)) return e;
  LinkTargetFacts facts;
  std::string relative;
  HostEntry target;
  if (parseWindowsPath(link.target, s_.currentDirectory(), targetParsed) == err::kSuccess) {
    WinPath linkFolder = linkParsed;
    if (!linkFolder.parts.empty()) linkFolder.parts.pop_back();
    relative = relativePath(linkFolder, targetParsed);
    struct stat st;
    if (resolveHost(s_.root, targetParsed, target) == err::kSuccess && target.exists &&
        ::stat(target.host.c_str(), &st) == 0) {
      std::uint32_t bits = s_.attributes.get(target.host, target.isDir);
      facts.attributes = target.isDir ? (bits | attr::kDirectory) : (bits ? bits : attr::kNormal);
      facts.size = target.isDir ? 0 : static_cast<std::uint32_t>(st.st_size);
      facts.writeTime = toFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    }
  }
  std::string bytes;
  if (!encodeShellLink(link, relative, facts, bytes)) return err::kInvalidParameter;
  return s_.fileSystem->doWriteFile(linkPath, bytes);
}

ErrorCode PosixShell::readShellLink(const std::string& linkPath, ShellLinkData& link) {
  if (ErrorCode e = s_.faults.hit("readShellLink", {&linkPath})) return e;
  std::string bytes;
  if (ErrorCode e = s_.fileSystem->doReadFile(linkPath, bytes)) return e;
  if (!decodeShellLink(bytes, link)) return 1392;  // the file or directory is corrupted
  return err::kSuccess;
}

ErrorCode PosixShell::execute(const std::string& verb, const std::string& file, const std::string& parameters,
                              const std::string& directory) {
  if (ErrorCode e = s_.faults.hit("execute", {&file, &directory})) return e;
  if (!isAddress(file)) {
    WinPath parsed;
    std::string base = directory.empty() ? s_.currentDirectory() : directory;
    HostEntry entry;
    if (parseWindowsPath(file, base, parsed) != err::kSuccess ||
        resolveHost(s_.root, parsed, entry) != err::kSuccess)
      return err::kPathNotFound;
    if (!entry.exists) return err::kFileNotFound;
  }
  s_.journal.push_back({"execute", {verb, file, parameters, directory}});
  return err::kSuccess;
}

void PosixShell::changeNotify(std::int32_t eventId, std::uint32_t flags, const std::string& path) {
  if (s_.faults.hit("changeNotify", {&path})) return;
  s_.journal.push_back({"changeNotify", {std::to_string(eventId), std::to_string(flags), path}});
}

int PosixShell::restartDialog() {
  static const std::string none;
  if (s_.faults.hit("restartDialog", {&none})) return 0;
  s_.journal.push_back({"restartDialog", {}});
  return s_.layout.restartAnswer;
}

}  // namespace plat::posix

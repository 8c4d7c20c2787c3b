// The shell's delete operation on the machine root: one path, or a wildcard that matches files
// and folders alike (folders go with their contents) in the folder and in every sub-folder.
// Read-only, hidden and system entries are deleted too: with no confirmation asked, the shell
// removes them as it does any other entry.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sys/posix/posix_services.h"
#include "platform/sys/posix/wildcard.h"

namespace plat::posix {

ErrorCode PosixFileSystem::deleteTree(const HostEntry& entry, const std::string& windowsPath) {
  if (ErrorCode code = s_.faults.hit("shellDeleteItem", {&windowsPath})) return code;
  if (entry.isDir) {
    for (const auto& [host, cp932] : listHostFolder(entry.host)) {
      HostEntry child;
      child.host = entry.host + "/" + host;
      child.name = cp932;
      child.exists = true;
      child.isDir = hostIsDir(child.host);
      if (ErrorCode code = deleteTree(child, windowsPath + "\\" + cp932)) return code;
    }
    if (::rmdir(entry.host.c_str()) != 0) return fromErrno(errno);
  } else if (::unlink(entry.host.c_str()) != 0) {
    return fromErrno(errno);
  }
  noteHostChange(entry.host);
  s_.attributes.erase(entry.host);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::shellDeleteIn(const std::string& hostDir, const std::string& windowsDir,
                                         const std::string& pattern, bool& matched) {
  for (const auto& [host, cp932] : listHostFolder(hostDir)) {
    HostEntry child;
    child.host = hostDir + "/" + host;
    child.name = cp932;
    child.exists = true;
    child.isDir = hostIsDir(child.host);
    if (matchesWildcard(pattern, cp932)) {
      matched = true;
      if (ErrorCode code = deleteTree(child, windowsDir + "\\" + cp932)) return code;
    } else if (child.isDir) {
      if (ErrorCode code = shellDeleteIn(child.host, windowsDir + "\\" + cp932, pattern, matched)) return code;
    }
  }
  return err::kSuccess;
}

ErrorCode PosixFileSystem::shellDelete(const std::string& pathOrPattern) {
  if (ErrorCode code = s_.faults.hit("shellDelete", {&pathOrPattern})) return code;
  WinPath path;
  if (ErrorCode code = parseWindowsPath(pathOrPattern, s_.currentDirectory(), path, true)) return code;
  if (path.parts.empty()) return err::kAccessDenied;  // a whole drive is never deleted
  const std::string last = path.parts.back();
  if (!hasWildcard(last)) {
    if (ErrorCode code = parseWindowsPath(pathOrPattern, s_.currentDirectory(), path)) return code;
    if (path.parts.empty()) return err::kAccessDenied;
    HostEntry e;
    if (ErrorCode code = resolveHost(s_.root, path, e)) return code;
    if (!e.exists) return err::kFileNotFound;
    return deleteTree(e, path.text());
  }
  WinPath folder = path;
  folder.parts.pop_back();
  HostEntry dir;
  if (ErrorCode code = resolveHost(s_.root, folder, dir)) return code;
  if (!dir.exists || !dir.isDir) return err::kPathNotFound;
  // A pattern that matches nothing leaves nothing to do, which counts as done.
  bool matched = false;
  std::string windowsDir = folder.text();
  if (folder.parts.empty()) windowsDir.pop_back();  // "C:" so that names join with one "\"
  return shellDeleteIn(dir.host, windowsDir, last, matched);
}

}  // namespace plat::posix

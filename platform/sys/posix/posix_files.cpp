// The file system service over the machine root: directory search, folders, files, attributes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"
#include "platform/sys/posix/wildcard.h"

namespace plat::posix {

FileTime toFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
  return static_cast<FileTime>((seconds + 11644473600LL) * 10000000LL + nanoseconds / 100);
}

void fromFileTime(FileTime time, std::int64_t& seconds, std::int64_t& nanoseconds) {
  seconds = static_cast<std::int64_t>(time / 10000000ULL) - 11644473600LL;
  nanoseconds = static_cast<std::int64_t>(time % 10000000ULL) * 100;
}

ErrorCode fromErrno(int error) {
  switch (error) {
    case ENOENT: return err::kFileNotFound;
    case ENOTDIR: return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return err::kAccessDenied;
    case EEXIST: return err::kAlreadyExists;
    case ENOTEMPTY: return err::kDirNotEmpty;
    case ENOSPC:
    case EDQUOT: return err::kDiskFull;
    case EROFS: return err::kWriteProtect;
    case EBUSY:
    case ETXTBSY: return err::kSharingViolation;
    case ENAMETOOLONG: return 206;  // the file name is too long
    case ENOMEM: return err::kNotEnoughMemory;
    default: return 31;  // a device attached to the system is not functioning
  }
}

namespace {

bool readHost(const std::string& host, std::string& data, ErrorCode& code) {
  int fd = ::open(host.c_str(), O_RDONLY);
  if (fd < 0) {
    code = fromErrno(errno);
    return false;
  }
  data.clear();
  char buf[65536];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) data.append(buf, static_cast<std::size_t>(n));
  code = n < 0 ? fromErrno(errno) : err::kSuccess;
  ::close(fd);
  return n == 0;
}

// Writes the whole file; flushed to the disk before returning when asked. Copies are not
// flushed (the system's copy does not wait for the disk either); whole-file writes, which
// hold records and settings, are.
ErrorCode writeHost(const std::string& host, const std::string& data, bool flush = true) {
  int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return fromErrno(errno);
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ErrorCode code = fromErrno(errno);
      ::close(fd);
      return code;
    }
    done += static_cast<std::size_t>(n);
  }
  ErrorCode code = !flush || ::fsync(fd) == 0 ? err::kSuccess : fromErrno(errno);
  if (::close(fd) != 0 && code == err::kSuccess) code = fromErrno(errno);
  return code;
}

bool hostFolderEmpty(const std::string& hostDir) {
  DIR* d = ::opendir(hostDir.c_str());
  if (!d) return true;
  bool empty = true;
  while (dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      empty = false;
      break;
    }
  }
  ::closedir(d);
  return empty;
}

FileTime hostWriteTime(const struct stat& st) { return toFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec); }

}  // namespace

// ---- directory search and attributes ----

ErrorCode PosixFileSystem::findFiles(const std::string& pattern, std::vector<DirEntry>& out) {
  if (ErrorCode e = s_.faults.hit("findFiles", {&pattern})) return e;
  out.clear();
  WinPath path;
  if (ErrorCode e = parseWindowsPath(pattern, s_.currentDirectory(), path, true)) return e;
  if (path.parts.empty() || path.trailingSlash) return err::kFileNotFound;
  std::string name = path.parts.back();
  WinPath folder = path;
  folder.parts.pop_back();
  HostEntry dir;
  if (ErrorCode e = resolveHost(s_.root, folder, dir)) return e;
  if (!dir.exists || !dir.isDir) return err::kPathNotFound;

  auto add = [&](const std::string& entryName, const std::string& host) {
    struct stat st;
    if (::stat(host.c_str(), &st) != 0) return;
    DirEntry entry;
    entry.name = entryName;
    bool isDir = S_ISDIR(st.st_mode);
    std::uint32_t bits = s_.attributes.get(host, isDir);
    entry.attributes = isDir ? (bits | attr::kDirectory) : (bits ? bits : attr::kNormal);
    entry.size = isDir ? 0 : static_cast<std::uint64_t>(st.st_size);
    entry.lastWrite = hostWriteTime(st);
    out.push_back(entry);
  };
  if (!dir.isRoot) {
    if (matchesWildcard(name, ".")) add(".", dir.host);
    if (matchesWildcard(name, "..")) add("..", dir.host + "/..");
  }
  if (hasWildcard(name) || name.back() == '.') {
    for (const auto& [host, cp932] : listHostFolder(dir.host))
      if (matchesWildcard(name, cp932)) add(cp932, dir.host + "/" + host);
  } else {
    // A plain name matches only itself without ASCII case: a look-up, not a listing.
    for (const auto& [host, cp932] : indexedFolder(dir.host, &name)) add(cp932, dir.host + "/" + host);
  }
  return out.empty() ? err::kFileNotFound : err::kSuccess;
}

ErrorCode PosixFileSystem::doGetAttributes(const std::string& path, std::uint32_t& attributes) {
  HostEntry e;
  WinPath parsed;
  if (ErrorCode code = s_.locate(path, e, &parsed)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (parsed.trailingSlash && !e.isDir) return err::kInvalidName;
  std::uint32_t bits = s_.attributes.get(e.host, e.isDir);
  attributes = e.isDir ? (bits | attr::kDirectory) : (bits ? bits : attr::kNormal);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
  if (ErrorCode e = s_.faults.hit("getAttributes", {&path})) return e;
  return doGetAttributes(path, attributes);
}

ErrorCode PosixFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  if (ErrorCode code = s_.faults.hit("setAttributes", {&path})) return code;
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  s_.attributes.set(e.host, attributes & ~(attr::kDirectory | attr::kNormal), e.isDir);
  return err::kSuccess;
}

// ---- folders ----

ErrorCode PosixFileSystem::doCreateDirectory(const std::string& path) {
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (e.exists) return err::kAlreadyExists;
  if (!isValidName(e.name)) return err::kInvalidName;
  if (::mkdir(e.host.c_str(), 0755) != 0) return fromErrno(errno);
  noteHostChange(e.host);
  s_.attributes.erase(e.host);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::createDirectory(const std::string& path) {
  if (ErrorCode e = s_.faults.hit("createDirectory", {&path})) return e;
  return doCreateDirectory(path);
}

ErrorCode PosixFileSystem::removeDirectory(const std::string& path) {
  if (ErrorCode code = s_.faults.hit("removeDirectory", {&path})) return code;
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (!e.isDir) return err::kDirectory;
  if (e.isRoot || (s_.attributes.get(e.host, true) & attr::kReadOnly)) return err::kAccessDenied;
  if (!hostFolderEmpty(e.host)) return err::kDirNotEmpty;
  if (::rmdir(e.host.c_str()) != 0) return fromErrno(errno);
  noteHostChange(e.host);
  s_.attributes.erase(e.host);
  return err::kSuccess;
}

// ---- files ----

ErrorCode PosixFileSystem::deleteFile(const std::string& path) {
  if (ErrorCode code = s_.faults.hit("deleteFile", {&path})) return code;
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (e.isDir || (s_.attributes.get(e.host, false) & attr::kReadOnly)) return err::kAccessDenied;
  if (::unlink(e.host.c_str()) != 0) return fromErrno(errno);
  noteHostChange(e.host);
  s_.attributes.erase(e.host);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::copyFile(const std::string& source, const std::string& target, bool failIfExists) {
  if (ErrorCode code = s_.faults.hit("copyFile", {&source, &target})) return code;
  HostEntry from, to;
  if (ErrorCode code = s_.locate(source, from)) return code;
  if (!from.exists) return err::kFileNotFound;
  if (from.isDir) return err::kAccessDenied;
  if (ErrorCode code = s_.locate(target, to)) return code;
  if (to.exists) {
    if (to.host == from.host) return err::kSharingViolation;
    if (failIfExists) return err::kFileExists;
    if (to.isDir || (s_.attributes.get(to.host, false) & attr::kReadOnly)) return err::kAccessDenied;
  } else if (!isValidName(to.name)) {
    return err::kInvalidName;
  }
  std::string data;
  ErrorCode code;
  if (!readHost(from.host, data, code)) return code;
  struct stat st;
  if (::stat(from.host.c_str(), &st) != 0) return fromErrno(errno);
  // Written beside the target and renamed over it, so a failed copy leaves the old target whole.
  std::string temp = to.parentHost + "/.pagina-copy.tmp";
  if ((code = writeHost(temp, data, false)) != err::kSuccess) {
    ::unlink(temp.c_str());
    noteHostChange(temp);
    return code;
  }
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::utimensat(AT_FDCWD, temp.c_str(), times, 0);
  if (std::rename(temp.c_str(), to.host.c_str()) != 0) {
    code = fromErrno(errno);
    ::unlink(temp.c_str());
    noteHostChange(temp);
    return code;
  }
  noteHostChange(temp);
  noteHostChange(to.host);
  s_.attributes.set(to.host, s_.attributes.get(from.host, false));
  return err::kSuccess;
}

ErrorCode PosixFileSystem::moveFile(const std::string& source, const std::string& target) {
  if (ErrorCode code = s_.faults.hit("moveFile", {&source, &target})) return code;
  HostEntry from, to;
  WinPath toPath;
  if (ErrorCode code = s_.locate(source, from)) return code;
  if (!from.exists) return err::kFileNotFound;
  if (from.isRoot) return err::kAccessDenied;
  if (ErrorCode code = s_.locate(target, to, &toPath)) return code;
  std::string destination = to.host;
  if (to.exists) {
    if (to.host != from.host) return err::kAlreadyExists;
    // Same entry under another spelling: a change of letter case only.
    destination = to.parentHost + "/" + toHostName(toPath.parts.back());
  } else if (!isValidName(to.name)) {
    return err::kInvalidName;
  }
  if (from.isDir && destination.compare(0, from.host.size() + 1, from.host + "/") == 0)
    return err::kSharingViolation;
  if (std::rename(from.host.c_str(), destination.c_str()) != 0) return fromErrno(errno);
  noteHostChange(from.host);
  noteHostChange(destination);
  s_.attributes.rename(from.host, destination);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::doReadFile(const std::string& path, std::string& data) {
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (e.isDir) return err::kAccessDenied;
  ErrorCode code;
  readHost(e.host, data, code);
  return code;
}

ErrorCode PosixFileSystem::readFile(const std::string& path, std::string& data) {
  if (ErrorCode e = s_.faults.hit("readFile", {&path})) return e;
  return doReadFile(path, data);
}

ErrorCode PosixFileSystem::doWriteFile(const std::string& path, const std::string& data) {
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  std::uint32_t bits = attr::kArchive;
  if (e.exists) {
    bits = s_.attributes.get(e.host, e.isDir);
    if (e.isDir || (bits & attr::kReadOnly)) return err::kAccessDenied;
  } else if (!isValidName(e.name)) {
    return err::kInvalidName;
  }
  ErrorCode written = writeHost(e.host, data);
  if (!e.exists) noteHostChange(e.host);  // a failed write may still have made the file
  if (written) return written;
  s_.attributes.set(e.host, bits | attr::kArchive);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::writeFile(const std::string& path, const std::string& data) {
  if (ErrorCode e = s_.faults.hit("writeFile", {&path})) return e;
  return doWriteFile(path, data);
}

ErrorCode PosixFileSystem::stamp(const std::string& path, FileStamp& out) {
  if (ErrorCode code = s_.faults.hit("stamp", {&path})) return code;
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (e.isDir) return err::kAccessDenied;
  struct stat st;
  if (::stat(e.host.c_str(), &st) != 0) return fromErrno(errno);
  out.size = static_cast<std::uint64_t>(st.st_size);
  out.lastWrite = hostWriteTime(st);
  return err::kSuccess;
}

ErrorCode PosixFileSystem::setLastWriteTime(const std::string& path, FileTime time) {
  if (ErrorCode code = s_.faults.hit("setLastWriteTime", {&path})) return code;
  HostEntry e;
  if (ErrorCode code = s_.locate(path, e)) return code;
  if (!e.exists) return err::kFileNotFound;
  if (!e.isDir && (s_.attributes.get(e.host, false) & attr::kReadOnly)) return err::kAccessDenied;
  std::int64_t sec, nsec;
  fromFileTime(time, sec, nsec);
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[0].tv_sec = 0;
  times[1].tv_sec = static_cast<time_t>(sec);
  times[1].tv_nsec = static_cast<long>(nsec);
  if (::utimensat(AT_FDCWD, e.host.c_str(), times, 0) != 0) return fromErrno(errno);
  return err::kSuccess;
}

// ---- drives ----

ErrorCode PosixFileSystem::freeSpace(const std::string& rootPath, std::uint64_t& freeBytes) {
  WinPath p;
  if (ErrorCode code = parseWindowsPath(rootPath, s_.currentDirectory(), p)) return code;
  std::string drive = s_.root + "/" + std::string(1, p.drive);
  if (!hostIsDir(drive)) return err::kPathNotFound;
  auto it = s_.layout.freeBytes.find(p.drive);
  if (it != s_.layout.freeBytes.end()) {
    freeBytes = it->second;
    return err::kSuccess;
  }
  struct statvfs vfs;
  if (::statvfs(drive.c_str(), &vfs) != 0) return fromErrno(errno);
  freeBytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  return err::kSuccess;
}

ErrorCode PosixFileSystem::freeSpaceExtended(const std::string& rootPath, std::uint64_t& freeBytes) {
  if (ErrorCode e = s_.faults.hit("freeSpaceExtended", {&rootPath})) return e;
  if (!s_.layout.hasExtendedFreeSpace) return err::kProcNotFound;
  return freeSpace(rootPath, freeBytes);
}

ErrorCode PosixFileSystem::freeSpaceClusters(const std::string& rootPath, std::uint64_t& freeBytes) {
  if (ErrorCode e = s_.faults.hit("freeSpaceClusters", {&rootPath})) return e;
  return freeSpace(rootPath, freeBytes);
}

std::string PosixFileSystem::currentDirectory() {
  static const std::string none;
  if (s_.faults.hit("currentDirectory", {&none})) return {};
  return s_.currentDirectory();
}

ErrorCode PosixFileSystem::setCurrentDirectory(const std::string& path) {
  if (ErrorCode code = s_.faults.hit("setCurrentDirectory", {&path})) return code;
  HostEntry e;
  WinPath parsed;
  if (ErrorCode code = s_.locate(path, e, &parsed)) return code;
  if (!e.exists) return err::kPathNotFound;
  if (!e.isDir) return err::kDirectory;
  s_.currentFolder = parsed.text();
  return err::kSuccess;
}

}  // namespace plat::posix

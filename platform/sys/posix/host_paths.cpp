// Path parsing and case-blind look-up of entries under the machine root.
#include "platform/sys/posix/host_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/sys/posix/cp932.h"

namespace plat::posix {

std::string WinPath::text() const {
  std::string out(1, drive);
  out += ":\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  return out;
}

ErrorCode parseWindowsPath(const std::string& path, const std::string& currentDirectory, WinPath& out,
                           bool patternLast) {
  if (path.empty()) return err::kPathNotFound;
  if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/'))
    return err::kBadPathName;
  std::string full;
  auto isDrive = [](const std::string& p) {
    return p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
  };
  if (isDrive(path)) {
    if (path.size() == 2 || (path[2] != '\\' && path[2] != '/')) {
      // "C:name": relative to the current folder when it is on that drive, else to the root.
      bool sameDrive = isDrive(currentDirectory) && (currentDirectory[0] & ~0x20) == (path[0] & ~0x20);
      full = sameDrive ? currentDirectory + "\\" + path.substr(2) : path.substr(0, 2) + "\\" + path.substr(2);
    } else {
      full = path;
    }
  } else if (path[0] == '\\' || path[0] == '/') {
    full = currentDirectory.substr(0, 2) + path;
  } else {
    full = currentDirectory + "\\" + path;
  }
  if (!isDrive(full)) return err::kPathNotFound;
  out = WinPath{};
  out.drive = static_cast<char>(full[0] & ~0x20);
  std::vector<std::string> parts = splitPath(full.substr(2));
  out.trailingSlash = parts.size() > 1 && parts.back().empty();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string part = parts[i];
    bool keep = patternLast && i + 1 == parts.size();
    // As the system normalizes: a segment loses one final period, and the last segment
    // (unless a separator follows) every final period and blank.
    if (!keep && part != "." && part != ".." && part.size() >= 2 && part.back() == '.' && part[part.size() - 2] != '.')
      part.pop_back();
    if (!keep && i + 1 == parts.size() && part != "." && part != "..") {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    }
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!out.parts.empty()) out.parts.pop_back();
      continue;
    }
    out.parts.push_back(part);
  }
  return err::kSuccess;
}

bool hostIsDir(const std::string& host) {
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool hostExists(const std::string& host) {
  struct stat st;
  return ::lstat(host.c_str(), &st) == 0;
}

namespace {

// Entries of a host folder in the order the host gives them.
std::vector<std::pair<std::string, std::string>> readFolder(const std::string& hostDir) {
  std::vector<std::pair<std::string, std::string>> out;
  DIR* d = ::opendir(hostDir.c_str());
  if (!d) return out;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    out.emplace_back(name, fromHostName(name));
  }
  ::closedir(d);
  return out;
}

// What tells one state of a folder from another, as far as the host shows it.
struct FolderIdentity {
  dev_t dev = 0;
  ino_t ino = 0;
  struct timespec mtime {};
  struct timespec ctime {};
  off_t size = 0;
  nlink_t links = 0;

  bool operator==(const FolderIdentity& o) const {
    return dev == o.dev && ino == o.ino && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
           ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec && size == o.size && links == o.links;
  }
};

bool folderIdentity(const std::string& hostDir, FolderIdentity& out) {
  struct stat st;
  if (::stat(hostDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  out.dev = st.st_dev;
  out.ino = st.st_ino;
  out.mtime = st.st_mtim;
  out.ctime = st.st_ctim;
  out.size = st.st_size;
  out.links = st.st_nlink;
  return true;
}

struct FolderIndex {
  FolderIdentity identity;
  // Folded CP932 name -> (host name, CP932 name); iterates in the order listHostFolder sorts.
  std::multimap<std::string, std::pair<std::string, std::string>> entries;
};

// Shared by every machine object of the process, so one object's change is seen by the others.
std::mutex gIndexMutex;
std::map<std::string, FolderIndex> gIndexes;

bool isAtOrBelow(const std::string& path, const std::string& prefix) {
  return path.compare(0, prefix.size(), prefix) == 0 && (path.size() == prefix.size() || path[prefix.size()] == '/');
}

// The valid index of a folder (read again when stale), or nullptr when it is not a folder.
// Call with gIndexMutex held.
FolderIndex* currentIndex(const std::string& hostDir) {
  FolderIdentity now;
  if (!folderIdentity(hostDir, now)) {
    gIndexes.erase(hostDir);
    return nullptr;
  }
  auto it = gIndexes.find(hostDir);
  if (it != gIndexes.end() && it->second.identity == now) return &it->second;
  // The identity is taken before the listing, so a change made meanwhile shows as stale next time.
  FolderIndex index;
  index.identity = now;
  for (auto& [host, cp932] : readFolder(hostDir)) {
    std::string key = foldCase(cp932);
    index.entries.emplace(std::move(key), std::make_pair(std::move(host), std::move(cp932)));
  }
  return &(gIndexes[hostDir] = std::move(index));
}

}  // namespace

std::vector<std::pair<std::string, std::string>> listHostFolder(const std::string& hostDir) {
  std::vector<std::pair<std::string, std::string>> out = readFolder(hostDir);
  std::vector<std::pair<std::string, std::pair<std::string, std::string>>> keyed;
  keyed.reserve(out.size());
  for (auto& entry : out) keyed.emplace_back(foldCase(entry.second), std::move(entry));
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  out.clear();
  for (auto& k : keyed) out.push_back(std::move(k.second));
  return out;
}

std::vector<std::pair<std::string, std::string>> indexedFolder(const std::string& hostDir, const std::string* name) {
  std::vector<std::pair<std::string, std::string>> out;
  std::lock_guard<std::mutex> lock(gIndexMutex);
  FolderIndex* index = currentIndex(hostDir);
  if (!index) return out;
  if (name) {
    auto [first, last] = index->entries.equal_range(foldCase(*name));
    for (auto it = first; it != last; ++it) out.push_back(it->second);
  } else {
    out.reserve(index->entries.size());
    for (const auto& entry : index->entries) out.push_back(entry.second);
  }
  return out;
}

void noteHostChange(const std::string& entryHost) {
  std::size_t slash = entryHost.rfind('/');
  if (slash == std::string::npos) return;
  const std::string parent = entryHost.substr(0, slash);
  const std::string hostName = entryHost.substr(slash + 1);
  std::lock_guard<std::mutex> lock(gIndexMutex);
  // A folder deleted, renamed or made anew at this path: whatever was known below it is gone.
  for (auto it = gIndexes.lower_bound(entryHost);
       it != gIndexes.end() && it->first.compare(0, entryHost.size(), entryHost) == 0;) {
    if (isAtOrBelow(it->first, entryHost))
      it = gIndexes.erase(it);
    else
      ++it;
  }
  auto pit = gIndexes.find(parent);
  if (pit == gIndexes.end()) return;
  FolderIdentity now;
  if (!folderIdentity(parent, now)) {
    gIndexes.erase(pit);
    return;
  }
  std::string cp932 = fromHostName(hostName);
  std::string key = foldCase(cp932);
  auto& entries = pit->second.entries;
  auto [first, last] = entries.equal_range(key);
  for (auto it = first; it != last;) {
    if (it->second.first == hostName)
      it = entries.erase(it);
    else
      ++it;
  }
  if (hostExists(entryHost)) entries.emplace(std::move(key), std::make_pair(hostName, std::move(cp932)));
  pit->second.identity = now;
}

namespace {

// Host name of the entry matching name without ASCII case, or "".
std::string findInFolder(const std::string& hostDir, const std::string& name, std::string& cp932Name) {
  std::string direct = toHostName(name);
  if (hostExists(hostDir + "/" + direct) && fromHostName(direct) == name) {
    cp932Name = name;
    return direct;
  }
  auto found = indexedFolder(hostDir, &name);
  if (found.empty()) return {};
  cp932Name = found.front().second;
  return found.front().first;
}

}  // namespace

namespace {

// The common case in one or two host calls: every folder on the way exists under exactly the
// name asked (so the walk below would take that name at each step too). False when the walk
// must decide.
bool resolveExact(const std::string& drive, const WinPath& path, HostEntry& out) {
  std::string parent = drive;
  for (std::size_t i = 0; i + 1 < path.parts.size(); ++i) {
    std::string host = toHostName(path.parts[i]);
    if (fromHostName(host) != path.parts[i]) return false;
    parent += "/" + host;
  }
  const std::string& last = path.parts.back();
  std::string lastHost = toHostName(last);
  if (fromHostName(lastHost) != last) return false;
  struct stat st;
  if (::lstat((parent + "/" + lastHost).c_str(), &st) == 0) {
    out.parentHost = parent;
    out.host = parent + "/" + lastHost;
    out.name = last;
    out.exists = true;
    out.isDir = S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && hostIsDir(out.host));
    return true;
  }
  if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  out.parentHost = parent;
  auto found = indexedFolder(parent, &last);
  if (found.empty()) {
    out.name = last;
    out.host = parent + "/" + lastHost;
    return true;
  }
  out.name = found.front().second;
  out.host = parent + "/" + found.front().first;
  out.exists = true;
  out.isDir = hostIsDir(out.host);
  return true;
}

}  // namespace

ErrorCode resolveHost(const std::string& root, const WinPath& path, HostEntry& out) {
  out = HostEntry{};
  std::string dir = root + "/" + std::string(1, path.drive);
  if (!path.parts.empty() && resolveExact(dir, path, out)) return err::kSuccess;
  out = HostEntry{};
  if (!hostIsDir(dir)) return err::kPathNotFound;
  if (path.parts.empty()) {
    out.host = out.parentHost = dir;
    out.exists = out.isDir = out.isRoot = true;
    return err::kSuccess;
  }
  for (std::size_t i = 0; i + 1 < path.parts.size(); ++i) {
    std::string realName;
    std::string host = findInFolder(dir, path.parts[i], realName);
    if (host.empty() || !hostIsDir(dir + "/" + host)) return err::kPathNotFound;
    dir += "/" + host;
  }
  out.parentHost = dir;
  std::string realName;
  std::string host = findInFolder(dir, path.parts.back(), realName);
  if (host.empty()) {
    out.name = path.parts.back();
    out.host = dir + "/" + toHostName(out.name);
    return err::kSuccess;
  }
  out.name = realName;
  out.host = dir + "/" + host;
  out.exists = true;
  out.isDir = hostIsDir(out.host);
  return err::kSuccess;
}

bool isValidName(const std::string& name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size();) {
    std::size_t n = charLength(name, i);
    if (n == 1) {
      unsigned char c = static_cast<unsigned char>(name[i]);
      if (c < 0x20) return false;
      if (std::string("<>:\"/\\|?*").find(static_cast<char>(c)) != std::string::npos) return false;
    }
    i += n;
  }
  return true;
}

}  // namespace plat::posix

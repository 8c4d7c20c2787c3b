// Path parsing and case-blind look-up of entries under the machine root.
#include "platform/sys/posix/host_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

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

std::vector<std::pair<std::string, std::string>> listHostFolder(const std::string& hostDir) {
  std::vector<std::pair<std::string, std::string>> out;
  DIR* d = ::opendir(hostDir.c_str());
  if (!d) return out;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    out.emplace_back(name, fromHostName(name));
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return foldCase(a.second) < foldCase(b.second);
  });
  return out;
}

namespace {

// Host name of the entry matching name without ASCII case, or "".
std::string findInFolder(const std::string& hostDir, const std::string& name, std::string& cp932Name) {
  std::string direct = toHostName(name);
  if (hostExists(hostDir + "/" + direct) && fromHostName(direct) == name) {
    cp932Name = name;
    return direct;
  }
  for (const auto& [host, cp932] : listHostFolder(hostDir)) {
    if (equalsNoCase(cp932, name)) {
      cp932Name = cp932;
      return host;
    }
  }
  return {};
}

}  // namespace

ErrorCode resolveHost(const std::string& root, const WinPath& path, HostEntry& out) {
  out = HostEntry{};
  std::string dir = root + "/" + std::string(1, path.drive);
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

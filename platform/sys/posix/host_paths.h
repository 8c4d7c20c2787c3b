// Windows paths on the machine root: parsing, and finding the host entry without ASCII case.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/sys/types.h"

namespace plat::posix {

struct WinPath {
  char drive = 'C';
  std::vector<std::string> parts;  // CP932 names, "." and ".." already applied
  bool trailingSlash = false;
  std::string text() const;        // "C:\A\B" (a drive root as "C:\")
};

// An absolute or relative path (relative ones against currentDirectory). 161 for forms this
// machine does not play (network paths), 3 for an empty path.
// patternLast keeps the last segment as written (a search pattern such as "*." must not lose
// its final period).
ErrorCode parseWindowsPath(const std::string& path, const std::string& currentDirectory, WinPath& out,
                           bool patternLast = false);

struct HostEntry {
  std::string host;        // host path of the entry (the existing one's real name, or a new one)
  std::string parentHost;  // host path of the folder holding it
  std::string name;        // CP932 name: as on disk when it exists, else as asked
  bool exists = false;
  bool isDir = false;
  bool isRoot = false;
};

// Finds the entry; 3 when the drive or a parent folder is missing (or a parent is a file).
ErrorCode resolveHost(const std::string& root, const WinPath& path, HostEntry& out);

// Entries of a host folder as (host name, CP932 name), sorted by upper-cased CP932 name.
std::vector<std::pair<std::string, std::string>> listHostFolder(const std::string& hostDir);

// A name that may be created: no control characters and none of < > : " / \ | ? *.
bool isValidName(const std::string& name);

bool hostIsDir(const std::string& host);
bool hostExists(const std::string& host);

}  // namespace plat::posix

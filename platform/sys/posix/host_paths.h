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
// Read from the disk on every call.
std::vector<std::pair<std::string, std::string>> listHostFolder(const std::string& hostDir);

// The same entries from the folder index: each folder's folded names are kept between calls
// and read again when the folder's identity (inode, change and write times, size, links)
// differs from the one seen. Given name, only the entries equal to it without ASCII case.
std::vector<std::pair<std::string, std::string>> indexedFolder(const std::string& hostDir,
                                                               const std::string* name = nullptr);

// Every change the machine makes to a folder's entries (create, delete, rename, a folder made
// or removed) is told here with the host path of the entry, after the change. The folder's
// index then takes the entry as it now is, and indexes of folders at or below it are dropped.
// Host timestamps are coarse, so a change by someone else in the same clock tick as one of
// ours is not seen; the machine's own changes always are.
void noteHostChange(const std::string& entryHost);

// A name that may be created: no control characters and none of < > : " / \ | ? *.
bool isValidName(const std::string& name);

bool hostIsDir(const std::string& host);
bool hostExists(const std::string& host);

}  // namespace plat::posix

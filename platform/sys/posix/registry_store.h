// The machine's registry: a tree of keys held in memory and kept in a text file in the root.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/types.h"

namespace plat::posix {

// Tells whether a side file changed since it was last read or written here.
struct FileIdentity {
  unsigned long long device = 0, inode = 0, size = 0;
  long long seconds = 0, nanoseconds = 0;
  bool present = false;
  static FileIdentity of(const std::string& path);
  bool operator==(const FileIdentity& o) const {
    return present == o.present && device == o.device && inode == o.inode && size == o.size &&
           seconds == o.seconds && nanoseconds == o.nanoseconds;
  }
};

struct RegKey {
  std::string name;
  std::map<std::string, std::unique_ptr<RegKey>> subKeys;  // by upper-cased name: the system's order
  std::vector<std::pair<std::string, RegValue>> values;    // in the order they were first written
};

class RegistryStore {
 public:
  // Loads the file when it exists; a file that cannot be parsed throws std::runtime_error.
  explicit RegistryStore(std::string file);

  // The key at path ("A\B"; empty parts ignored); nullptr when missing (create = false).
  // Every access first re-reads the file when another machine object on the same root changed it.
  RegKey* find(RegRoot root, const std::string& path, bool create);
  // Removes the key (not a root) with everything below it; false when missing.
  bool remove(RegRoot root, const std::string& path);
  void save();
  std::string text();

  // The text form, exposed for tests: keys as "[HKLM\A\B]", values as "name"=type:data,
  // every byte outside printable ASCII (and % " \ [ ]) written as %XX.
  static std::string serialize(const std::map<RegRoot, RegKey>& roots);
  static bool parse(const std::string& text, std::map<RegRoot, RegKey>& roots);

 private:
  void refresh();
  void load();

  std::string file_;
  std::map<RegRoot, RegKey> roots_;
  FileIdentity seen_;  // the file as last read or written
};

}  // namespace plat::posix

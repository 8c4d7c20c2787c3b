// The machine's registry: a tree of keys held in memory and kept in a text file in the root.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/types.h"

namespace plat::posix {

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
  RegKey* find(RegRoot root, const std::string& path, bool create);
  // Removes the key (not a root) with everything below it; false when missing.
  bool remove(RegRoot root, const std::string& path);
  void save() const;
  std::string text() const;

  // The text form, exposed for tests: keys as "[HKLM\A\B]", values as "name"=type:data,
  // every byte outside printable ASCII (and % " \ [ ]) written as %XX.
  static std::string serialize(const std::map<RegRoot, RegKey>& roots);
  static bool parse(const std::string& text, std::map<RegRoot, RegKey>& roots);

 private:
  std::string file_;
  std::map<RegRoot, RegKey> roots_;
};

}  // namespace plat::posix

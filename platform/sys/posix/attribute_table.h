// File attributes the host has no place for (read-only, hidden, system, archive), kept in a
// side file in the machine root, keyed by the entry's host path below the root.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace plat::posix {

class AttributeTable {
 public:
  explicit AttributeTable(std::string root);
  // Stored bits of an entry; files without an entry count as archive, folders as none.
  std::uint32_t get(const std::string& host, bool isDir) const;
  // Entries that hold the default are not kept, so the table stays as small as the odd files.
  void set(const std::string& host, std::uint32_t bits, bool isDir = false);
  void erase(const std::string& host);                              // with everything below it
  void rename(const std::string& fromHost, const std::string& toHost);  // with everything below it

 private:
  std::string key(const std::string& host) const;
  void load();
  void save() const;

  std::string root_;
  std::string file_;
  std::map<std::string, std::uint32_t> bits_;
};

}  // namespace plat::posix

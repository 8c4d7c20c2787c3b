// File attributes the host has no place for (read-only, hidden, system, archive), kept in a
// side file in the machine root, keyed by the entry's host path below the root.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/sys/posix/registry_store.h"

namespace plat::posix {

class AttributeTable {
 public:
  explicit AttributeTable(std::string root);
  // Stored bits of an entry; files without an entry count as archive, folders as none.
  // Like the registry, the table is read again when another machine object changed its file.
  std::uint32_t get(const std::string& host, bool isDir);
  // Entries that hold the default are not kept, so the table stays as small as the odd files.
  void set(const std::string& host, std::uint32_t bits, bool isDir = false);
  void erase(const std::string& host);                              // with everything below it
  void rename(const std::string& fromHost, const std::string& toHost);  // with everything below it

 private:
  std::string key(const std::string& host) const;
  void load();
  void refresh();
  void save();

  std::string root_;
  std::string file_;
  std::map<std::string, std::uint32_t> bits_;
  FileIdentity seen_;
};

}  // namespace plat::posix

// A small registry accessor in the style the runs use: choose a root, open one key (creating it
// or not), read and write its values, close it. Create one around each use.
//
// Key paths: a path that starts with "\" is absolute from the root; any other path is relative
// to the key currently open (or to the root when none is). One trailing "\" is ignored.
// Errors are values: every operation that can fail returns the system error code (0 = success),
// and an out-value is valid only on success. A write with no key open is refused
// (kInvalidHandle), as the system refuses a write to a key whose opening failed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sys/services.h"

namespace setup {

class RegistryAccess {
 public:
  // Uses the program's registry service (Sys().registry).
  explicit RegistryAccess(plat::RegRoot root = plat::RegRoot::CurrentUser);
  RegistryAccess(plat::Registry& registry, plat::RegRoot root);

  // Changing the root closes the open key.
  void SetRoot(plat::RegRoot root);
  plat::RegRoot Root() const { return root_; }

  // Creates every missing level of the key without opening it.
  plat::ErrorCode CreateKey(const std::string& key);
  // Opens the key; with canCreate a missing key is created first. True when it is open.
  // On failure no key is open.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey();
  bool HasCurrentKey() const { return open_; }
  // Path of the open key from the root, without leading or trailing "\".
  const std::string& CurrentPath() const { return current_; }

  bool KeyExists(const std::string& key);
  // Deletes the key with all its sub-keys. Deleting the open key closes it.
  plat::ErrorCode DeleteKey(const std::string& key);

  // Value operations on the open key; an empty name is the key's default value.
  bool ValueExists(const std::string& name);
  // A string or expandable string; kFileNotFound when missing, 13 (invalid data) for another type.
  plat::ErrorCode ReadString(const std::string& name, std::string& out);
  // A DWORD; kFileNotFound when missing, 13 (invalid data) for another type.
  plat::ErrorCode ReadInteger(const std::string& name, std::int32_t& out);
  plat::ErrorCode WriteString(const std::string& name, const std::string& value);
  plat::ErrorCode WriteExpandString(const std::string& name, const std::string& value);
  plat::ErrorCode WriteInteger(const std::string& name, std::int32_t value);
  plat::ErrorCode DeleteValue(const std::string& name);

  // The full path (from the root) that key names, by the rules above.
  std::string Resolve(const std::string& key) const;

 private:
  plat::ErrorCode Write(const std::string& name, const plat::RegValue& value);

  plat::Registry& registry_;
  plat::RegRoot root_;
  bool open_ = false;
  std::string current_;
};

// Error code for a value of the wrong type.
constexpr plat::ErrorCode kRegInvalidData = 13;

}  // namespace setup

// The registry service over the machine's registry file; every change is saved at once.
#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"

namespace plat::posix {
namespace {

bool validRoot(RegRoot root) {
  return root == RegRoot::ClassesRoot || root == RegRoot::CurrentUser || root == RegRoot::LocalMachine ||
         root == RegRoot::Users;
}

std::vector<std::pair<std::string, RegValue>>::iterator findValue(RegKey& key, const std::string& name) {
  for (auto it = key.values.begin(); it != key.values.end(); ++it)
    if (equalsNoCase(it->first, name)) return it;
  return key.values.end();
}

}  // namespace

ErrorCode PosixRegistry::createKey(RegRoot root, const std::string& path) {
  if (ErrorCode e = s_.faults.hit("createKey", {&path})) return e;
  if (!validRoot(root)) return err::kInvalidHandle;
  if (s_.registry.find(root, path, false)) return err::kSuccess;
  s_.registry.find(root, path, true);
  s_.registry.save();
  return err::kSuccess;
}

bool PosixRegistry::keyExists(RegRoot root, const std::string& path) {
  if (s_.faults.hit("keyExists", {&path})) return false;
  return s_.registry.find(root, path, false) != nullptr;
}

ErrorCode PosixRegistry::readValue(RegRoot root, const std::string& path, const std::string& name, RegValue& out) {
  if (ErrorCode e = s_.faults.hit("readValue", {&path, &name})) return e;
  RegKey* key = s_.registry.find(root, path, false);
  if (!key) return err::kFileNotFound;
  auto it = findValue(*key, name);
  if (it == key->values.end()) return err::kFileNotFound;
  out = it->second;
  return err::kSuccess;
}

ErrorCode PosixRegistry::writeValue(RegRoot root, const std::string& path, const std::string& name,
                                    const RegValue& value) {
  if (ErrorCode e = s_.faults.hit("writeValue", {&path, &name})) return e;
  RegKey* key = s_.registry.find(root, path, false);
  if (!key) return err::kFileNotFound;
  auto it = findValue(*key, name);
  if (it == key->values.end()) {
    key->values.emplace_back(name, value);
  } else {
    it->second = value;
  }
  s_.registry.save();
  return err::kSuccess;
}

ErrorCode PosixRegistry::deleteValue(RegRoot root, const std::string& path, const std::string& name) {
  if (ErrorCode e = s_.faults.hit("deleteValue", {&path, &name})) return e;
  RegKey* key = s_.registry.find(root, path, false);
  if (!key) return err::kFileNotFound;
  auto it = findValue(*key, name);
  if (it == key->values.end()) return err::kFileNotFound;
  key->values.erase(it);
  s_.registry.save();
  return err::kSuccess;
}

ErrorCode PosixRegistry::deleteKeyTree(RegRoot root, const std::string& path) {
  if (ErrorCode e = s_.faults.hit("deleteKeyTree", {&path})) return e;
  if (!s_.registry.find(root, path, false)) return err::kFileNotFound;
  if (!s_.registry.remove(root, path)) return err::kAccessDenied;  // a root key is never deleted
  s_.registry.save();
  return err::kSuccess;
}

ErrorCode PosixRegistry::listSubKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) {
  if (ErrorCode e = s_.faults.hit("listSubKeys", {&path})) return e;
  RegKey* key = s_.registry.find(root, path, false);
  if (!key) return err::kFileNotFound;
  names.clear();
  for (const auto& [folded, sub] : key->subKeys) names.push_back(sub->name);
  return err::kSuccess;
}

ErrorCode PosixRegistry::listValues(RegRoot root, const std::string& path, std::vector<std::string>& names) {
  if (ErrorCode e = s_.faults.hit("listValues", {&path})) return e;
  RegKey* key = s_.registry.find(root, path, false);
  if (!key) return err::kFileNotFound;
  names.clear();
  for (const auto& [name, value] : key->values) names.push_back(name);
  return err::kSuccess;
}

}  // namespace plat::posix

// The registry accessor of the runs over the registry service.
#include "setup/support/registry_access.h"

#include "setup/support/globals.h"
#include "setup/support/uStrOp.h"

namespace setup {

RegistryAccess::RegistryAccess(plat::RegRoot root) : RegistryAccess(Sys().registry, root) {}

RegistryAccess::RegistryAccess(plat::Registry& registry, plat::RegRoot root) : registry_(registry), root_(root) {}

void RegistryAccess::SetRoot(plat::RegRoot root) {
  CloseKey();
  root_ = root;
}

std::string RegistryAccess::Resolve(const std::string& key) const {
  const bool absolute = RemovePathDelimiter(key, "T") != key;
  std::string path = RemovePathDelimiter(RemovePathDelimiter(key, "T"), "B");
  if (!absolute && open_ && !current_.empty()) path = path.empty() ? current_ : current_ + "\\" + path;
  return path;
}

plat::ErrorCode RegistryAccess::CreateKey(const std::string& key) { return registry_.createKey(root_, Resolve(key)); }

bool RegistryAccess::OpenKey(const std::string& key, bool canCreate) {
  const std::string path = Resolve(key);
  CloseKey();
  if (canCreate && registry_.createKey(root_, path) != plat::err::kSuccess) return false;
  if (!registry_.keyExists(root_, path)) return false;
  open_ = true;
  current_ = path;
  return true;
}

void RegistryAccess::CloseKey() {
  open_ = false;
  current_.clear();
}

bool RegistryAccess::KeyExists(const std::string& key) { return registry_.keyExists(root_, Resolve(key)); }

plat::ErrorCode RegistryAccess::DeleteKey(const std::string& key) {
  const std::string path = Resolve(key);
  // The root itself is never a key to delete.
  if (path.empty()) return plat::err::kInvalidParameter;
  const plat::ErrorCode code = registry_.deleteKeyTree(root_, path);
  if (code == plat::err::kSuccess && open_) {
    const std::string within = path + "\\";
    if (current_ == path || current_.compare(0, within.size(), within) == 0) CloseKey();
  }
  return code;
}

bool RegistryAccess::ValueExists(const std::string& name) {
  if (!open_) return false;
  plat::RegValue value;
  return registry_.readValue(root_, current_, name, value) == plat::err::kSuccess;
}

plat::ErrorCode RegistryAccess::ReadString(const std::string& name, std::string& out) {
  if (!open_) return plat::err::kInvalidHandle;
  plat::RegValue value;
  const plat::ErrorCode code = registry_.readValue(root_, current_, name, value);
  if (code != plat::err::kSuccess) return code;
  if (!value.isString()) return kRegInvalidData;
  out = value.data;
  // Data written by other programs may carry its terminating zero.
  const std::size_t zero = out.find('\0');
  if (zero != std::string::npos) out.resize(zero);
  return plat::err::kSuccess;
}

plat::ErrorCode RegistryAccess::ReadInteger(const std::string& name, std::int32_t& out) {
  if (!open_) return plat::err::kInvalidHandle;
  plat::RegValue value;
  const plat::ErrorCode code = registry_.readValue(root_, current_, name, value);
  if (code != plat::err::kSuccess) return code;
  if (!value.isDword()) return kRegInvalidData;
  out = static_cast<std::int32_t>(value.asDword());
  return plat::err::kSuccess;
}

plat::ErrorCode RegistryAccess::Write(const std::string& name, const plat::RegValue& value) {
  if (!open_) return plat::err::kInvalidHandle;
  return registry_.writeValue(root_, current_, name, value);
}

plat::ErrorCode RegistryAccess::WriteString(const std::string& name, const std::string& value) {
  return Write(name, plat::RegValue::string(value));
}

plat::ErrorCode RegistryAccess::WriteExpandString(const std::string& name, const std::string& value) {
  return Write(name, plat::RegValue::string(value, plat::regtype::kExpandString));
}

plat::ErrorCode RegistryAccess::WriteInteger(const std::string& name, std::int32_t value) {
  return Write(name, plat::RegValue::dword(static_cast<std::uint32_t>(value)));
}

plat::ErrorCode RegistryAccess::DeleteValue(const std::string& name) {
  if (!open_) return plat::err::kInvalidHandle;
  return registry_.deleteValue(root_, current_, name);
}

}  // namespace setup

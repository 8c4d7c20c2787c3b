// Registry services over the wide registry functions; every key handle is opened and closed in one call.
#include <windows.h>

#include "platform/sys/win32/win32_services.h"
#include "platform/sys/win32/win32_util.h"

namespace plat {

using win32::narrow;
using win32::wide;

namespace {

HKEY rootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
  }
  return HKEY_LOCAL_MACHINE;
}

struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

ErrorCode openKey(RegRoot root, const std::string& path, REGSAM access, Key& key) {
  return static_cast<ErrorCode>(RegOpenKeyExW(rootKey(root), wide(path).c_str(), 0, access, &key.h));
}

// Deletes a key below parent with everything under it; written out rather than RegDeleteTree so
// that it also runs on systems that lack that function.
LONG deleteTree(HKEY parent, const std::wstring& name) {
  HKEY h = nullptr;
  LONG rc = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &h);
  if (rc != ERROR_SUCCESS) return rc;
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    wchar_t buf[256];
    DWORD len = 256;
    rc = RegEnumKeyExW(h, i, buf, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) break;
    children.emplace_back(buf, len);
  }
  for (const auto& c : children) {
    rc = deleteTree(h, c);
    if (rc != ERROR_SUCCESS) {
      RegCloseKey(h);
      return rc;
    }
  }
  RegCloseKey(h);
  return RegDeleteKeyW(parent, name.c_str());
}

}  // namespace

ErrorCode Win32Registry::createKey(RegRoot root, const std::string& path) {
  HKEY h = nullptr;
  LONG rc = RegCreateKeyExW(rootKey(root), wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                            nullptr, &h, nullptr);
  if (rc == ERROR_SUCCESS) RegCloseKey(h);
  return static_cast<ErrorCode>(rc);
}

bool Win32Registry::keyExists(RegRoot root, const std::string& path) {
  Key k;
  return openKey(root, path, KEY_READ, k) == err::kSuccess;
}

ErrorCode Win32Registry::readValue(RegRoot root, const std::string& path, const std::string& name, RegValue& out) {
  Key k;
  if (ErrorCode e = openKey(root, path, KEY_QUERY_VALUE, k)) return e;
  std::wstring wname = wide(name);
  DWORD type = 0, size = 0;
  LONG rc = RegQueryValueExW(k.h, wname.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  // The value may grow between the two calls; ask again while it does.
  while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    data.assign(size + sizeof(wchar_t), 0);
    DWORD got = size;
    rc = RegQueryValueExW(k.h, wname.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      size = got;
      break;
    }
    if (rc == ERROR_MORE_DATA) size = got;
  }
  if (rc != ERROR_SUCCESS) return static_cast<ErrorCode>(rc);
  out.type = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    size_t chars = size / sizeof(wchar_t);
    std::wstring w(chars, L'\0');
    if (chars) memcpy(&w[0], data.data(), chars * sizeof(wchar_t));
    while (!w.empty() && w.back() == L'\0') w.pop_back();
    out.data = narrow(w);
  } else {
    out.data.assign(reinterpret_cast<const char*>(data.data()), size);
  }
  return err::kSuccess;
}

ErrorCode Win32Registry::writeValue(RegRoot root, const std::string& path, const std::string& name,
                                    const RegValue& value) {
  Key k;
  if (ErrorCode e = openKey(root, path, KEY_SET_VALUE, k)) return e;
  LONG rc;
  if (value.isString()) {
    std::wstring w = wide(value.data);
    rc = RegSetValueExW(k.h, wide(name).c_str(), 0, value.type, reinterpret_cast<const BYTE*>(w.c_str()),
                        static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
  } else {
    rc = RegSetValueExW(k.h, wide(name).c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
  }
  return static_cast<ErrorCode>(rc);
}

ErrorCode Win32Registry::deleteValue(RegRoot root, const std::string& path, const std::string& name) {
  Key k;
  if (ErrorCode e = openKey(root, path, KEY_SET_VALUE, k)) return e;
  return static_cast<ErrorCode>(RegDeleteValueW(k.h, wide(name).c_str()));
}

ErrorCode Win32Registry::deleteKeyTree(RegRoot root, const std::string& path) {
  if (path.empty()) return err::kInvalidParameter;  // never the whole root
  return static_cast<ErrorCode>(deleteTree(rootKey(root), wide(path)));
}

ErrorCode Win32Registry::listSubKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) {
  names.clear();
  Key k;
  if (ErrorCode e = openKey(root, path, KEY_ENUMERATE_SUB_KEYS, k)) return e;
  for (DWORD i = 0;; ++i) {
    wchar_t buf[256];
    DWORD len = 256;
    LONG rc = RegEnumKeyExW(k.h, i, buf, &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return err::kSuccess;
    if (rc != ERROR_SUCCESS) return static_cast<ErrorCode>(rc);
    names.push_back(narrow(buf, len));
  }
}

ErrorCode Win32Registry::listValues(RegRoot root, const std::string& path, std::vector<std::string>& names) {
  names.clear();
  Key k;
  if (ErrorCode e = openKey(root, path, KEY_QUERY_VALUE, k)) return e;
  DWORD maxName = 0;
  LONG rc = RegQueryInfoKeyW(k.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                             nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return static_cast<ErrorCode>(rc);
  std::wstring buf(maxName + 1, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = maxName + 1;
    rc = RegEnumValueW(k.h, i, &buf[0], &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return err::kSuccess;
    if (rc != ERROR_SUCCESS) return static_cast<ErrorCode>(rc);
    names.push_back(narrow(buf.data(), len));
  }
}

}  // namespace plat

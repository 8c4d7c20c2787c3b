// Profile (INI) files: one engine on every platform, since the files are CP932 bytes whatever
// the system's locale. Behaves like the system's private-profile functions.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/services.h"

namespace plat {

class ProfileStore {
 public:
  explicit ProfileStore(FileSystem& files);
  ~ProfileStore();
  ProfileStore(const ProfileStore&) = delete;
  ProfileStore& operator=(const ProfileStore&) = delete;

  // GetPrivateProfileString with real section and key names; the whole value, any length.
  std::string read(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& defaultValue);
  // True when the key exists in the section (section and key names compared without case).
  bool contains(const std::string& file, const std::string& section, const std::string& key);
  // WritePrivateProfileString(section, key, value): on disk when the call returns.
  bool write(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value);
  // WritePrivateProfileString(section, key, NULL) and (section, NULL, NULL).
  bool deleteKey(const std::string& file, const std::string& section, const std::string& key);
  bool deleteSection(const std::string& file, const std::string& section);
  // Names in file order (what the system returns for a null section / null key).
  std::vector<std::string> sectionNames(const std::string& file);
  std::vector<std::string> keyNames(const std::string& file, const std::string& section);
  // Forget every cached copy (the next read goes to the disk).
  void flush();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace plat

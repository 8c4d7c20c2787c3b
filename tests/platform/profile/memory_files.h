// A FileSystem over memory for the profile tests: whole-file reads, writes and stamps only.
#pragma once

#include <map>
#include <string>

#include "platform/sys/services.h"

namespace plat::testing {

class MemoryFiles : public FileSystem {
 public:
  struct File {
    std::string data;
    FileTime time = 0;
  };
  std::map<std::string, File> files;
  FileTime clock = 1000;
  int reads = 0;
  ErrorCode failWrites = err::kSuccess;  // when set, every write fails with it

  // Changes a file the way another program would: new data and a new write time.
  void put(const std::string& path, const std::string& data) { files[path] = File{data, ++clock}; }
  std::string get(const std::string& path) const {
    auto it = files.find(path);
    return it == files.end() ? std::string("<missing>") : it->second.data;
  }

  ErrorCode readFile(const std::string& path, std::string& data) override {
    auto it = files.find(path);
    if (it == files.end()) return err::kFileNotFound;
    ++reads;
    data = it->second.data;
    return err::kSuccess;
  }
  ErrorCode writeFile(const std::string& path, const std::string& data) override {
    if (failWrites) return failWrites;
    put(path, data);
    return err::kSuccess;
  }
  ErrorCode stamp(const std::string& path, FileStamp& out) override {
    auto it = files.find(path);
    if (it == files.end()) return err::kFileNotFound;
    out.size = it->second.data.size();
    out.lastWrite = it->second.time;
    return err::kSuccess;
  }

  ErrorCode findFiles(const std::string&, std::vector<DirEntry>&) override { return err::kInvalidParameter; }
  ErrorCode getAttributes(const std::string&, std::uint32_t&) override { return err::kInvalidParameter; }
  ErrorCode setAttributes(const std::string&, std::uint32_t) override { return err::kInvalidParameter; }
  ErrorCode createDirectory(const std::string&) override { return err::kInvalidParameter; }
  ErrorCode removeDirectory(const std::string&) override { return err::kInvalidParameter; }
  ErrorCode deleteFile(const std::string&) override { return err::kInvalidParameter; }
  ErrorCode copyFile(const std::string&, const std::string&, bool) override { return err::kInvalidParameter; }
  ErrorCode moveFile(const std::string&, const std::string&) override { return err::kInvalidParameter; }
  ErrorCode setLastWriteTime(const std::string&, FileTime) override { return err::kInvalidParameter; }
  ErrorCode freeSpaceExtended(const std::string&, std::uint64_t&) override { return err::kInvalidParameter; }
  ErrorCode freeSpaceClusters(const std::string&, std::uint64_t&) override { return err::kInvalidParameter; }
  std::string currentDirectory() override { return "C:\\"; }
  ErrorCode shellDelete(const std::string&) override { return err::kInvalidParameter; }
  ErrorCode lzExpand(const std::string&, const std::string&) override { return err::kInvalidParameter; }
  ErrorCode lzExpandedName(const std::string&, std::string&) override { return err::kInvalidParameter; }
};

}  // namespace plat::testing

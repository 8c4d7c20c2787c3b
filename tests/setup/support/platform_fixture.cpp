// The platform test fixture's helpers.
#include "platform_fixture.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "setup/support/shared_files.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace setup::testing {

namespace {

bool Cp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Every "\"-terminated prefix of a path, found without taking a trail byte for "\".
std::vector<std::string> FolderPrefixes(const std::string& path) {
  std::vector<std::string> prefixes;
  for (std::size_t i = 0; i < path.size(); i += Cp932Lead(static_cast<unsigned char>(path[i])) ? 2 : 1) {
    if (path[i] == '\\' && i > 2) prefixes.push_back(path.substr(0, i));
  }
  return prefixes;
}

// The key of the shared-file register, relative to HKEY_LOCAL_MACHINE.
std::string SharedKey() { return std::string(kSharedDllsKey).substr(1); }

}  // namespace

void PlatformTest::SetUp() {
  machine_ = plat::testing::makeTestMachine();
  services_ = std::make_unique<plat::Services>(machine_->services());
  scratch_ = machine_->scratchFolder();
  scratchKey_ = machine_->scratchKey();
  scratchRoot_ = machine_->scratchRoot();
  ResetGlobals(*services_, [this](const std::string& text, const std::string& caption, std::uint32_t flags) {
    boxes_.push_back({text, caption, flags});
    return 1;  // IDOK
  });
}

void PlatformTest::TearDown() {
  for (const std::string& name : sharedValues_)
    services_->registry.deleteValue(plat::RegRoot::LocalMachine, SharedKey(), name);
  services_.reset();
  machine_.reset();
}

void PlatformTest::put(const std::string& path, const std::string& bytes) {
  for (const std::string& folder : FolderPrefixes(path)) sys().files.createDirectory(folder);
  ASSERT_EQ(sys().files.writeFile(path, bytes), plat::err::kSuccess) << path;
}

void PlatformTest::putFolder(const std::string& path) {
  for (const std::string& folder : FolderPrefixes(path + "\\")) sys().files.createDirectory(folder);
  ASSERT_TRUE(isFolder(path)) << path;
}

std::string PlatformTest::read(const std::string& path) {
  std::string data;
  EXPECT_EQ(sys().files.readFile(path, data), plat::err::kSuccess) << path;
  return data;
}

bool PlatformTest::exists(const std::string& path) {
  std::uint32_t a = 0;
  return sys().files.getAttributes(path, a) == plat::err::kSuccess;
}

bool PlatformTest::isFolder(const std::string& path) {
  std::uint32_t a = 0;
  return sys().files.getAttributes(path, a) == plat::err::kSuccess && (a & plat::attr::kDirectory) != 0;
}

std::uint32_t PlatformTest::attributes(const std::string& path) {
  std::uint32_t a = plat::attr::kInvalid;
  sys().files.getAttributes(path, a);
  return a;
}

std::vector<std::string> PlatformTest::names(const std::string& folder) {
  std::vector<plat::DirEntry> entries;
  sys().files.findFiles(folder + "\\*", entries);
  std::vector<std::string> result;
  for (const plat::DirEntry& e : entries) {
    if (e.name == "." || e.name == "..") continue;
    result.push_back(e.name + ((e.attributes & plat::attr::kDirectory) ? "\\" : ""));
  }
  std::sort(result.begin(), result.end());
  return result;
}

plat::RegValue PlatformTest::regValue(plat::RegRoot root, const std::string& key, const std::string& name) {
  plat::RegValue value;
  if (sys().registry.readValue(root, key, name, value) != plat::err::kSuccess) return plat::RegValue{};
  return value;
}

std::string PlatformTest::sharedValueName(const std::string& path) {
  sharedValues_.push_back(path);
  return path;
}

std::string ReadHostFile(const std::string& hostPath) {
  std::string path = hostPath;
#if defined(_WIN32)
  // Under Wine the build folder is reached through the drive that maps the host's root.
  if (!path.empty() && path[0] == '/') {
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
#endif
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void ComponentTest::SetUp() {
  PlatformTest::SetUp();
#if defined(_WIN32)
  log_ = S("unregister.log");
  _putenv_s("PAGINA_UNREGISTER_LOG", log_.c_str());
#else
  // The library writes with the host's file functions, so natively the log is a host file.
  char pattern[] = "/tmp/pagina-unregister-XXXXXX";
  const int fd = mkstemp(pattern);
  ASSERT_GE(fd, 0);
  close(fd);
  log_ = pattern;
  setenv("PAGINA_UNREGISTER_LOG", log_.c_str(), 1);
#endif
}

void ComponentTest::TearDown() {
#if defined(_WIN32)
  _putenv_s("PAGINA_UNREGISTER_LOG", "");
#else
  unsetenv("PAGINA_UNREGISTER_LOG");
  std::remove(log_.c_str());
#endif
  PlatformTest::TearDown();
}

void ComponentTest::putComponent(const std::string& path, const char* builtLibrary) {
  const std::string bytes = ReadHostFile(builtLibrary);
  ASSERT_FALSE(bytes.empty()) << builtLibrary;
  put(path, bytes);
}

int ComponentTest::unregisterCalls() const {
  std::ifstream in(log_, std::ios::binary);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

}  // namespace setup::testing

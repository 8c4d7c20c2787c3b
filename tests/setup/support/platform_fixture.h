// A fresh test machine of the build's platform (a POSIX machine natively, the real system under
// Wine) wired into setup's program-wide state, with message boxes recorded and answered OK.
// Paths in tests are built inside the machine's scratch folder with S("A\\B.TXT").
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/services.h"
#include "setup/support/globals.h"
#include "tests/platform/sys/test_machine.h"

namespace setup::testing {

struct Box {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
};

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  plat::Services& sys() { return *services_; }
  // A path inside the scratch folder.
  std::string S(const std::string& relative) const { return scratch_ + "\\" + relative; }
  // A key path (from the root, no leading "\") inside the scratch key under scratchRoot().
  std::string K(const std::string& relative) const {
    return relative.empty() ? scratchKey_ : scratchKey_ + "\\" + relative;
  }
  plat::RegRoot scratchRoot() const { return scratchRoot_; }

  // File helpers over the services; put and putFolder create missing parent folders.
  void put(const std::string& path, const std::string& bytes);
  void putFolder(const std::string& path);
  std::string read(const std::string& path);
  bool exists(const std::string& path);
  bool isFolder(const std::string& path);
  std::uint32_t attributes(const std::string& path);
  // Names in a folder without "." and "..", folders with a final "\", sorted.
  std::vector<std::string> names(const std::string& folder);

  // The registry value as stored, or a value of type kNone when there is none.
  plat::RegValue regValue(plat::RegRoot root, const std::string& key, const std::string& name);
  // A shared-file count value this test may create; removed again after the test.
  std::string sharedValueName(const std::string& path);

  std::vector<Box> boxes_;

 private:
  std::unique_ptr<plat::testing::TestMachine> machine_;
  std::unique_ptr<plat::Services> services_;
  std::string scratch_;
  std::string scratchKey_;
  plat::RegRoot scratchRoot_ = plat::RegRoot::CurrentUser;
  std::vector<std::string> sharedValues_;
};

// A host file's bytes (a built library, for instance); "" when it cannot be read.
std::string ReadHostFile(const std::string& hostPath);

// PlatformTest with the stand-in component libraries and the log of their unregistration.
class ComponentTest : public PlatformTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Places a built library (COMPONENT_OK, ...) at a path on the machine.
  void putComponent(const std::string& path, const char* builtLibrary);
  // How often a DllUnregisterServer ran.
  int unregisterCalls() const;

 private:
  std::string log_;
};

}  // namespace setup::testing

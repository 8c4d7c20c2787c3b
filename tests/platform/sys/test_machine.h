// The system the contract tests run against: its services, a scratch folder and a scratch key.
// Each implementation of the services provides makeTestMachine() in its own source file.
#pragma once

#include <memory>
#include <string>

#include "platform/sys/services.h"

namespace plat::testing {

class TestMachine {
 public:
  virtual ~TestMachine() = default;
  virtual Services services() = 0;
  // An existing, empty folder (Windows path, no trailing "\") that the test may fill.
  virtual std::string scratchFolder() = 0;
  // An existing, empty registry key under scratchRoot() that the test may fill.
  virtual std::string scratchKey() = 0;
  virtual RegRoot scratchRoot() { return RegRoot::CurrentUser; }
};

// A fresh machine for one test; everything it made is removed when it is destroyed.
std::unique_ptr<TestMachine> makeTestMachine();

}  // namespace plat::testing

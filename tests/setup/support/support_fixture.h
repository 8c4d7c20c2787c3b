// A fresh machine for each test, wired into setup's program-wide state, with every message box
// recorded (and answered with OK).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "setup/support/globals.h"

namespace setup::testing {

struct Box {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
};

class SupportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagina-support-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    machine_ = std::make_unique<plat::PosixMachine>(plat::PosixMachine::fresh(root_ + "/machine"));
    services_ = std::make_unique<plat::Services>(machine_->services());
    ResetGlobals(*services_, [this](const std::string& text, const std::string& caption, std::uint32_t flags) {
      boxes_.push_back({text, caption, flags});
      return 1;  // IDOK
    });
  }

  void TearDown() override {
    services_.reset();
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  plat::PosixMachine& machine() { return *machine_; }
  plat::Services& sys() { return *services_; }

  // The registry value as stored, or a value of type kNone when there is none.
  plat::RegValue regValue(plat::RegRoot root, const std::string& key, const std::string& name) {
    plat::RegValue value;
    if (sys().registry.readValue(root, key, name, value) != plat::err::kSuccess) return plat::RegValue{};
    return value;
  }

  std::vector<Box> boxes_;
  std::string root_;

 private:
  std::unique_ptr<plat::PosixMachine> machine_;
  std::unique_ptr<plat::Services> services_;
};

}  // namespace setup::testing

// A fresh POSIX machine for each test, for what only it can play: faults, drives, special-folder
// layouts. Message boxes are recorded and answered OK.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform_fixture.h"
#include "setup/support/globals.h"

namespace setup::testing {

class PosixSupportTest : public ::testing::Test {
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

  plat::RegValue regValue(plat::RegRoot root, const std::string& key, const std::string& name) {
    plat::RegValue value;
    if (sys().registry.readValue(root, key, name, value) != plat::err::kSuccess) return plat::RegValue{};
    return value;
  }

  std::vector<Box> boxes_;

 private:
  std::string root_;
  std::unique_ptr<plat::PosixMachine> machine_;
  std::unique_ptr<plat::Services> services_;
};

}  // namespace setup::testing

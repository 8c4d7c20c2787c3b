// A fresh POSIX machine in a temporary folder, removed after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/sys/posix/posix_machine.h"

namespace plat::posix {

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pagina-posix-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    temp_ = pattern;
    reset();
  }
  void TearDown() override {
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(temp_, ignored);
  }
  // Starts again with a fresh machine built from this layout.
  void reset(MachineLayout layout = MachineLayout::typical()) {
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(temp_ + "/m", ignored);
    machine_.emplace(PosixMachine::fresh(temp_ + "/m", std::move(layout)));
  }
  // The same root opened again, as a later program run would see it.
  void reopen() {
    MachineLayout layout = machine_->layout();
    machine_.reset();
    machine_.emplace(temp_ + "/m", layout);
  }
  PosixMachine& machine() { return *machine_; }
  std::string root() const { return temp_ + "/m"; }
  const std::string& temp() const { return temp_; }

 private:
  std::string temp_;
  std::optional<PosixMachine> machine_;
};

}  // namespace plat::posix

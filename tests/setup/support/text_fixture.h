// The real system services of the platform the tests run on (a POSIX machine natively, the
// Windows API under Wine), for the operations that only need the system's text services.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/sys/services.h"
#include "setup/support/globals.h"

namespace setup::testing {

// One set of services for the whole test program.
plat::Services& PlatformServices();

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGlobals(PlatformServices(), nullptr); }
};

}  // namespace setup::testing

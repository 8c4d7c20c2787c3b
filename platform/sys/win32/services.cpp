// The process's set of Win32 services.
#include "platform/sys/win32/win32_services.h"

namespace plat {

Win32Services::Win32Services() : profiles(files) {}

Win32Services& hostServices() {
  static Win32Services services;
  return services;
}

}  // namespace plat

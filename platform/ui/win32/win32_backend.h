// The Win32 window backend, declared without <windows.h> so that a program's main() can use it.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/application.h"

namespace ui::win32 {

// Real windows for every standard control kind; more kinds are added with registerPeer.
std::unique_ptr<Backend> CreateBackend();

// The program's command line after the program name, as CP932 text (from the wide command line,
// so it is exact whatever the system's code page).
std::string CommandLineTail();

}  // namespace ui::win32

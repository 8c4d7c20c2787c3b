// Win32 peers of the viewer's controls, declared without <windows.h> for the program's main().
#pragma once

#include "platform/ui/application.h"

namespace ui::win32 {

// Registers the peers of menus, toolbar, status bar, picture boxes, scroll bars, the window
// placement and the common dialogs with a backend made by CreateBackend().
void RegisterViewerPeers(Backend& backend);

}  // namespace ui::win32

// The one instance of setup's program-wide state.
#include "setup/support/globals.h"

namespace setup {

Globals& G() {
  static Globals globals;
  return globals;
}

void ResetGlobals(plat::Services& services, MessageBoxHandler messageBox) {
  Globals& g = G();
  g = Globals{};
  g.services = &services;
  g.messageBox = std::move(messageBox);
  // An empty range list means no double-byte support: every byte is a character of its own.
  for (const auto& range : services.system.leadByteRanges()) {
    for (unsigned b = range.first; b <= range.second && b < 256; ++b) g.leadBytes[b] = 1;
  }
}

int ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  const MessageBoxHandler& handler = G().messageBox;
  // Without a handler there is no one to ask; 0 is no button of the system's.
  return handler ? handler(text, caption, flags) : 0;
}

}  // namespace setup

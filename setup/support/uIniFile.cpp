// Profile reads and writes over the program-wide profile engine.
#include "setup/support/uIniFile.h"

#include "platform/sys/profile.h"
#include "setup/support/globals.h"

namespace setup {

std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& defaultValue, const std::string& file) {
  return Sys().profiles.read(file, section, key, defaultValue);
}

bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
  // The engine writes through to disk; dropping the cached copies first means a file that
  // another step replaced behind the engine's back (a copied or deleted record) is read afresh.
  Sys().profiles.flush();
  return Sys().profiles.write(file, section, key, value);
}

}  // namespace setup

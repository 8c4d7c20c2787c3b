// Profile (INI) file access of the installer over the program-wide profile engine.
#pragma once

#include <string>

namespace setup {

// The value of key in section of file, whole whatever its length; defaultValue when the file,
// section or key is missing. Empty section or key names are plain names, never list requests.
std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& defaultValue, const std::string& file);

// Writes key = value into section of file; true when written. The value is on disk when this
// returns, and no copy cached before the call is trusted afterwards.
bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file);

}  // namespace setup

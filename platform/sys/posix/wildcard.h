// The system's file-name wildcard rules ("*", "?", "*.*" matching names without a dot, "*." ...).
#pragma once

#include <string>

namespace plat::posix {

bool hasWildcard(const std::string& name);
// Matches one CP932 file name against one pattern, ignoring ASCII case.
bool matchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace plat::posix

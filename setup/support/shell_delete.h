// Deleting what the installer placed on disk: the shell's delete operation and folder removal.
// Neither raises nor shows a message of its own; results are system error codes (0 = success).
#pragma once

#include <string>

#include "platform/sys/types.h"

namespace setup {

// Deletes a file, a wildcard pattern (matching folders too, recursing into sub-folders) through
// the shell, without a recycle bin. 2 at once when no file is there and the path has no "*"
// (a folder without a pattern is left alone). Component files are unregistered first.
plat::ErrorCode DeleteWithShell(const std::string& path);

// Deletes folder + each item of the "|"-separated pattern list (results ignored), then removes
// the folder itself: 0, 145 when it still holds anything, or another system error code.
plat::ErrorCode RemoveFolder(const std::string& folder, const std::string& patterns);

}  // namespace setup

// Folder test, whole-path creation and the replacing copy on which start-up and both runs build.
// They never raise and never show a message; the caller decides what to report.
#pragma once

#include <string>

#include "platform/sys/types.h"

namespace setup {

// True when folder (with or without final "\") holds at least one entry that is neither hidden
// nor system; an ordinary folder always does through its "." entry. A file is not a folder.
bool FolderExists(const std::string& folder);

// Creates every missing level of the path. True when the last creation attempted succeeded, or
// nothing had to be created; a level that turns out to exist as a folder counts as success.
bool CreateFolderPath(const std::string& folder);

// Copies source over target, replacing it; the target's attributes are reset to archive only
// before and after. 0, or the system error code of the failed copy.
plat::ErrorCode CopyFileReplace(const std::string& source, const std::string& target);

}  // namespace setup

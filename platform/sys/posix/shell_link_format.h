// The shell-link (.lnk) binary format: header, link information with the local path, and the
// string data (description, relative path, working folder, arguments, icon location).
#pragma once

#include <cstdint>
#include <string>

#include "platform/sys/types.h"

namespace plat::posix {

// What the header says about the target when the link is written.
struct LinkTargetFacts {
  std::uint32_t attributes = attr::kArchive;
  FileTime writeTime = 0;
  std::uint32_t size = 0;
};

// Bytes of a link file; false when a text has no UTF-16 form or is too long for the format.
bool encodeShellLink(const ShellLinkData& link, const std::string& relativePath, const LinkTargetFacts& facts,
                     std::string& bytes);
// Reads a link file (ours or any other writer's); false when it is not a well-formed link.
bool decodeShellLink(const std::string& bytes, ShellLinkData& link);

}  // namespace plat::posix

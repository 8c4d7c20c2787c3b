// Small path and number helpers of the shell, multi-byte-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setup {

// The folder part of a path, up to and including its last "\" ("" when there is none).
std::string FolderPart(const std::string& path);
// The file-name part: everything after the last "\".
std::string FileNamePart(const std::string& path);
// A signed decimal integer with optional blanks around it and nothing else; nullopt otherwise
// (also when it does not fit 32 bits).
std::optional<std::int32_t> ParseDecimal(const std::string& text);

}  // namespace setup

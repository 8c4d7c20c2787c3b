// Text operations of the installer: case-insensitive search, extraction, path delimiters at
// either end, the system's string mapping and the text of a system error code.
// Positions are 1-based byte positions, 0 = not found. No operation changes its arguments.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

// Mapping flags of the system's string mapping.
constexpr std::uint32_t LCMAP_UPPERCASE = 0x00000200u;
constexpr std::uint32_t LCMAP_FULLWIDTH = 0x00800000u;

// MBPos after both texts were mapped to upper case: the search used for every token,
// separator and flag.
int PosNoCase(const std::string& needle, const std::string& haystack);

// Extraction: a start below 1 counts as 1 (the count is not reduced), a start beyond the end or
// a negative count gives "", a count running past the end is cut there.
std::string StrLeft(const std::string& text, int count);
std::string StrRight(const std::string& text, int count);
std::string StrMidFrom(const std::string& text, int position);

// Ensures ("T" top, "B" bottom; only the mode's first byte counts) a "\" that is a real
// delimiter, not the trail byte of a double-byte character. Any other mode returns text as is.
std::string AddPathDelimiter(const std::string& text, const std::string& mode);
// Removes one delimiter at the top or bottom when there is one.
std::string RemovePathDelimiter(const std::string& text, const std::string& mode);

// The system's string mapping with the default locale; the text unchanged when it fails.
std::string MapString(const std::string& text, std::uint32_t flags);

// The system's message for an error code, trailing blanks, control characters and "." removed,
// in full-width characters, followed by "\r\n". "" for code 0.
std::string SystemErrorText(std::int32_t code);

}  // namespace setup

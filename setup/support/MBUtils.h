// Multi-byte-safe byte search: the lead-byte test and a search that steps over double-byte
// characters, so a trail byte such as the 0x5C of "ソ" is never taken for "\".
#pragma once

#include <cstdint>
#include <string>

namespace setup {

// True when the byte is in the lead-byte set filled from the system at start-up (ResetGlobals).
bool IsLeadByte(std::uint8_t b);

// 1-based byte position of the first occurrence of needle in haystack that starts on a character
// boundary; 0 when there is none or the needle is empty. Case matters.
int MBPos(const std::string& needle, const std::string& haystack);

}  // namespace setup

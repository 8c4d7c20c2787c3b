// CP932 byte helpers for the POSIX layer: character stepping, ASCII case folding, host name codec.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat::posix {

inline bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Byte length of the character starting at text[i] (2 for a lead byte followed by another byte).
inline std::size_t charLength(const std::string& text, std::size_t i) {
  return (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// Splits at "\" and "/" without ever taking a trail byte for a separator. Empty parts are kept.
std::vector<std::string> splitPath(const std::string& path);

// Upper-cases ASCII letters that are whole characters (trail bytes are left alone).
std::string foldCase(const std::string& text);
bool equalsNoCase(const std::string& a, const std::string& b);
// Byte position of needle in haystack, on character boundaries and without ASCII case; npos if none.
std::size_t findNoCase(const std::string& haystack, const std::string& needle);

// CP932 file name -> UTF-8 host name. Bytes that do not convert become U+F700 + byte, so every
// name survives the round trip.
std::string toHostName(const std::string& cp932);
// UTF-8 host name -> CP932; the inverse of toHostName. Characters without a CP932 form become "?".
std::string fromHostName(const std::string& utf8);

// CP932 <-> UTF-16LE, used by the shell-link format. Unconvertible input gives false.
bool cp932ToUtf16(const std::string& cp932, std::u16string& out);
bool utf16ToCp932(const std::u16string& text, std::string& out);

}  // namespace plat::posix

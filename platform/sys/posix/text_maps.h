// The locale's string mappings on CP932 text and the system's Japanese error messages.
#pragma once

#include <cstdint>
#include <string>

namespace plat::posix {

constexpr std::uint32_t kMapUppercase = 0x00000200;
constexpr std::uint32_t kMapFullwidth = 0x00800000;

// LCMapString for the two mappings the programs use (alone or together); false for other flags.
bool mapCp932(const std::string& text, std::uint32_t flags, std::string& out);

// The system's message for a code, ending in "\r\n" as the system gives it.
std::string systemMessage(std::int32_t code);

}  // namespace plat::posix

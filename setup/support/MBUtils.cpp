// Lead-byte test and the character-boundary search.
#include "setup/support/MBUtils.h"

#include "setup/support/globals.h"

namespace setup {

bool IsLeadByte(std::uint8_t b) { return G().leadBytes[b] != 0; }

int MBPos(const std::string& needle, const std::string& haystack) {
  if (needle.empty()) return 0;
  const std::size_t n = haystack.size();
  std::size_t i = 0;
  while (i < n) {
    if (haystack[i] == needle[0] && haystack.compare(i, needle.size(), needle) == 0)
      return static_cast<int>(i + 1);
    i += IsLeadByte(static_cast<std::uint8_t>(haystack[i])) ? 2 : 1;
  }
  return 0;
}

}  // namespace setup

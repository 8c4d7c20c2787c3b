// Page file names derived from the cover file.
#include "viewer/module1.h"

#include <cstdio>

namespace viewer {

void MakePageFile(Module1& m) {
  if (m.curpage < 1 || m.curpage > 999 || m.book.bookcover.empty()) return;
  const std::string& cover = m.book.bookcover;
  // Bytes, not characters: the cut part is ASCII digits and an extension, and the head of a
  // shorter name would otherwise lose part of a double-byte character.
  if (cover.size() < 7) return;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", static_cast<int>(m.curpage));
  m.curpagefile = cover.substr(0, cover.size() - 7) + digits + cover.substr(cover.size() - 4);
}

}  // namespace viewer

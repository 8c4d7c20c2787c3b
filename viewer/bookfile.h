// The book record and its data file: 23 lines of a 12-character key and a value.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace viewer {

constexpr int kMarkSlots = 10;

struct BookRecord {
  std::string booktitle;
  std::int16_t allpage = 0;
  std::string bookcover;
  // Slot i is index i - 1; a page below 1 marks a free slot.
  std::array<std::int16_t, kMarkSlots> markpage{};
  std::array<std::string, kMarkSlots> marktitle{};

  bool operator==(const BookRecord& o) const {
    return booktitle == o.booktitle && allpage == o.allpage && bookcover == o.bookcover &&
           markpage == o.markpage && marktitle == o.marktitle;
  }
};

// The whole file, every line ended by CR LF.
std::string FormatBookData(const BookRecord& book);

// Reads a file's bytes into `book`. Lines are known only by position, so altered keys do not
// matter. A file with fewer than 23 lines is refused, and then `book` is left exactly as it was;
// a number beyond the 16-bit range is pinned to the range's nearest end.
bool ParseBookData(const std::string& data, BookRecord& book);

}  // namespace viewer

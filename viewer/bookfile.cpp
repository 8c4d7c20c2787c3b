// Writing and reading the book data file.
#include "viewer/bookfile.h"

#include "viewer/lines.h"
#include "viewer/number.h"

namespace viewer {

namespace {

constexpr std::size_t kLines = 23;
constexpr std::size_t kKeyLength = 12;

std::string MarkPageKey(int slot) {
  return slot == 10 ? "markpage-10=" : "markpage-" + std::to_string(slot) + ".=";
}
std::string MarkTitleKey(int slot) {
  return slot == 10 ? "marktitle10=" : "marktitle" + std::to_string(slot) + ".=";
}

void PutLine(std::string& out, const std::string& key, const std::string& value) {
  out += key;
  out += value;
  out += "\r\n";
}

std::string TextValue(std::string_view line) { return std::string(SkipCharacters(line, kKeyLength)); }

// Numbers start one character later: the sign position is skipped, so "-5" reads back as 5.
// A number beyond 16 bits is pinned to the range's end: a bookmark typed as -32768 is written
// "-32768" and read as 32768, and must not make the book unreadable.
std::int16_t NumberValue(std::string_view line) { return ReadInt16Saturated(SkipCharacters(line, kKeyLength + 1)); }

}  // namespace

std::string FormatBookData(const BookRecord& book) {
  std::string out;
  PutLine(out, "booktitle..=", book.booktitle);
  PutLine(out, "allpage....=", FormatNumberField(book.allpage));
  PutLine(out, "bookcover..=", book.bookcover);
  for (int slot = 1; slot <= kMarkSlots; ++slot) {
    PutLine(out, MarkPageKey(slot), FormatNumberField(book.markpage[slot - 1]));
    PutLine(out, MarkTitleKey(slot), book.marktitle[slot - 1]);
  }
  return out;
}

bool ParseBookData(const std::string& data, BookRecord& book) {
  auto lines = SplitLines(data, kLines);
  if (lines.size() < kLines) return false;
  BookRecord read;
  read.booktitle = TextValue(lines[0]);
  read.allpage = NumberValue(lines[1]);
  read.bookcover = TextValue(lines[2]);
  for (int slot = 1; slot <= kMarkSlots; ++slot) {
    read.markpage[slot - 1] = NumberValue(lines[1 + 2 * slot]);
    read.marktitle[slot - 1] = TextValue(lines[2 + 2 * slot]);
  }
  book = std::move(read);
  return true;
}

}  // namespace viewer

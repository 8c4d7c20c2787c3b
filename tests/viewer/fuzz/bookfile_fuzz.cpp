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
  // Read numbers are never negative (the sign position is skipped), so they survive unchanged.
  if (!(again == book)) std::abort();
  return 0;
}

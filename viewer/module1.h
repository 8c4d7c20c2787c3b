// Module1: the one shared state of the viewer (book record, options, current page, dialog mode).
#pragma once

#include <cstdint>
#include <string>

#include "viewer/bookfile.h"
#include "viewer/options.h"

namespace viewer {

struct Module1 {
  BookRecord book;
  std::string bookdatafile;
  std::int16_t curpage = 0;
  std::string curpagefile;
  ViewerOptions options;
  std::string editmode;  // "new" or "set"
  std::int16_t autoticks = 0;
};

// Builds curpagefile for curpage from the cover's name: its last seven characters (three digits
// and a four-character extension) become the page number in three digits and the same extension.
// Leaves curpagefile unchanged for a page outside 1 to 999, an empty cover or a cover name too
// short to cut.
void MakePageFile(Module1& m);

}  // namespace viewer

// Line splitting shared by the book file and the options profile readers.
#include "viewer/lines.h"

namespace viewer {

std::vector<std::string_view> SplitLines(std::string_view data, std::size_t limit) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < data.size() && lines.size() < limit) {
    std::size_t end = data.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back(data.substr(pos));
      break;
    }
    lines.push_back(data.substr(pos, end - pos));
    pos = end + 1;
    if (data[end] == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
  }
  return lines;
}

}  // namespace viewer

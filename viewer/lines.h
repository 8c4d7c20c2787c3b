// Splitting a text file into whole lines, as the system's line input does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// Lines end at CR LF, a lone CR or a lone LF; a last line without an ending still counts.
// At most `limit` lines are returned.
std::vector<std::string_view> SplitLines(std::string_view data, std::size_t limit);

}  // namespace viewer

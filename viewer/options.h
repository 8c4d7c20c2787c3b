// The viewer options and the options profile "PaginaV1.ini": 8 lines of a key and a number.
#pragma once

#include <cstdint>
#include <string>

namespace viewer {

struct ViewerOptions {
  std::int16_t checksize = 0;
  std::int16_t gotabpage = 0;
  std::int16_t backtabpage = 0;
  std::int16_t autoview = 0;
};

// Outer window geometry in twips, held as single-precision values.
struct WindowGeometry {
  float height = 0, width = 0, top = 0, left = 0;
  bool operator==(const WindowGeometry& o) const {
    return height == o.height && width == o.width && top == o.top && left == o.left;
  }
};

constexpr ViewerOptions kDefaultOptions{0, 5, 5, 3};
constexpr WindowGeometry kFirstRunGeometry{6300, 6300, 0, 2248};

std::string FormatOptions(const ViewerOptions& options, const WindowGeometry& geometry);

struct OptionsFile {
  ViewerOptions options = kDefaultOptions;
  WindowGeometry geometry;
  bool applyGeometry = false;  // checksize is 1 and all four geometry lines were usable
};

// Reads what the profile holds. Missing lines and numbers beyond the 16-bit range keep the
// defaults for their fields, so a damaged profile never stops the program.
OptionsFile ParseOptions(const std::string& data);

}  // namespace viewer

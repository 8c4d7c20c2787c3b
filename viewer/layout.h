// The main window's middle area as plain arithmetic in twips: frame, picture and scroll bars.
#pragma once

#include <cstdint>

namespace viewer {

struct LayoutInput {
  std::int32_t innerWidth = 0;   // Wa: the window's inner width
  std::int32_t innerHeight = 0;  // the window's inner height (toolbar and status bar included)
  std::int32_t toolbarHeight = 0;
  std::int32_t statusHeight = 0;
  std::int32_t vbarWidth = 0;    // Wv
  std::int32_t hbarHeight = 0;   // Hh
  std::int32_t pictureWidth = 0;   // W
  std::int32_t pictureHeight = 0;  // H
};

enum class BarCase { Both, VerticalOnly, HorizontalOnly, None };

struct ScrollBarLayout {
  bool visible = false;
  std::int32_t left = 0, top = 0, length = 0;
  // Bar values run 0..max; a value v shows the picture moved by min(v * unit, range) twips.
  // The unit is 1 unless the range exceeds what a 16-bit bar can hold.
  std::int16_t max = 0;
  std::int16_t largeChange = 1;
  std::int16_t smallChange = 10;
  std::int32_t unit = 1;
  std::int32_t range = 0;  // the full scroll range in twips
  std::int32_t offsetFor(std::int32_t value) const;
};

struct PageLayout {
  BarCase barCase = BarCase::None;
  std::int32_t frameLeft = 0, frameTop = 0, frameWidth = 0, frameHeight = 0;
  ScrollBarLayout hbar, vbar;
  bool cornerVisible = false;
  std::int32_t cornerLeft = 0, cornerTop = 0;
  std::int32_t availableHeight = 0;  // Ha
};

// Chooses the bars and places the frame. A window too small for the frame gives a frame of
// size 0 rather than a negative one.
PageLayout ComputeLayout(const LayoutInput& in);

constexpr std::int32_t kTwipsPerPixel = 15;

}  // namespace viewer

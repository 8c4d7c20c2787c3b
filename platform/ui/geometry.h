// Plain geometry of the window layer: rectangles and sizes in pixels, and the centring rule.
#pragma once

namespace ui {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// Offset that centres an extent inside an outer extent; the fraction is cut off.
inline int CentreOffset(int outer, int inner) { return (outer - inner) / 2; }

}  // namespace ui

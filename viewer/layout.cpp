// Layout of the frame, the picture and the scroll bars.
#include "viewer/layout.h"

#include <algorithm>

namespace viewer {

namespace {

std::int16_t Clamp16(std::int64_t v) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, 0, 32767));
}

void SetRange(ScrollBarLayout& bar, std::int32_t range, std::int32_t page) {
  bar.range = std::max(range, 0);
  bar.unit = 1;
  if (bar.range > 32767) bar.unit = (bar.range + 32766) / 32767;
  bar.max = Clamp16((bar.range + bar.unit - 1) / bar.unit);
  bar.largeChange = std::max<std::int16_t>(1, Clamp16((static_cast<std::int64_t>(page) + bar.unit / 2) / bar.unit));
  bar.smallChange = 10;
}

}  // namespace

std::int32_t ScrollBarLayout::offsetFor(std::int32_t value) const {
  std::int64_t off = static_cast<std::int64_t>(std::max(value, 0)) * unit;
  return static_cast<std::int32_t>(std::min<std::int64_t>(off, range));
}

PageLayout ComputeLayout(const LayoutInput& in) {
  PageLayout out;
  const std::int64_t wa = in.innerWidth;
  const std::int64_t ha = static_cast<std::int64_t>(in.innerHeight) - in.toolbarHeight - in.statusHeight;
  const std::int64_t wv = in.vbarWidth, hh = in.hbarHeight;
  const std::int64_t w = in.pictureWidth, h = in.pictureHeight;
  out.availableHeight = static_cast<std::int32_t>(std::max<std::int64_t>(ha, 0));

  // The order of the tests matters: it is what gives both bars to a picture that would fit.
  if (w >= wa - wv && h >= ha - hh) out.barCase = BarCase::Both;
  else if (w < wa && h >= ha) out.barCase = BarCase::VerticalOnly;
  else if (w >= wa) out.barCase = BarCase::HorizontalOnly;
  else out.barCase = BarCase::None;

  const bool hasV = out.barCase == BarCase::Both || out.barCase == BarCase::VerticalOnly;
  const bool hasH = out.barCase == BarCase::Both || out.barCase == BarCase::HorizontalOnly;
  const std::int64_t fw = std::max<std::int64_t>(hasV ? wa - wv : wa, 0);
  const std::int64_t fh = std::max<std::int64_t>(hasH ? ha - hh : ha, 0);
  out.frameLeft = 0;
  out.frameTop = in.toolbarHeight;
  out.frameWidth = static_cast<std::int32_t>(fw);
  out.frameHeight = static_cast<std::int32_t>(fh);

  const std::int32_t t = in.toolbarHeight;
  out.hbar.visible = hasH;
  out.hbar.left = 0;
  out.hbar.top = static_cast<std::int32_t>(t + fh);
  out.hbar.length = out.frameWidth;
  SetRange(out.hbar, static_cast<std::int32_t>(std::clamp<std::int64_t>(w - fw, 0, INT32_MAX)), out.frameWidth);

  out.vbar.visible = hasV;
  out.vbar.left = out.frameWidth;
  out.vbar.top = t;
  out.vbar.length = out.frameHeight;
  SetRange(out.vbar, static_cast<std::int32_t>(std::clamp<std::int64_t>(h - fh, 0, INT32_MAX)), out.frameHeight);

  out.cornerVisible = out.barCase == BarCase::Both;
  out.cornerLeft = out.frameWidth;
  out.cornerTop = static_cast<std::int32_t>(t + fh);
  return out;
}

}  // namespace viewer

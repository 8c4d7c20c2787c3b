// Fuzz target: any bytes as the options profile. Reading never fails, and what is read writes back
// to a profile that reads the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  viewer::OptionsFile file = viewer::ParseOptions(std::string(reinterpret_cast<const char*>(data), size));
  const viewer::WindowGeometry& g = file.geometry;
  for (float v : {g.height, g.width, g.top, g.left})
    if (!std::isfinite(v) || std::fabs(v) > 1.0e6f) std::abort();
  viewer::OptionsFile again = viewer::ParseOptions(viewer::FormatOptions(file.options, g));
  const viewer::ViewerOptions& a = file.options;
  const viewer::ViewerOptions& b = again.options;
  // Negative options lose their sign on the way back; everything else is kept.
  auto same = [](std::int16_t x, std::int16_t y) { return x < 0 || x == y; };
  if (!same(a.checksize, b.checksize) || !same(a.gotabpage, b.gotabpage) || !same(a.backtabpage, b.backtabpage) ||
      !same(a.autoview, b.autoview))
    std::abort();
  return 0;
}

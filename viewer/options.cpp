// Writing and reading the options profile.
#include "viewer/options.h"

#include <cmath>

#include "viewer/lines.h"
#include "viewer/number.h"

namespace viewer {

namespace {
constexpr std::size_t kKeyLength = 12;
// Beyond this a saved geometry is taken as damage rather than a window placement.
constexpr double kGeometryLimit = 1.0e6;

std::string_view NumberPart(std::string_view line) { return SkipCharacters(line, kKeyLength + 1); }

void ReadOption(const std::vector<std::string_view>& lines, std::size_t index, std::int16_t& field) {
  if (index >= lines.size()) return;
  if (auto v = ReadInt16(NumberPart(lines[index]))) field = *v;
}
}  // namespace

std::string FormatOptions(const ViewerOptions& o, const WindowGeometry& g) {
  std::string out;
  auto put = [&](const char* key, const std::string& value) {
    out += key;
    out += value;
    out += "\r\n";
  };
  put("checksize..=", FormatNumberField(o.checksize));
  put("startsizeh.=", FormatSingleField(g.height));
  put("startsizew.=", FormatSingleField(g.width));
  put("startposit.=", FormatSingleField(g.top));
  put("startposil.=", FormatSingleField(g.left));
  put("gotabpage..=", FormatNumberField(o.gotabpage));
  put("backtabpage=", FormatNumberField(o.backtabpage));
  put("autoview...=", FormatNumberField(o.autoview));
  return out;
}

OptionsFile ParseOptions(const std::string& data) {
  OptionsFile file;
  auto lines = SplitLines(data, 8);
  ReadOption(lines, 0, file.options.checksize);
  ReadOption(lines, 5, file.options.gotabpage);
  ReadOption(lines, 6, file.options.backtabpage);
  ReadOption(lines, 7, file.options.autoview);
  if (file.options.checksize == 1 && lines.size() >= 5) {
    float* fields[4] = {&file.geometry.height, &file.geometry.width, &file.geometry.top, &file.geometry.left};
    bool usable = true;
    for (int i = 0; i < 4; ++i) {
      double v = ReadNumber(NumberPart(lines[1 + i]));
      if (!std::isfinite(v) || std::fabs(v) > kGeometryLimit) usable = false;
      else *fields[i] = static_cast<float>(v);
    }
    file.applyGeometry = usable;
  }
  return file;
}

}  // namespace viewer

// Number reading for the viewer's files and text boxes.
#include "viewer/number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace viewer {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
}  // namespace

double ReadNumber(std::string_view text) {
  // Gather the number's characters without blanks, then let strtod do the exact conversion.
  std::string compact;
  bool sawSign = false, sawDigit = false, sawPoint = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    if ((c == '+' || c == '-') && !sawSign && !sawDigit && !sawPoint) {
      sawSign = true;
      compact += c;
    } else if (IsDigit(c)) {
      sawDigit = true;
      compact += c;
    } else if (c == '.' && !sawPoint) {
      sawPoint = true;
      compact += c;
    } else {
      break;
    }
  }
  if (!sawDigit) return 0.0;
  double v = std::strtod(compact.c_str(), nullptr);
  return std::isfinite(v) ? v : (compact[0] == '-' ? -HUGE_VAL : HUGE_VAL);
}

std::optional<std::int16_t> RoundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  // Halves to even: the default rounding mode of nearbyint.
  double r = std::nearbyint(value);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int16_t> ReadInt16(std::string_view text) { return RoundToInt16(ReadNumber(text)); }

std::int16_t ReadInt16Saturated(std::string_view text) {
  double v = ReadNumber(text);
  if (auto r = RoundToInt16(v)) return *r;
  return v < 0 ? INT16_MIN : INT16_MAX;
}

std::string FormatNumberField(std::int32_t value) {
  std::int64_t v = value;
  std::string out = v < 0 ? "-" : " ";
  out += std::to_string(v < 0 ? -v : v);
  out += ' ';
  return out;
}

std::string FormatSingleField(float value) {
  if (!std::isfinite(value)) value = 0.0f;
  std::string out = value < 0 ? "-" : " ";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(std::fabs(value)));
  std::string digits = buf;
  if (digits.find('e') != std::string::npos) {  // never an exponent: the reader stops at it
    std::snprintf(buf, sizeof buf, "%.0f", static_cast<double>(std::fabs(value)));
    digits = buf;
  }
  // The digits of a value below 1 start at the point (".5"), as the system's number printing does.
  if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
  out += digits;
  out += ' ';
  return out;
}

std::string DecimalText(std::int32_t value) { return std::to_string(value); }

std::string_view SkipCharacters(std::string_view line, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < line.size(); ++n) {
    if (IsLeadByte(static_cast<unsigned char>(line[pos])) && pos + 1 < line.size()) pos += 2;
    else pos += 1;
  }
  return line.substr(pos);
}

}  // namespace viewer

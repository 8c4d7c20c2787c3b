// Path splitting that steps over double-byte characters, and the decimal reading of settings.
#include "setup/shell/paths.h"

#include "setup/support/MBUtils.h"

namespace setup {

namespace {

// Byte index of the last "\" that starts a character, or npos.
std::size_t LastDelimiter(const std::string& path) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(b) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (b == '\\') last = i;
  }
  return last;
}

}  // namespace

std::string FolderPart(const std::string& path) {
  std::size_t p = LastDelimiter(path);
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNamePart(const std::string& path) {
  std::size_t p = LastDelimiter(path);
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::optional<std::int32_t> ParseDecimal(const std::string& text) {
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= n) return std::nullopt;
  std::int64_t value = 0;
  for (; i < n; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace setup

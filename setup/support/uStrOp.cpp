// Text operations of the installer (see uStrOp.h).
#include "setup/support/uStrOp.h"

#include <algorithm>

#include "setup/support/MBUtils.h"
#include "setup/support/globals.h"

namespace setup {

namespace {

// Bytes from 1-based start, count bytes long, by the extraction rule. 64-bit arithmetic so that
// extreme counts cannot overflow.
std::string Extract(const std::string& text, std::int64_t start, std::int64_t count) {
  const auto length = static_cast<std::int64_t>(text.size());
  if (start < 1) start = 1;
  if (count < 0 || start > length) return std::string();
  const std::int64_t available = length - start + 1;
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(std::min(count, available)));
}

// Whether 1-based position pos holds a "\" that is a character of its own.
bool IsDelimiterAt(const std::string& text, std::size_t pos) {
  if (pos < 1 || pos > text.size() || text[pos - 1] != '\\') return false;
  std::size_t i = 0;
  while (i < pos - 1) i += IsLeadByte(static_cast<std::uint8_t>(text[i])) ? 2 : 1;
  // i passed pos - 1 exactly when the byte at pos is the trail byte of a double-byte character.
  return i == pos - 1 && !IsLeadByte(static_cast<std::uint8_t>(text[i]));
}

char ModeOf(const std::string& mode) { return mode.empty() ? '\0' : mode[0]; }

}  // namespace

int PosNoCase(const std::string& needle, const std::string& haystack) {
  const std::string mappedHaystack = MapString(haystack, LCMAP_UPPERCASE);
  const std::string mappedNeedle = MapString(needle, LCMAP_UPPERCASE);
  return MBPos(mappedNeedle, mappedHaystack);
}

std::string StrLeft(const std::string& text, int count) { return Extract(text, 1, count); }

std::string StrRight(const std::string& text, int count) {
  return Extract(text, static_cast<std::int64_t>(text.size()) - count + 1, count);
}

std::string StrMidFrom(const std::string& text, int position) {
  return Extract(text, position, static_cast<std::int64_t>(text.size()));
}

std::string AddPathDelimiter(const std::string& text, const std::string& mode) {
  switch (ModeOf(mode)) {
    case 'T':
      return IsDelimiterAt(text, 1) ? text : "\\" + text;
    case 'B':
      return IsDelimiterAt(text, text.size()) ? text : text + "\\";
    default:
      return text;
  }
}

std::string RemovePathDelimiter(const std::string& text, const std::string& mode) {
  switch (ModeOf(mode)) {
    case 'T':
      return IsDelimiterAt(text, 1) ? text.substr(1) : text;
    case 'B':
      return IsDelimiterAt(text, text.size()) ? text.substr(0, text.size() - 1) : text;
    default:
      return text;
  }
}

std::string MapString(const std::string& text, std::uint32_t flags) {
  std::string mapped;
  if (!Sys().system.mapString(text, flags, mapped)) return text;
  // The system's buffer ends at its first zero byte.
  const std::size_t zero = mapped.find('\0');
  if (zero != std::string::npos) mapped.resize(zero);
  return mapped;
}

std::string SystemErrorText(std::int32_t code) {
  if (code == 0) return std::string();
  std::string message = Sys().system.errorMessage(code);
  // The system's buffer holds at most 256 bytes; do not keep half of a double-byte character.
  if (message.size() > 256) {
    std::size_t i = 0;
    while (i < message.size()) {
      const std::size_t step = IsLeadByte(static_cast<std::uint8_t>(message[i])) ? 2 : 1;
      if (i + step > 256) break;
      i += step;
    }
    message.resize(i);
  }
  while (!message.empty()) {
    const auto last = static_cast<std::uint8_t>(message.back());
    if (last <= 0x20 || last == 0x7F || last == '.') {
      message.pop_back();
    } else {
      break;
    }
  }
  // A failure must never be logged without a reason: a code the system has no text for is
  // reported by its number.
  if (message.empty()) message = std::to_string(code);
  return MapString(message, LCMAP_FULLWIDTH) + "\r\n";
}

}  // namespace setup

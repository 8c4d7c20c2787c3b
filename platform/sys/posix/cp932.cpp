// CP932 character stepping, case folding and the conversions between CP932 and host encodings.
#include "platform/sys/posix/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace plat::posix {
namespace {

// One converter per direction, opened once per thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  // Converts all of in; false when any byte does not convert.
  bool convert(const std::string& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    std::string src = in;
    char* inPtr = src.data();
    std::size_t inLeft = src.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
      if (r != static_cast<std::size_t>(-1) && r > 0) return false;  // irreversible substitution
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& cp932ToUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& utf8ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& cp932ToUtf16Conv() {
  thread_local Converter c("UTF-16LE", "CP932");
  return c;
}
Converter& utf16ToCp932Conv() {
  thread_local Converter c("CP932", "UTF-16LE");
  return c;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the UTF-8 sequence starting with c (1 for stray bytes).
std::size_t utf8Length(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC2 && c < 0xE0) return 2;
  return 1;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size();) {
    std::size_t n = charLength(path, i);
    if (n == 1 && (path[i] == '\\' || path[i] == '/')) {
      parts.emplace_back();
    } else {
      parts.back().append(path, i, n);
    }
    i += n;
  }
  return parts;
}

std::string foldCase(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = charLength(out, i);
    if (n == 1) out[i] = upper(out[i]);
    i += n;
  }
  return out;
}

bool equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && foldCase(a) == foldCase(b);
}

std::size_t findNoCase(const std::string& haystack, const std::string& needle) {
  std::string h = foldCase(haystack), n = foldCase(needle);
  for (std::size_t i = 0; i + n.size() <= h.size(); i += charLength(h, i)) {
    if (h.compare(i, n.size(), n) == 0) return i;
  }
  return std::string::npos;
}

std::string toHostName(const std::string& cp932) {
  std::string out, piece;
  for (std::size_t i = 0; i < cp932.size();) {
    std::size_t n = charLength(cp932, i);
    std::string ch = cp932.substr(i, n);
    if (n == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      out += ch;
    } else if (cp932ToUtf8().convert(ch, piece)) {
      out += piece;
    } else {
      for (unsigned char b : ch) appendUtf8(out, 0xF700u + b);
    }
    i += n;
  }
  return out;
}

std::string fromHostName(const std::string& utf8) {
  std::string out, piece;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::size_t n = std::min(utf8Length(c), utf8.size() - i);
    if (n == 1) {
      out += (c < 0x80) ? static_cast<char>(c) : '?';
    } else if (n == 3 && c == 0xEF && (static_cast<unsigned char>(utf8[i + 1]) & 0xFC) == 0x9C) {
      // U+F700..U+F7FF: an escaped byte.
      std::uint32_t cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
      out += static_cast<char>(cp - 0xF700u);
    } else if (utf8ToCp932().convert(utf8.substr(i, n), piece)) {
      out += piece;
    } else {
      out += '?';
    }
    i += n;
  }
  return out;
}

bool cp932ToUtf16(const std::string& cp932, std::u16string& out) {
  std::string bytes;
  if (!cp932ToUtf16Conv().convert(cp932, bytes)) return false;
  out.clear();
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return true;
}

bool utf16ToCp932(const std::u16string& text, std::string& out) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return utf16ToCp932Conv().convert(bytes, out);
}

}  // namespace plat::posix

// Writer and reader of shell-link files. All fields are little-endian; strings in the string data
// are UTF-16 (the Unicode flag is set) and the local path is given in CP932 and in UTF-16.
#include "platform/sys/posix/shell_link_format.h"

#include "platform/sys/posix/cp932.h"

namespace plat::posix {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
const unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum : std::uint32_t {
  kHasIdList = 0x01,
  kHasLinkInfo = 0x02,
  kHasName = 0x04,
  kHasRelativePath = 0x08,
  kHasWorkingDir = 0x10,
  kHasArguments = 0x20,
  kHasIconLocation = 0x40,
  kIsUnicode = 0x80,
};

void put16(std::string& b, std::uint32_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void put64(std::string& b, std::uint64_t v) {
  put32(b, static_cast<std::uint32_t>(v));
  put32(b, static_cast<std::uint32_t>(v >> 32));
}
void set32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void putUtf16(std::string& b, const std::u16string& s) {
  for (char16_t c : s) put16(b, c);
}

class Reader {
 public:
  explicit Reader(const std::string& b) : b_(b) {}
  bool has(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
  std::uint32_t u16(std::size_t at) const {
    return static_cast<unsigned char>(b_[at]) | (static_cast<unsigned char>(b_[at + 1]) << 8);
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
  // A zero-terminated byte string starting at "at" and ending before "end".
  bool cstr(std::size_t at, std::size_t end, std::string& out) const {
    out.clear();
    for (std::size_t i = at; i < end && i < b_.size(); ++i) {
      if (b_[i] == '\0') return true;
      out += b_[i];
    }
    return false;
  }
  bool wstr(std::size_t at, std::size_t end, std::u16string& out) const {
    out.clear();
    for (std::size_t i = at; i + 1 < end && i + 1 < b_.size(); i += 2) {
      char16_t c = static_cast<char16_t>(u16(i));
      if (c == 0) return true;
      out += c;
    }
    return false;
  }

 private:
  const std::string& b_;
};

}  // namespace

bool encodeShellLink(const ShellLinkData& link, const std::string& relativePath, const LinkTargetFacts& facts,
                     std::string& bytes) {
  struct Field {
    std::uint32_t flag;
    const std::string* text;
  };
  const Field fields[] = {{kHasName, &link.description},
                          {kHasRelativePath, &relativePath},
                          {kHasWorkingDir, &link.workingDirectory},
                          {kHasArguments, &link.arguments},
                          {kHasIconLocation, &link.iconPath}};
  std::uint32_t flags = kHasLinkInfo | kIsUnicode;
  std::string strings;
  for (const Field& f : fields) {
    if (f.text->empty()) continue;
    std::u16string wide;
    if (!cp932ToUtf16(*f.text, wide) || wide.size() > 0xFFFF) return false;
    flags |= f.flag;
    put16(strings, static_cast<std::uint32_t>(wide.size()));
    putUtf16(strings, wide);
  }
  std::u16string widePath;
  if (!cp932ToUtf16(link.target, widePath)) return false;

  bytes.clear();
  put32(bytes, kHeaderSize);
  bytes.append(reinterpret_cast<const char*>(kLinkClsid), 16);
  put32(bytes, flags);
  put32(bytes, facts.attributes);
  put64(bytes, facts.writeTime);  // creation
  put64(bytes, facts.writeTime);  // access
  put64(bytes, facts.writeTime);  // write
  put32(bytes, facts.size);
  put32(bytes, static_cast<std::uint32_t>(link.iconIndex));
  put32(bytes, static_cast<std::uint32_t>(link.showCommand));
  put16(bytes, 0);  // hot key
  put16(bytes, 0);
  put32(bytes, 0);
  put32(bytes, 0);

  // Link information: a fixed drive volume and the local base path, in CP932 and in UTF-16.
  std::string info;
  constexpr std::uint32_t kInfoHeader = 0x24;
  std::string volume;
  put32(volume, 0x11);  // size of the volume block
  put32(volume, 3);     // a fixed drive
  put32(volume, 0);     // serial number
  put32(volume, 0x10);  // label offset
  volume += '\0';
  std::uint32_t volumeAt = kInfoHeader;
  std::uint32_t pathAt = volumeAt + static_cast<std::uint32_t>(volume.size());
  std::uint32_t suffixAt = pathAt + static_cast<std::uint32_t>(link.target.size()) + 1;
  std::uint32_t widePathAt = suffixAt + 1;
  std::uint32_t wideSuffixAt = widePathAt + 2 * static_cast<std::uint32_t>(widePath.size() + 1);
  std::uint32_t infoSize = wideSuffixAt + 2;
  put32(info, infoSize);
  put32(info, kInfoHeader);
  put32(info, 1);  // volume and local base path present
  put32(info, volumeAt);
  put32(info, pathAt);
  put32(info, 0);  // no network location
  put32(info, suffixAt);
  put32(info, widePathAt);
  put32(info, wideSuffixAt);
  info += volume;
  info += link.target;
  info += '\0';
  info += '\0';  // empty common path suffix
  putUtf16(info, widePath);
  put16(info, 0);
  put16(info, 0);
  set32(info, 0, static_cast<std::uint32_t>(info.size()));

  bytes += info;
  bytes += strings;
  put32(bytes, 0);  // terminal extra-data block
  return true;
}

bool decodeShellLink(const std::string& bytes, ShellLinkData& link) {
  Reader r(bytes);
  if (!r.has(0, kHeaderSize) || r.u32(0) != kHeaderSize || bytes.compare(4, 16, std::string(reinterpret_cast<const char*>(kLinkClsid), 16)) != 0)
    return false;
  ShellLinkData out;
  std::uint32_t flags = r.u32(0x14);
  out.iconIndex = static_cast<int>(r.u32(0x38));
  out.showCommand = static_cast<int>(r.u32(0x3C));
  std::size_t at = kHeaderSize;
  if (flags & kHasIdList) {
    if (!r.has(at, 2)) return false;
    at += 2 + r.u16(at);
  }
  if (flags & kHasLinkInfo) {
    if (!r.has(at, 0x1C)) return false;
    std::uint32_t size = r.u32(at), header = r.u32(at + 4), infoFlags = r.u32(at + 8);
    if (size < 0x1C || !r.has(at, size)) return false;
    std::size_t end = at + size;
    if (infoFlags & 1) {
      std::string base, suffix;
      std::u16string wide, wideSuffix;
      if (header >= 0x24 && r.u32(at + 28) != 0) {
        if (!r.wstr(at + r.u32(at + 28), end, wide)) return false;
        if (r.u32(at + 32) != 0 && !r.wstr(at + r.u32(at + 32), end, wideSuffix)) return false;
        if (!utf16ToCp932(wide + wideSuffix, out.target)) return false;
      } else {
        if (!r.cstr(at + r.u32(at + 16), end, base) || !r.cstr(at + r.u32(at + 24), end, suffix)) return false;
        out.target = base + suffix;
      }
    }
    at = end;
  }
  std::string relative;
  std::string* targets[] = {&out.description, &relative, &out.workingDirectory, &out.arguments, &out.iconPath};
  const std::uint32_t order[] = {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation};
  for (int i = 0; i < 5; ++i) {
    if (!(flags & order[i])) continue;
    if (!r.has(at, 2)) return false;
    std::uint32_t count = r.u16(at);
    at += 2;
    if (flags & kIsUnicode) {
      if (!r.has(at, 2 * count)) return false;
      std::u16string wide;
      for (std::uint32_t k = 0; k < count; ++k) wide += static_cast<char16_t>(r.u16(at + 2 * k));
      if (!utf16ToCp932(wide, *targets[i])) return false;
      at += 2 * count;
    } else {
      if (!r.has(at, count)) return false;
      *targets[i] = bytes.substr(at, count);
      at += count;
    }
  }
  link = out;
  return true;
}

}  // namespace plat::posix

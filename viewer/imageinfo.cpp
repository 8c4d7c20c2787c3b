// JPEG marker walk and BMP header reading, bounded by the given bytes.
#include "viewer/imageinfo.h"

namespace viewer {

namespace {

std::uint32_t Le(std::string_view b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
std::uint32_t Be16(std::string_view b, std::size_t at) {
  return (static_cast<unsigned char>(b[at]) << 8) | static_cast<unsigned char>(b[at + 1]);
}

ImageStatus CheckSize(ImageInfo& info) {
  if (info.width <= 0 || info.height <= 0) return ImageStatus::NotAPicture;
  if (info.width > kMaxSide || info.height > kMaxSide ||
      std::int64_t{info.width} * info.height > kMaxPixels)
    return ImageStatus::TooLarge;
  return ImageStatus::Ok;
}

ImageStatus ReadJpeg(std::string_view b, ImageInfo& info) {
  std::size_t pos = 2;
  while (pos + 4 <= b.size()) {
    if (static_cast<unsigned char>(b[pos]) != 0xFF) return ImageStatus::NotAPicture;
    unsigned marker = static_cast<unsigned char>(b[pos + 1]);
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return ImageStatus::NotAPicture;  // no frame header first
    std::uint32_t length = Be16(b, pos + 2);
    if (length < 2) return ImageStatus::NotAPicture;
    const bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (length < 7 || pos + 9 > b.size()) return ImageStatus::NotAPicture;
      info.kind = ImageKind::Jpeg;
      info.height = static_cast<std::int32_t>(Be16(b, pos + 5));
      info.width = static_cast<std::int32_t>(Be16(b, pos + 7));
      return CheckSize(info);
    }
    pos += 2 + length;
  }
  return ImageStatus::NotAPicture;
}

ImageStatus ReadBmp(std::string_view b, ImageInfo& info) {
  if (b.size() < 26) return ImageStatus::NotAPicture;
  info.kind = ImageKind::Bmp;
  info.pixelOffset = Le(b, 10, 4);
  std::uint32_t headerSize = Le(b, 14, 4);
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    info.width = static_cast<std::int32_t>(Le(b, 18, 2));
    info.height = static_cast<std::int32_t>(Le(b, 20, 2));
    info.bitsPerPixel = static_cast<std::uint16_t>(Le(b, 24, 2));
    info.compression = 0;
  } else if (headerSize >= 40 && b.size() >= 54) {  // the whole info header is read later
    info.width = static_cast<std::int32_t>(Le(b, 18, 4));
    std::int32_t h = static_cast<std::int32_t>(Le(b, 22, 4));
    info.topDown = h < 0;
    if (h == INT32_MIN) return ImageStatus::NotAPicture;
    info.height = h < 0 ? -h : h;
    info.bitsPerPixel = static_cast<std::uint16_t>(Le(b, 28, 2));
    info.compression = Le(b, 30, 4);
  } else {
    return ImageStatus::NotAPicture;
  }
  return CheckSize(info);
}

}  // namespace

ImageStatus ReadImageInfo(std::string_view bytes, ImageInfo& info) {
  info = ImageInfo{};
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF)
    return ReadJpeg(bytes, info);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return ReadBmp(bytes, info);
  return ImageStatus::NotAPicture;
}

}  // namespace viewer

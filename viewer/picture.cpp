// Bitmap decoding and the page cache.
#include "viewer/picture.h"

namespace viewer {

namespace {
std::uint32_t Le(const std::string& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
}  // namespace

ImageStatus DecodeBmp(const std::string& bytes, Picture& out) {
  ImageInfo info;
  ImageStatus status = ReadImageInfo(bytes, info);
  if (status != ImageStatus::Ok) return status;
  if (info.kind != ImageKind::Bmp) return ImageStatus::NotAPicture;
  const int bits = info.bitsPerPixel;
  const bool bitfields32 = info.compression == 3 && bits == 32;
  if (info.compression != 0 && !bitfields32) return ImageStatus::NotAPicture;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return ImageStatus::NotAPicture;

  const std::uint32_t headerSize = Le(bytes, 14, 4);
  const bool core = headerSize == 12;
  std::vector<std::uint8_t> palette;  // blue, green, red per entry
  if (bits <= 8) {
    std::uint32_t colours = core ? 0 : Le(bytes, 46, 4);
    if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t at = 14 + static_cast<std::size_t>(headerSize);
    if (at + colours * entrySize > bytes.size()) return ImageStatus::NotAPicture;
    for (std::uint32_t i = 0; i < colours; ++i)
      for (int c = 0; c < 3; ++c) palette.push_back(static_cast<std::uint8_t>(bytes[at + i * entrySize + c]));
    palette.resize(3u << bits, 0);
  }

  const std::uint64_t stride = ((static_cast<std::uint64_t>(info.width) * bits + 31) / 32) * 4;
  if (info.pixelOffset > bytes.size() || stride * info.height > bytes.size() - info.pixelOffset)
    return ImageStatus::NotAPicture;

  out.width = info.width;
  out.height = info.height;
  out.rgb.assign(static_cast<std::size_t>(info.width) * info.height * 3, 0);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + info.pixelOffset;
  for (std::int32_t y = 0; y < info.height; ++y) {
    const std::uint8_t* row = data + stride * (info.topDown ? y : info.height - 1 - y);
    std::uint8_t* dst = &out.rgb[static_cast<std::size_t>(y) * info.width * 3];
    for (std::int32_t x = 0; x < info.width; ++x, dst += 3) {
      if (bits >= 24) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
        dst[0] = p[2];
        dst[1] = p[1];
        dst[2] = p[0];
      } else {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        dst[0] = palette[index * 3 + 2];
        dst[1] = palette[index * 3 + 1];
        dst[2] = palette[index * 3];
      }
    }
  }
  return ImageStatus::Ok;
}

PageCache::PageCache(plat::FileSystem& files, PictureDecoder decoder, std::size_t capacity)
    : files_(files), decoder_(std::move(decoder)), capacity_(capacity < 1 ? 1 : capacity) {}

std::shared_ptr<const Picture> PageCache::load(const std::string& path, ImageStatus& status) {
  plat::FileStamp stamp;
  if (files_.stamp(path, stamp) != plat::err::kSuccess) {
    status = ImageStatus::NotAPicture;
    return nullptr;
  }
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->path != path) continue;
    if (it->stamp == stamp) {
      entries_.splice(entries_.begin(), entries_, it);
      status = ImageStatus::Ok;
      return it->picture;
    }
    entries_.erase(it);
    break;
  }
  std::string bytes;
  if (files_.readFile(path, bytes) != plat::err::kSuccess) {
    status = ImageStatus::NotAPicture;
    return nullptr;
  }
  auto picture = std::make_shared<Picture>();
  ++decodes_;
  status = decoder_(bytes, *picture);
  if (status != ImageStatus::Ok) return nullptr;
  entries_.push_front({path, stamp, picture});
  if (entries_.size() > capacity_) entries_.pop_back();
  return picture;
}

}  // namespace viewer

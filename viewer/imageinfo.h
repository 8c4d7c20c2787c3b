// Picture sizes from the headers of JPEG and BMP files, read without decoding the pixels.
#pragma once

#include <cstdint>
#include <string_view>

namespace viewer {

enum class ImageKind { Unknown, Jpeg, Bmp };

struct ImageInfo {
  ImageKind kind = ImageKind::Unknown;
  std::int32_t width = 0;   // pixels
  std::int32_t height = 0;  // pixels, always positive (a top-down bitmap too)
  std::uint16_t bitsPerPixel = 0;  // bitmaps only
  bool topDown = false;            // bitmaps only
  std::uint32_t pixelOffset = 0;   // bitmaps only: where the pixel rows start
  std::uint32_t compression = 0;   // bitmaps only
};

// The largest picture the viewer will decode: bigger headers are refused before any memory is
// taken for pixels, so a damaged or hostile file cannot ask for gigabytes.
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;
constexpr std::int32_t kMaxSide = 32768;

enum class ImageStatus { Ok, NotAPicture, TooLarge };

// Kind and size from a file's first bytes (a few kilobytes are enough for any usual file).
ImageStatus ReadImageInfo(std::string_view bytes, ImageInfo& info);

}  // namespace viewer

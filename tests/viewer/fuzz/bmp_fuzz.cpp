// Fuzz target: any bytes as a picture file: the header reader and the bitmap decoder must stay
// inside the bytes and inside the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer/imageinfo.h"
#include "viewer/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  viewer::ImageInfo info;
  if (viewer::ReadImageInfo(bytes, info) == viewer::ImageStatus::Ok &&
      (info.width <= 0 || info.height <= 0 || std::int64_t{info.width} * info.height > viewer::kMaxPixels))
    std::abort();
  viewer::Picture picture;
  if (viewer::DecodeBmp(bytes, picture) == viewer::ImageStatus::Ok &&
      picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3)
    std::abort();
  return 0;
}

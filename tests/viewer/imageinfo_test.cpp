// Picture sizes from headers, and the files that must be refused without harm.
#include <gtest/gtest.h>

#include "viewer/imageinfo.h"

namespace viewer {
namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

std::string Le32(std::uint32_t v) {
  return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int((v >> 24) & 0xFF)});
}

// A bitmap header: file header and a 40-byte info header.
std::string BmpHeader(std::int32_t w, std::int32_t h, int bits = 24) {
  std::string s = "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(static_cast<std::uint32_t>(w)) +
                  Le32(static_cast<std::uint32_t>(h)) + Bytes({1, 0, bits, 0}) + Le32(0);
  s += std::string(54 - s.size(), '\0');
  return s;
}

// SOI, an APP0 segment, then a baseline frame header.
std::string JpegHeader(int w, int h, int frameMarker = 0xC0) {
  return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + std::string(14, 'J') +
         Bytes({0xFF, frameMarker, 0, 11, 8, h >> 8, h & 0xFF, w >> 8, w & 0xFF, 1, 1, 0x11, 0});
}

TEST(ImageInfo, ReadsSizesOfBothKinds) {
  struct Case {
    std::string bytes;
    ImageStatus status;
    ImageKind kind;
    std::int32_t w, h;
  };
  const Case cases[] = {
      {JpegHeader(2480, 3508), ImageStatus::Ok, ImageKind::Jpeg, 2480, 3508},
      {JpegHeader(20, 30, 0xC2), ImageStatus::Ok, ImageKind::Jpeg, 20, 30},  // progressive
      {BmpHeader(400, 300), ImageStatus::Ok, ImageKind::Bmp, 400, 300},
      {BmpHeader(400, -300), ImageStatus::Ok, ImageKind::Bmp, 400, 300},  // top-down rows
      {"BM" + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Bytes({0x40, 1, 0xC8, 0, 1, 0, 24, 0}), ImageStatus::Ok,
       ImageKind::Bmp, 320, 200},  // the old core header
  };
  for (const auto& c : cases) {
    ImageInfo info;
    EXPECT_EQ(ReadImageInfo(c.bytes, info), c.status);
    EXPECT_EQ(info.kind, c.kind);
    EXPECT_EQ(info.width, c.w);
    EXPECT_EQ(info.height, c.h);
  }
}

TEST(ImageInfo, RefusesDamagedAndHugeFiles) {
  const std::string jpeg = JpegHeader(100, 100);
  struct Case {
    std::string name, bytes;
    ImageStatus status;
  };
  const Case cases[] = {
      {"zero bytes", "", ImageStatus::NotAPicture},
      {"text named .jpg", "This is not a picture.\r\n", ImageStatus::NotAPicture},
      {"truncated jpeg", jpeg.substr(0, 12), ImageStatus::NotAPicture},
      {"jpeg without frame", Bytes({0xFF, 0xD8, 0xFF, 0xD9}), ImageStatus::NotAPicture},
      {"jpeg zero height", JpegHeader(100, 0), ImageStatus::NotAPicture},
      {"jpeg segment length 0", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0xFF, 0xC0}), ImageStatus::NotAPicture},
      {"bmp 100000 x 100000", BmpHeader(100000, 100000), ImageStatus::TooLarge},
      {"bmp 30000 x 30000", BmpHeader(30000, 30000), ImageStatus::TooLarge},
      {"bmp negative width", BmpHeader(-5, 10), ImageStatus::NotAPicture},
      {"bmp smallest height", BmpHeader(5, INT32_MIN), ImageStatus::NotAPicture},
      {"bmp truncated", BmpHeader(5, 5).substr(0, 20), ImageStatus::NotAPicture},
      {"bmp info header cut short", BmpHeader(2, 2, 8).substr(0, 44), ImageStatus::NotAPicture},
      {"jpeg 65535 x 65535", JpegHeader(65535, 65535), ImageStatus::TooLarge},
  };
  for (const auto& c : cases) {
    ImageInfo info;
    EXPECT_EQ(ReadImageInfo(c.bytes, info), c.status) << c.name;
  }
}

}  // namespace
}  // namespace viewer

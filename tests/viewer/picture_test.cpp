// Decoding pages and keeping them: real pixels, hostile files, and no second decode on resize.
#include <gtest/gtest.h>

#include "tests/viewer/fakes.h"
#include "tests/viewer/jpeg_fixture.h"
#include "viewer/jpeg_decode.h"
#include "viewer/picture.h"

namespace viewer {
namespace {

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// A bitmap with a palette or true colour pixels; `rows` are bottom-up as stored.
std::string Bmp(std::int32_t w, std::int32_t h, int bits, const std::string& palette, const std::string& rows) {
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size());
  std::string s = "BM" + Le32(offset + rows.size()) + Le32(0) + Le32(offset) + Le32(40) + Le32(w) +
                  Le32(static_cast<std::uint32_t>(h)) + std::string("\x01\x00", 2) + static_cast<char>(bits) +
                  std::string(1, '\0') + Le32(0) + Le32(rows.size()) + Le32(2835) + Le32(2835) +
                  Le32(static_cast<std::uint32_t>(palette.size() / 4)) + Le32(0);
  return s + palette + rows;
}

TEST(Decode, BitmapsOfEveryDepthGiveTopRowFirstRgb) {
  // 2 × 2 pixels; bottom row stored first. Top row: red, green; bottom row: blue, white.
  const std::string rgb24 = std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8) +  // blue, white, pad
                            std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);    // red, green, pad
  const std::string palette = std::string("\x00\x00\xFF\x00", 4) + std::string("\x00\xFF\x00\x00", 4) +
                              std::string("\xFF\x00\x00\x00", 4) + std::string("\xFF\xFF\xFF\x00", 4);
  const std::string rows8 = std::string("\x02\x03\x00\x00", 4) + std::string("\x00\x01\x00\x00", 4);
  const std::string rows4 = std::string("\x23\x00\x00\x00", 4) + std::string("\x01\x00\x00\x00", 4);
  const std::vector<std::uint8_t> expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const std::pair<const char*, std::string> files[] = {
      {"24 bits", Bmp(2, 2, 24, "", rgb24)},
      {"8 bits", Bmp(2, 2, 8, palette, rows8)},
      {"4 bits", Bmp(2, 2, 4, palette, rows4)},
  };
  for (const auto& [name, bytes] : files) {
    Picture p;
    ASSERT_EQ(DecodePicture(bytes, p), ImageStatus::Ok) << name;
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.height, 2);
    EXPECT_EQ(p.rgb, expected) << name;
  }
}

TEST(Decode, JpegPixelsAreReal) {
  Picture p;
  ASSERT_EQ(DecodePicture(testing::EncodeJpeg(64, 48), p), ImageStatus::Ok);
  EXPECT_EQ(p.width, 64);
  EXPECT_EQ(p.height, 48);
  ASSERT_EQ(p.rgb.size(), 64u * 48 * 3);
  const std::uint8_t* left = &p.rgb[(24 * 64 + 5) * 3];
  const std::uint8_t* right = &p.rgb[(24 * 64 + 58) * 3];
  EXPECT_GT(left[0], 200);
  EXPECT_LT(left[2], 60);
  EXPECT_GT(right[2], 200);
  EXPECT_LT(right[0], 60);
}

TEST(Decode, HostileFilesNeitherCrashNorAllocate) {
  const std::string jpeg = testing::EncodeJpeg(64, 48);
  std::string badBmp = Bmp(100000, 100000, 24, "", "");
  std::string shortRows = Bmp(40, 40, 24, "", std::string(100, '\0'));
  std::string rle = Bmp(2, 2, 8, std::string(16, '\0'), std::string(8, '\0'));
  rle[30] = 1;  // run-length compression is not read
  struct Case {
    const char* name;
    std::string bytes;
    ImageStatus status;
  };
  const Case cases[] = {
      {"zero bytes", "", ImageStatus::NotAPicture},
      {"text", "plain text saved as p001.jpg\r\n", ImageStatus::NotAPicture},
      {"bitmap claiming 100000 x 100000", badBmp, ImageStatus::TooLarge},
      {"bitmap with rows missing", shortRows, ImageStatus::NotAPicture},
      {"run-length bitmap", rle, ImageStatus::NotAPicture},
      {"jpeg header only", jpeg.substr(0, 200), ImageStatus::NotAPicture},
  };
  for (const auto& c : cases) {
    Picture p;
    EXPECT_EQ(DecodePicture(c.bytes, p), c.status) << c.name;
    EXPECT_TRUE(p.rgb.empty()) << c.name;
  }
  // A JPEG cut in the middle of its data decodes to the full size: the missing part stays blank.
  const std::string big = testing::EncodeJpeg(256, 256);
  Picture p;
  EXPECT_EQ(DecodePicture(big.substr(0, big.size() * 3 / 4), p), ImageStatus::Ok);
  EXPECT_EQ(p.width, 256);
}

TEST(PageCache, DecodesAgainOnlyWhenTheFileChanged) {
  testing::MemoryFiles files;
  files.put("D:\\a001.jpg", testing::EncodeJpeg(32, 16));
  files.put("D:\\a002.jpg", testing::EncodeJpeg(16, 16));
  PageCache cache(files, DecodePicture);
  ImageStatus status;
  auto first = cache.load("D:\\a001.jpg", status);
  ASSERT_TRUE(first);
  auto again = cache.load("D:\\a001.jpg", status);  // a resize redraws the same page
  EXPECT_EQ(again, first);
  EXPECT_EQ(cache.decodes(), 1);
  EXPECT_EQ(files.reads["D:\\a001.jpg"], 1);

  cache.load("D:\\a002.jpg", status);
  cache.load("D:\\a001.jpg", status);  // back to the previous page: still kept
  EXPECT_EQ(cache.decodes(), 2);

  files.put("D:\\a001.jpg", testing::EncodeJpeg(8, 8));  // rewritten: new time and size
  auto changed = cache.load("D:\\a001.jpg", status);
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->width, 8);
  EXPECT_EQ(cache.decodes(), 3);

  const plat::FileTime time = files.times["D:\\a001.jpg"];
  files.files["D:\\a001.jpg"] = testing::EncodeJpeg(300, 20);  // same time, other size
  files.times["D:\\a001.jpg"] = time;
  EXPECT_EQ(cache.load("D:\\a001.jpg", status)->width, 300);

  files.files.erase("D:\\a001.jpg");
  EXPECT_FALSE(cache.load("D:\\a001.jpg", status));
  EXPECT_EQ(status, ImageStatus::NotAPicture);
}

}  // namespace
}  // namespace viewer

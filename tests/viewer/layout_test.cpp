// Frame and scroll-bar layout in twips, and page file names.
#include <gtest/gtest.h>

#include "viewer/layout.h"
#include "viewer/module1.h"

namespace viewer {
namespace {

LayoutInput Window6000x5000(std::int32_t w, std::int32_t h) {
  LayoutInput in;
  in.innerWidth = 6000;
  in.innerHeight = 4244 + 384 + 372;  // the example's Ha is 4244
  in.toolbarHeight = 384;
  in.statusHeight = 372;
  in.vbarWidth = 252;
  in.hbarHeight = 252;
  in.pictureWidth = w;
  in.pictureHeight = h;
  return in;
}

TEST(Layout, ChoosesBarsAndSizesTheFrame) {
  struct Case {
    std::int32_t w, h;
    BarCase bars;
    std::int32_t frameW, frameH, hmax, vmax;
  };
  const Case cases[] = {
      {5800, 3000, BarCase::None, 6000, 4244, 0, 0},
      {5800, 4100, BarCase::Both, 5748, 3992, 52, 108},
      {6100, 3000, BarCase::HorizontalOnly, 6000, 3992, 100, 0},
      {5000, 5000, BarCase::VerticalOnly, 5748, 4244, 0, 756},
      {6000, 3000, BarCase::HorizontalOnly, 6000, 3992, 0, 0},  // exactly as wide: a bar with range 0
      {5748, 3992, BarCase::Both, 5748, 3992, 0, 0},            // would fit, still both bars
      {0, 0, BarCase::None, 6000, 4244, 0, 0},                  // no picture
  };
  for (const auto& c : cases) {
    PageLayout l = ComputeLayout(Window6000x5000(c.w, c.h));
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    EXPECT_EQ(l.availableHeight, 4244);
    EXPECT_EQ(l.barCase, c.bars);
    EXPECT_EQ(l.frameLeft, 0);
    EXPECT_EQ(l.frameTop, 384);
    EXPECT_EQ(l.frameWidth, c.frameW);
    EXPECT_EQ(l.frameHeight, c.frameH);
    EXPECT_EQ(l.hbar.visible, c.bars == BarCase::Both || c.bars == BarCase::HorizontalOnly);
    EXPECT_EQ(l.vbar.visible, c.bars == BarCase::Both || c.bars == BarCase::VerticalOnly);
    EXPECT_EQ(l.cornerVisible, c.bars == BarCase::Both);
    if (l.hbar.visible) {
      EXPECT_EQ(l.hbar.max, c.hmax);
      EXPECT_EQ(l.hbar.top, 384 + c.frameH);
      EXPECT_EQ(l.hbar.length, c.frameW);
      EXPECT_EQ(l.hbar.largeChange, c.frameW);
      EXPECT_EQ(l.hbar.smallChange, 10);
    }
    if (l.vbar.visible) {
      EXPECT_EQ(l.vbar.max, c.vmax);
      EXPECT_EQ(l.vbar.left, c.frameW);
      EXPECT_EQ(l.vbar.top, 384);
      EXPECT_EQ(l.vbar.length, c.frameH);
      EXPECT_EQ(l.vbar.largeChange, c.frameH);
    }
    if (l.cornerVisible) {
      EXPECT_EQ(l.cornerLeft, c.frameW);
      EXPECT_EQ(l.cornerTop, 384 + c.frameH);
    }
  }
}

TEST(Layout, RangesBeyondSixteenBitsUseACoarserUnitAndReachTheEnd) {
  // 100000 pixels of width is 1.5 million twips: far beyond a 16-bit bar.
  PageLayout l = ComputeLayout(Window6000x5000(1500000, 100));
  ASSERT_TRUE(l.hbar.visible);
  EXPECT_LE(l.hbar.max, 32767);
  EXPECT_GT(l.hbar.unit, 1);
  EXPECT_EQ(l.hbar.range, 1500000 - 6000);
  EXPECT_EQ(l.hbar.offsetFor(l.hbar.max), l.hbar.range);  // the right edge is reachable
  EXPECT_EQ(l.hbar.offsetFor(0), 0);
  EXPECT_GE(l.hbar.largeChange, 1);
}

TEST(Layout, TinyWindowGivesEmptyFrameNotNegative) {
  LayoutInput in = Window6000x5000(500, 500);
  in.innerWidth = 100;
  in.innerHeight = 300;  // lower than toolbar plus status bar
  PageLayout l = ComputeLayout(in);
  EXPECT_GE(l.frameWidth, 0);
  EXPECT_GE(l.frameHeight, 0);
  EXPECT_GE(l.hbar.max, 0);
  EXPECT_GE(l.vbar.max, 0);
}

TEST(MakePageFile, ReplacesDigitsAndKeepsExtension) {
  struct Case {
    std::int16_t page;
    const char* cover;
    const char* expected;
  };
  const Case cases[] = {
      {1, "D:\\scan\\p001.bmp", "D:\\scan\\p001.bmp"},
      {9, "D:\\scan\\p001.bmp", "D:\\scan\\p009.bmp"},
      {10, "D:\\scan\\p001.bmp", "D:\\scan\\p010.bmp"},
      {99, "D:\\scan\\p001.bmp", "D:\\scan\\p099.bmp"},
      {100, "D:\\scan\\p001.bmp", "D:\\scan\\p100.bmp"},
      {999, "D:\\scan\\p001.bmp", "D:\\scan\\p999.bmp"},
      {1000, "D:\\scan\\p001.bmp", "previous"},
      {0, "D:\\scan\\p001.bmp", "previous"},
      {-3, "D:\\scan\\p001.bmp", "previous"},
      {7, "C:\\BOOK\\kaze001.jpg", "C:\\BOOK\\kaze007.jpg"},
      {42, "C:\\BOOK\\kazeXYZ.jpg", "C:\\BOOK\\kaze042.jpg"},  // whatever the three characters are
      {5, "C:\\表紙\\ソ001.jpg", "C:\\表紙\\ソ005.jpg"},
      {5, "001.jpg", "005.jpg"},
      {5, "01.jpg", "previous"},  // too short to cut
      {5, "", "previous"},
  };
  for (const auto& c : cases) {
    Module1 m;
    m.curpage = c.page;
    m.book.bookcover = c.cover;
    m.curpagefile = "previous";
    MakePageFile(m);
    EXPECT_EQ(m.curpagefile, c.expected) << c.page << " " << c.cover;
  }
}

}  // namespace
}  // namespace viewer

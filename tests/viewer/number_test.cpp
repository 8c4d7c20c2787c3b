// The number reading rule shared by the book file, the profile and the dialogs.
#include <gtest/gtest.h>

#include "viewer/number.h"

namespace viewer {
namespace {

struct ReadCase {
  const char* text;
  std::optional<std::int16_t> expected;
};

TEST(ReadInt16, NumberAtStartRoundedHalfToEven) {
  const ReadCase cases[] = {
      {"12.5", 12},  {"13.5", 14},   {"0.5", 0},     {"1.5", 2},      {"-2.5", -2},
      {" 12ab", 12}, {"1 2 3", 123}, {"", 0},        {"abc", 0},      {"-", 0},
      {".5", 0},     {".51", 1},     {"  7  ", 7},   {"12.3.4", 12},  {"32767", 32767},
      {"-32768", -32768}, {"32767.5", std::nullopt}, {"32768", std::nullopt},
      {"99999", std::nullopt}, {"-32769", std::nullopt},
      {"1e3", 1},  // no exponents: the number ends at the letter
      {"999999999999999999999999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadInt16(c.text), c.expected) << "text: [" << c.text << "]";
}

TEST(ReadInt16, SaturatedPinsToRangeEnds) {
  EXPECT_EQ(ReadInt16Saturated("99999"), 32767);
  EXPECT_EQ(ReadInt16Saturated("-99999"), -32768);
  EXPECT_EQ(ReadInt16Saturated("42"), 42);
}

TEST(FormatFields, SignPositionDigitsAndTrailingBlank) {
  EXPECT_EQ(FormatNumberField(120), " 120 ");
  EXPECT_EQ(FormatNumberField(0), " 0 ");
  EXPECT_EQ(FormatNumberField(-5), "-5 ");
  EXPECT_EQ(FormatNumberField(-32768), "-32768 ");
  EXPECT_EQ(FormatSingleField(6300.0f), " 6300 ");
  EXPECT_EQ(FormatSingleField(-60.0f), "-60 ");
  EXPECT_EQ(FormatSingleField(1234.5f), " 1234.5 ");
  EXPECT_EQ(FormatSingleField(0.5f), " .5 ");
  EXPECT_EQ(FormatSingleField(123456789.0f), " 123456792 ");
}

TEST(SkipCharacters, CountsDoubleByteCharactersAsOne) {
  // "ＢＯＯＫ" is four double-byte characters, eight bytes.
  EXPECT_EQ(SkipCharacters("ＢＯＯＫ=value", 5), "value");
  EXPECT_EQ(SkipCharacters("abc", 12), "");
  EXPECT_EQ(SkipCharacters("booktitle..=表紙", 12), "表紙");
}

}  // namespace
}  // namespace viewer

// Searches, extraction and delimiters on CP932 texts, where trail bytes can look like "\" or
// letters; and the system's error texts.
#include <climits>
#include <string>

#include "setup/support/MBUtils.h"
#include "setup/support/uStrOp.h"
#include "text_fixture.h"

namespace setup {
namespace {

using TextOps = testing::TextTest;

struct PosCase {
  const char* name;
  std::string needle;
  std::string haystack;
  int mbPos;
  int posNoCase;
};

TEST_F(TextOps, SearchesStartOnlyOnCharacterBoundaries) {
  // "ソ" and "表" end in 0x5C, "ア" ends in 0x41 ("A").
  const PosCase cases[] = {
      {"trail byte is no backslash", "\\", "ソ", 0, 0},
      {"backslash after trail-0x5C character", "\\", "ソ\\", 3, 3},
      {"second trail-0x5C character", "\\", "C:表ソ\\A", 7, 7},
      {"trail byte is no letter", "A", "ア", 0, 0},
      {"upper-cased needle is no trail byte", "a", "ア", 0, 0},
      {"empty needle in text", "", "abc", 0, 0},
      {"empty needle in empty text", "", "", 0, 0},
      {"needle longer than the rest", "abcd", "xabc", 0, 0},
      {"case matters only for MBPos", "(app)", "(App)\\SUB", 0, 1},
      {"first of two", "|", "a|b|", 2, 2},
      {"double-byte needle", "表", "ソ表", 3, 3},
      {"double-byte needle is not found across characters", "\\\x95", "ソ\x95\\", 0, 0},
  };
  for (const PosCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MBPos(c.needle, c.haystack), c.mbPos);
    EXPECT_EQ(PosNoCase(c.needle, c.haystack), c.posNoCase);
  }
}

TEST_F(TextOps, LeadBytesAreTheCodePageRanges) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<std::uint8_t>(b)), expected) << "byte " << b;
  }
}

struct ExtractCase {
  const char* name;
  std::string (*op)(const std::string&, int);
  int argument;
  std::string expected;
};

TEST_F(TextOps, ExtractionStaysWithinTheText) {
  const ExtractCase cases[] = {
      {"StrLeft 0", StrLeft, 0, ""},
      {"StrLeft negative", StrLeft, -3, ""},
      {"StrLeft 2", StrLeft, 2, "ab"},
      {"StrLeft past the end", StrLeft, 9, "abc"},
      {"StrLeft INT_MAX", StrLeft, INT_MAX, "abc"},
      {"StrRight 5", StrRight, 5, "abc"},
      {"StrRight 2", StrRight, 2, "bc"},
      {"StrRight 0", StrRight, 0, ""},
      {"StrRight negative", StrRight, -1, ""},
      {"StrRight INT_MIN", StrRight, INT_MIN, ""},
      {"StrRight INT_MAX", StrRight, INT_MAX, "abc"},
      {"StrMidFrom 4", StrMidFrom, 4, ""},
      {"StrMidFrom 3", StrMidFrom, 3, "c"},
      {"StrMidFrom 2", StrMidFrom, 2, "bc"},
      {"StrMidFrom 1", StrMidFrom, 1, "abc"},
      {"StrMidFrom 0", StrMidFrom, 0, "abc"},
      {"StrMidFrom negative", StrMidFrom, -5, "abc"},
      {"StrMidFrom INT_MAX", StrMidFrom, INT_MAX, ""},
  };
  for (const ExtractCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.op("abc", c.argument), c.expected);
  }
  EXPECT_EQ(StrLeft("", 1), "");
  EXPECT_EQ(StrRight("", 1), "");
  EXPECT_EQ(StrMidFrom("", 1), "");
}

struct DelimiterCase {
  const char* name;
  std::string text;
  std::string mode;
  std::string added;
  std::string removed;
};

TEST_F(TextOps, DelimitersAreWholeCharacters) {
  const DelimiterCase cases[] = {
      {"trail 0x5C at the end is no delimiter", "C:\\表", "B", "C:\\表\\", "C:\\表"},
      {"real delimiter after trail-0x5C character", "C:\\表\\", "B", "C:\\表\\", "C:\\表"},
      {"one-character text ending in 0x5C", "ソ", "B", "ソ\\", "ソ"},
      {"empty text at the top", "", "T", "\\", ""},
      {"empty text at the bottom", "", "B", "\\", ""},
      {"empty text, unknown mode", "", "X", "", ""},
      {"network path loses one backslash", "\\\\SERVER\\SHARE", "T", "\\\\SERVER\\SHARE", "\\SERVER\\SHARE"},
      {"double delimiter at the bottom", "C:\\\\", "B", "C:\\\\", "C:\\"},
      {"only the mode's first byte counts", "A\\B", "Top", "\\A\\B", "A\\B"},
      {"mode compared byte for byte", "A\\", "b", "A\\", "A\\"},
      {"bottom of a plain name", "DIR", "Bottom", "DIR\\", "DIR"},
      {"single backslash", "\\", "B", "\\", ""},
  };
  for (const DelimiterCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AddPathDelimiter(c.text, c.mode), c.added);
    EXPECT_EQ(RemovePathDelimiter(c.text, c.mode), c.removed);
  }
}

TEST_F(TextOps, MapStringUsesTheSystemMappings) {
  EXPECT_EQ(MapString("(app)\\ソ", LCMAP_UPPERCASE), "(APP)\\ソ");
  EXPECT_EQ(MapString("a1", LCMAP_FULLWIDTH), "ａ１");
  EXPECT_EQ(MapString("", LCMAP_UPPERCASE), "");
}

bool HasHalfWidthLetterOrDigit(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(b)) {
      ++i;  // the trail byte may look like a letter
      continue;
    }
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9')) return true;
  }
  return false;
}

TEST_F(TextOps, SystemErrorTextIsFullWidthWithLineEnd) {
  EXPECT_EQ(SystemErrorText(0), "");
  for (std::int32_t code : {2, 3, 5, 32, 112, 145, 0x7ABCDEF0}) {
    SCOPED_TRACE(code);
    const std::string text = SystemErrorText(code);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::string body = text.substr(0, text.size() - 2);
    EXPECT_FALSE(HasHalfWidthLetterOrDigit(body)) << body;
    // Trailing blanks, line ends and "." are gone before the mapping.
    for (const std::string& tail : {std::string(" "), std::string("."), std::string("\r"), std::string("\n"),
                                    std::string("．"), std::string("　")}) {
      EXPECT_FALSE(body.size() >= tail.size() && body.compare(body.size() - tail.size(), tail.size(), tail) == 0)
          << "ends with a mapped blank or dot: " << body;
    }
  }
}

}  // namespace
}  // namespace setup

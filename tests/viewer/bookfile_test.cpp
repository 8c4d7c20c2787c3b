// The book data file: exact bytes written, positions read, damaged files refused.
#include <gtest/gtest.h>

#include "viewer/bookfile.h"

namespace viewer {
namespace {

BookRecord SampleBook() {
  BookRecord b;
  b.booktitle = "風の本";
  b.allpage = 120;
  b.bookcover = "D:\\scan\\表紙001.jpg";
  b.markpage[0] = 12;
  b.marktitle[0] = "第一章";
  b.markpage[9] = 80;
  b.marktitle[9] = "おわり";
  return b;
}

TEST(BookFile, WritesTheTwentyThreeLinesExactly) {
  const std::string expected =
      "booktitle..=風の本\r\n"
      "allpage....= 120 \r\n"
      "bookcover..=D:\\scan\\表紙001.jpg\r\n"
      "markpage-1.= 12 \r\nmarktitle1.=第一章\r\n"
      "markpage-2.= 0 \r\nmarktitle2.=\r\n"
      "markpage-3.= 0 \r\nmarktitle3.=\r\n"
      "markpage-4.= 0 \r\nmarktitle4.=\r\n"
      "markpage-5.= 0 \r\nmarktitle5.=\r\n"
      "markpage-6.= 0 \r\nmarktitle6.=\r\n"
      "markpage-7.= 0 \r\nmarktitle7.=\r\n"
      "markpage-8.= 0 \r\nmarktitle8.=\r\n"
      "markpage-9.= 0 \r\nmarktitle9.=\r\n"
      "markpage-10= 80 \r\nmarktitle10=おわり\r\n";
  EXPECT_EQ(FormatBookData(SampleBook()), expected);
}

TEST(BookFile, RoundTripsTextsAndNumbers) {
  const std::int16_t numbers[] = {0, 1, 9, 10, 999, 1000, 32767};
  const char* titles[] = {"", "a=b", "   blanks first", "表ソ能予", "x\t\"y\""};
  for (std::int16_t n : numbers) {
    for (const char* t : titles) {
      BookRecord b = SampleBook();
      b.allpage = n;
      b.booktitle = t;
      b.markpage[4] = n;
      b.marktitle[4] = t;
      BookRecord back;
      ASSERT_TRUE(ParseBookData(FormatBookData(b), back));
      EXPECT_EQ(back, b) << "number " << n << " title [" << t << "]";
    }
  }
}

// Replaces line `index` (0-based) of a written file.
std::string WithLine(const BookRecord& b, std::size_t index, const std::string& line) {
  std::string data = FormatBookData(b);
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) start = data.find("\r\n", start) + 2;
  std::size_t end = data.find("\r\n", start);
  return data.substr(0, start) + line + data.substr(end);
}

TEST(BookFile, ReadsValuesByPosition) {
  struct Case {
    std::size_t line;
    std::string text;
    std::int16_t allpage, mark1;
    std::string title;
  };
  const Case cases[] = {
      {1, "allpage....=120", 20, 12, "風の本"},  // no blank before the digits: the first is lost
      {1, "allpage....= 12.5 ", 12, 12, "風の本"},
      {1, "allpage....= 13.5 ", 14, 12, "風の本"},
      {1, "ALLPAGES:::= 77 ", 77, 12, "風の本"},  // keys are never examined
      {3, "markpage-1.=-5 ", 120, 5, "風の本"},  // the sign position is skipped
      {3, "markpage-1.= abc", 120, 0, "風の本"},
      {0, "booktitle..", 120, 12, ""},  // a line shorter than its key gives an empty text
      {0, "booktitle..==x=", 120, 12, "=x="},
  };
  for (const auto& c : cases) {
    BookRecord back;
    ASSERT_TRUE(ParseBookData(WithLine(SampleBook(), c.line, c.text), back)) << c.text;
    EXPECT_EQ(back.allpage, c.allpage) << c.text;
    EXPECT_EQ(back.markpage[0], c.mark1) << c.text;
    EXPECT_EQ(back.booktitle, c.title) << c.text;
  }
}

TEST(BookFile, NegativeBookmarkIsWrittenWithSignAndReadBackWithout) {
  BookRecord b = SampleBook();
  b.markpage[0] = -5;
  const std::string data = FormatBookData(b);
  EXPECT_NE(data.find("\r\nmarkpage-1.=-5 \r\n"), std::string::npos);
  BookRecord back;
  ASSERT_TRUE(ParseBookData(data, back));
  EXPECT_EQ(back.markpage[0], 5);
}

TEST(BookFile, DamagedFilesAreRefusedAndLeaveTheRecordAlone) {
  const std::string full = FormatBookData(SampleBook());
  const std::string cases[] = {
      "",
      full.substr(0, full.rfind("marktitle10")),  // 22 lines
  };
  for (const auto& data : cases) {
    BookRecord kept;
    kept.booktitle = "kept";
    kept.allpage = 3;
    EXPECT_FALSE(ParseBookData(data, kept));
    EXPECT_EQ(kept.booktitle, "kept");
    EXPECT_EQ(kept.allpage, 3);
  }
}

TEST(BookFile, NumbersBeyondSixteenBitsArePinnedSoTheBookStaysReadable) {
  BookRecord b = SampleBook();
  b.markpage[2] = -32768;  // typed into the bookmark dialog; written with its sign
  BookRecord back;
  ASSERT_TRUE(ParseBookData(FormatBookData(b), back));
  EXPECT_EQ(back.markpage[2], 32767);
  ASSERT_TRUE(ParseBookData(WithLine(SampleBook(), 1, "allpage....= 40000 "), back));
  EXPECT_EQ(back.allpage, 32767);
  ASSERT_TRUE(ParseBookData(WithLine(SampleBook(), 21, "markpage-10= 99999999999999999999999 "), back));
  EXPECT_EQ(back.markpage[9], 32767);
}

TEST(BookFile, AcceptsOtherLineEndingsAndAMissingLastEnding) {
  std::string data = FormatBookData(SampleBook());
  data.pop_back();
  data.pop_back();  // no CR LF after line 23
  BookRecord back;
  ASSERT_TRUE(ParseBookData(data, back));
  EXPECT_EQ(back.marktitle[9], "おわり");

  std::string lf;
  for (char c : FormatBookData(SampleBook()))
    if (c != '\r') lf += c;
  ASSERT_TRUE(ParseBookData(lf, back));
  EXPECT_EQ(back, SampleBook());
}

}  // namespace
}  // namespace viewer

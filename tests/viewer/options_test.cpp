// The options profile: first-run bytes, geometry only with checksize 1, damaged profiles.
#include <gtest/gtest.h>

#include "viewer/options.h"

namespace viewer {
namespace {

TEST(OptionsFile, FirstRunBytes) {
  EXPECT_EQ(FormatOptions(kDefaultOptions, kFirstRunGeometry),
            "checksize..= 0 \r\n"
            "startsizeh.= 6300 \r\n"
            "startsizew.= 6300 \r\n"
            "startposit.= 0 \r\n"
            "startposil.= 2248 \r\n"
            "gotabpage..= 5 \r\n"
            "backtabpage= 5 \r\n"
            "autoview...= 3 \r\n");
}

TEST(OptionsFile, GeometryAppliedOnlyWithChecksizeOneAndReadWithoutSign) {
  struct Case {
    std::int16_t checksize;
    WindowGeometry written;
    bool applied;
    WindowGeometry read;
  };
  const Case cases[] = {
      {1, {7000, 8000, 300, -60}, true, {7000, 8000, 300, 60}},
      {1, {7000.5f, 8000, 0, 15}, true, {7000.5f, 8000, 0, 15}},
      {0, {7000, 8000, 300, 60}, false, {}},
      {2, {7000, 8000, 300, 60}, false, {}},
  };
  for (const auto& c : cases) {
    ViewerOptions o{c.checksize, 4, 6, 8};
    const std::string data = FormatOptions(o, c.written);
    OptionsFile f = ParseOptions(data);
    EXPECT_EQ(f.applyGeometry, c.applied) << data;
    if (c.applied) {
      EXPECT_EQ(f.geometry, c.read) << data;
    }
    EXPECT_EQ(f.options.checksize, c.checksize);
    EXPECT_EQ(f.options.gotabpage, 4);
    EXPECT_EQ(f.options.backtabpage, 6);
    EXPECT_EQ(f.options.autoview, 8);
  }
  EXPECT_NE(FormatOptions({1, 5, 5, 3}, {1, 1, 1, -60}).find("startposil.=-60 \r\n"), std::string::npos);
}

TEST(OptionsFile, ShortOrDamagedProfilesKeepDefaults) {
  struct Case {
    std::string data;
    ViewerOptions expected;
    bool applied;
  };
  const Case cases[] = {
      {"", kDefaultOptions, false},
      {"checksize..= 1 \r\nstartsizeh.= 7000 \r\n", {1, 5, 5, 3}, false},
      {"checksize..= 0 \r\na\r\nb\r\nc\r\nd\r\ngotabpage..= 99999 \r\nbacktabpage= 2 \r\n", {0, 5, 2, 3}, false},
      {"checksize..= 1 \r\nstartsizeh.= 1e99\r\nstartsizew.= 1 \r\nstartposit.= 1 \r\nstartposil.= 1 \r\n"
       "gotabpage..= 7 \r\nbacktabpage= 7 \r\nautoview...= 7 \r\n",
       {1, 7, 7, 7}, true},
      {"checksize..= 1 \r\nstartsizeh.= 99999999 \r\nstartsizew.= 1 \r\nstartposit.= 1 \r\nstartposil.= 1 \r\n",
       {1, 5, 5, 3}, false},
  };
  for (const auto& c : cases) {
    OptionsFile f = ParseOptions(c.data);
    EXPECT_EQ(f.options.checksize, c.expected.checksize) << c.data;
    EXPECT_EQ(f.options.gotabpage, c.expected.gotabpage) << c.data;
    EXPECT_EQ(f.options.backtabpage, c.expected.backtabpage) << c.data;
    EXPECT_EQ(f.options.autoview, c.expected.autoview) << c.data;
    EXPECT_EQ(f.applyGeometry, c.applied) << c.data;
  }
}

}  // namespace
}  // namespace viewer

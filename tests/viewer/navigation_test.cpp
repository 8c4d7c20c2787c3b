// Page commands and auto view ticks on the shared state.
#include <gtest/gtest.h>

#include "viewer/navigation.h"

namespace viewer {
namespace {

enum class Cmd { Next, Prev, GoTab, BackTab, First, Last };

bool RunCommand(Cmd c, Module1& m) {
  switch (c) {
    case Cmd::Next: return NextPage(m);
    case Cmd::Prev: return PreviousPage(m);
    case Cmd::GoTab: return ForwardTab(m);
    case Cmd::BackTab: return BackTab(m);
    case Cmd::First: return FirstPage(m);
    case Cmd::Last: return LastPage(m);
  }
  return false;
}

TEST(Navigation, CommandsAndTheirConditions) {
  struct Case {
    Cmd cmd;
    std::int16_t allpage, page, gotab, backtab;
    bool acts;
    std::int16_t after;
  };
  const Case cases[] = {
      {Cmd::Next, 10, 10, 5, 5, false, 10},
      {Cmd::Next, 10, 9, 5, 5, true, 10},
      {Cmd::GoTab, 10, 10, 5, 5, false, 10},
      {Cmd::Last, 10, 10, 5, 5, true, 10},
      {Cmd::GoTab, 10, 4, 5, 5, true, 9},
      {Cmd::GoTab, 10, 5, 5, 5, false, 5},  // never lands on the last page
      {Cmd::BackTab, 10, 6, 5, 5, true, 1},
      {Cmd::BackTab, 10, 5, 5, 5, false, 5},
      {Cmd::Prev, 10, 1, 5, 5, false, 1},
      {Cmd::Prev, 10, 15, 5, 5, true, 14},  // beyond allpage after a bookmark jump
      {Cmd::Next, 10, 15, 5, 5, false, 15},
      {Cmd::First, 10, 7, 5, 5, true, 1},
      {Cmd::GoTab, 10, 3, 0, 5, true, 3},  // a tab of 0 redisplays the same page
      // No book: allpage 0.
      {Cmd::Next, 0, 0, 5, 5, false, 0},
      {Cmd::Prev, 0, 0, 5, 5, false, 0},
      {Cmd::GoTab, 0, 0, 5, 5, false, 0},
      {Cmd::BackTab, 0, 0, 5, 5, false, 0},
      {Cmd::First, 0, 0, 5, 5, true, 1},
      {Cmd::Last, 0, 1, 5, 5, true, 0},
      // Steps the options dialog let through: nothing overflows, nothing goes below page 1.
      {Cmd::GoTab, 999, 998, 32767, 5, false, 998},
      {Cmd::GoTab, 999, 3, -10, 5, false, 3},
      {Cmd::GoTab, 999, 30, -10, 5, true, 20},
      {Cmd::BackTab, 999, 32767, 5, -32768, false, 32767},
      {Cmd::BackTab, 999, 3, 5, -4, true, 7},
      {Cmd::BackTab, 999, 3, 5, -32768, false, 3},
  };
  for (const auto& c : cases) {
    Module1 m;
    m.book.allpage = c.allpage;
    m.curpage = c.page;
    m.options.gotabpage = c.gotab;
    m.options.backtabpage = c.backtab;
    EXPECT_EQ(RunCommand(c.cmd, m), c.acts) << static_cast<int>(c.cmd) << " from " << c.page;
    EXPECT_EQ(m.curpage, c.after) << static_cast<int>(c.cmd) << " from " << c.page;
  }
}

TEST(AutoView, TurnsEveryTenthTickAndWrapsToTheCover) {
  Module1 m;
  m.book.allpage = 3;
  m.curpage = 2;
  std::vector<std::int16_t> turns;
  for (int tick = 1; tick <= 30; ++tick)
    if (AutoViewTick(m)) turns.push_back(m.curpage);
  EXPECT_EQ(turns, (std::vector<std::int16_t>{3, 1, 2}));
  EXPECT_EQ(m.autoticks, 0);

  Module1 none;  // no book: every turn goes to page 1
  for (int tick = 0; tick < 10; ++tick) AutoViewTick(none);
  EXPECT_EQ(none.curpage, 1);
}

TEST(AutoView, IntervalIsATenthOfTheSecondsAndOffForZeroOrLess) {
  EXPECT_EQ(AutoViewInterval(3), 300);
  EXPECT_EQ(AutoViewInterval(40), 4000);
  EXPECT_EQ(AutoViewInterval(32767), 3276700);  // no 16-bit overflow
  EXPECT_EQ(AutoViewInterval(0), 0);
  EXPECT_EQ(AutoViewInterval(-5), 0);
}

}  // namespace
}  // namespace viewer

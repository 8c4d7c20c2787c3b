// The window driver's argument grammar: what the test scripts may write and what must be refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/windriver/args.h"

namespace {

using windriver::parseArguments;

struct ParseCase {
  const char* name;
  std::vector<std::string> args;
  bool ok;
  std::string verbOrError;  // the verb when ok, otherwise a part of the error message
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, AcceptsOrRefuses) {
  const ParseCase& c = GetParam();
  const auto r = parseArguments(c.args);
  ASSERT_EQ(r.ok, c.ok) << r.error;
  if (c.ok) {
    EXPECT_EQ(r.command.verb, c.verbOrError);
  } else {
    EXPECT_NE(r.error.find(c.verbOrError), std::string::npos) << r.error;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseTest,
    ::testing::Values(
        ParseCase{"wait_window", {"wait-window", "--class", "TfrmMain", "--title-contains", "X", "--timeout", "30"}, true, "wait-window"},
        ParseCase{"inline_value", {"click", "--window=セットアップ", "--text=終了(&E)"}, true, "click"},
        ParseCase{"answer_box", {"answer-box", "--title", "終了確認", "--button", "6"}, true, "answer-box"},
        ParseCase{"menu", {"menu", "--window", "PaginaV1", "--path", "ファイル(&F)/開く(&O)"}, true, "menu"},
        ParseCase{"flag", {"list-windows", "--hidden"}, true, "list-windows"},
        ParseCase{"no_command", {}, false, "no command"},
        ParseCase{"unknown_verb", {"press"}, false, "unknown command: press"},
        ParseCase{"unknown_option", {"click", "--window", "A", "--text", "B", "--force"}, false, "--force"},
        ParseCase{"missing_value", {"wait-window", "--class"}, false, "--class needs a value"},
        ParseCase{"value_on_flag", {"list-windows", "--hidden=1"}, false, "takes no value"},
        ParseCase{"bare_argument", {"get-text", "TfrmMain"}, false, "unexpected argument"},
        ParseCase{"negative_timeout", {"wait-window", "--class", "A", "--timeout", "-1"}, false, "non-negative number"},
        ParseCase{"timeout_too_big", {"wait-window", "--class", "A", "--timeout", "99999999999"}, false, "non-negative number"},
        ParseCase{"text_as_id", {"get-text", "--window", "A", "--control-id", "ok"}, false, "non-negative number"},
        ParseCase{"twice", {"click", "--window", "A", "--text", "B", "--text", "C"}, false, "given twice"},
        ParseCase{"wait_without_selector", {"wait-window", "--timeout", "3"}, false, "wait-window needs"},
        ParseCase{"click_without_control", {"click", "--window", "A"}, false, "click needs"},
        ParseCase{"answer_without_button", {"answer-box", "--title", "T"}, false, "--button"},
        ParseCase{"set_text_without_value", {"set-text", "--window", "A", "--class", "Edit"}, false, "--value"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseValues, KeepsJapaneseValuesAndEmptyValuesExactly) {
  const auto r = parseArguments({"set-text", "--window", "本の設定", "--control-id", "3", "--value", ""});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.command.get("window"), "本の設定");
  EXPECT_EQ(r.command.get("control-id"), "3");
  EXPECT_TRUE(r.command.has("value"));
  EXPECT_EQ(r.command.get("value"), "");
  EXPECT_EQ(r.command.get("index", "0"), "0");
}

TEST(MenuPath, SplitsAtSlashesWithDoubledSlashAsText) {
  struct Case {
    std::string path;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"ファイル(&F)/開く(&O)", {"ファイル(&F)", "開く(&O)"}},
      {"表示", {"表示"}},
      {"A//B/C", {"A/B", "C"}},
      {"A////B", {"A//B"}},
      {"", {}},
      {"/A", {}},
      {"A/", {}},
      {"A//", {"A/"}},
      {"A///B", {"A/", "B"}},
  };
  for (const auto& c : cases) EXPECT_EQ(windriver::splitMenuPath(c.path), c.items) << c.path;
}

TEST(Captions, MnemonicMarkersAreOptionalWhenMatching) {
  struct Case {
    std::string actual, wanted;
    bool match;
  };
  const Case cases[] = {
      {"終了(&E)", "終了(&E)", true},
      {"終了(&E)", "終了(E)", true},
      {"&Save && Exit", "Save & Exit", true},
      {"&Save && Exit", "Save Exit", false},
      {"終了(&E)", "終了", false},
      {"終了(&E)", "終了(&X)", false},
      {"", "", true},
  };
  for (const auto& c : cases) EXPECT_EQ(windriver::captionMatches(c.actual, c.wanted), c.match) << c.actual << " / " << c.wanted;
  EXPECT_EQ(windriver::stripMnemonic("a&&&b&"), "a&b");
  struct Key {
    std::string caption;
    char key;
  };
  const Key keys[] = {{"ファイル(&F)", 'f'}, {"開く(&o)", 'o'}, {"A&&B", 0}, {"A&&&B", 'b'}, {"終了", 0}, {"末尾&", 0}, {"&表示", 0}};
  for (const auto& k : keys) EXPECT_EQ(windriver::mnemonicOf(k.caption), k.key) << k.caption;
  EXPECT_EQ(windriver::menuItemName("開く(&O)\tCtrl+O"), "開く(&O)");
}

}  // namespace

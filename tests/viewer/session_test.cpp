// Whole viewer sessions: start-up, page display, commands and dialogs, on an in-memory disk
// with a scripted main window.
#include <gtest/gtest.h>

#include "tests/viewer/fakes.h"
#include "viewer/bookfile.h"
#include "viewer/number.h"

namespace viewer {
namespace {

using testing::ExecuteCall;
using testing::FixedSystem;
using testing::MemoryFiles;
using testing::RecordingShell;
using testing::ScriptedHost;

const char kProfile[] = "C:\\Program Files\\Pagina\\PaginaV1.ini";
const char kBook[] = "D:\\scan\\book.pgd";

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// The header of a 24-bit bitmap of w × h pixels: all the scripted window reads.
std::string Bitmap(std::int32_t w, std::int32_t h) {
  std::string s = "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(w) + Le32(h) + std::string("\x01\x00\x18\x00", 4);
  return s + std::string(54 - s.size(), '\0');
}

class Session : public ::testing::Test {
 protected:
  MemoryFiles files;
  RecordingShell shell;
  FixedSystem sys;
  ScriptedHost host{files};
  ViewerApp app{files, shell, sys, host};
  Module1& m = app.state();

  Session() { host.app = &app; }

  void WriteProfile(ViewerOptions o, WindowGeometry g) { files.put(kProfile, FormatOptions(o, g)); }

  // A book of `pages` pages D:\scan\p001.bmp ..., each page 100 pixels wider than the last.
  BookRecord MakeBook(int pages, const std::string& title = "風の本") {
    BookRecord b;
    b.booktitle = title;
    b.allpage = static_cast<std::int16_t>(pages);
    b.bookcover = "D:\\scan\\p001.bmp";
    for (int p = 1; p <= pages; ++p) {
      char name[32];
      std::snprintf(name, sizeof name, "D:\\scan\\p%03d.bmp", p);
      files.put(name, Bitmap(100 + p, 80));
    }
    files.put(kBook, FormatBookData(b));
    return b;
  }

  void StartWithBook(int pages) {
    WriteProfile(kDefaultOptions, {});
    MakeBook(pages);
    app.load(std::string("\"") + kBook + "\"");
  }
};

TEST_F(Session, FirstStartShowsVersionDialogAndWritesTheProfile) {
  app.load("");
  ASSERT_FALSE(host.events.empty());
  EXPECT_EQ(host.events.front(), "Frmver:Pagina Viewer のﾊﾞｰｼﾞｮﾝ情報|Ver 1.1.3");
  EXPECT_EQ(sys.sounds, std::vector<std::string>{"c:\\windows\\media\\the microsoft sound.wav"});
  EXPECT_EQ(files.files[kProfile],
            "checksize..= 0 \r\nstartsizeh.= 6300 \r\nstartsizew.= 6300 \r\nstartposit.= 0 \r\n"
            "startposil.= 2248 \r\ngotabpage..= 5 \r\nbacktabpage= 5 \r\nautoview...= 3 \r\n");
  EXPECT_EQ(host.geometry, (WindowGeometry{6300, 6300, 0, 2248}));
  EXPECT_EQ(m.curpage, 0);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Session, SavedGeometryAppliedOnlyWithChecksizeOne) {
  const WindowGeometry start = host.geometry;
  WriteProfile({0, 5, 5, 3}, {7000, 8000, 300, 90});
  app.load("");
  EXPECT_EQ(host.geometry, start);
  EXPECT_EQ(host.events, std::vector<std::string>{});  // no version dialog, no move

  host.geometry = {7005, 8010, 15, -60};  // the user moved the window off the left edge
  app.run(Command::Exit);
  EXPECT_TRUE(host.closed);
  EXPECT_NE(files.files[kProfile].find("startposil.=-60 \r\n"), std::string::npos);

  m.options.checksize = 1;
  app.queryUnload();
  ScriptedHost host2{files};
  ViewerApp again{files, shell, sys, host2};
  host2.app = &again;
  again.load("");
  EXPECT_EQ(host2.geometry, (WindowGeometry{7005, 8010, 15, 60}));  // the sign is lost on reading
}

TEST_F(Session, ClosingStillWorksWhenTheProfileCannotBeWritten) {
  WriteProfile(kDefaultOptions, {});
  files.readOnly.insert(kProfile);
  app.load("");
  app.run(Command::Exit);
  EXPECT_TRUE(host.closed);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Session, CommandLineOpensAQuotedBookAndIgnoresEverythingElse) {
  WriteProfile(kDefaultOptions, {});
  BookRecord b = MakeBook(3);
  files.put("D:\\scan\\short.pgd", "booktitle..=x\r\nallpage....= 3 \r\n");
  struct Case {
    std::string commandLine;
    bool opens;
  };
  const Case cases[] = {
      {std::string("\"") + kBook + "\"", true},
      {kBook, false},  // first and last characters cut: no such file
      {"", false},
      {"\"", false},
      {"\"\"", false},
      {"\"D:\\scan\\short.pgd\"", false},  // fewer than 23 lines
      {"\"D:\\scan\\none.pgd\"", false},
  };
  for (const auto& c : cases) {
    MemoryFiles localFiles = files;
    ScriptedHost h{localFiles};
    ViewerApp a{localFiles, shell, sys, h};
    h.app = &a;
    a.load(c.commandLine);
    SCOPED_TRACE(c.commandLine);
    EXPECT_TRUE(h.boxes.empty());
    if (c.opens) {
      EXPECT_EQ(h.panel1, b.booktitle);
      EXPECT_EQ(h.panel2, "1page");
      EXPECT_EQ(h.picture, "D:\\scan\\p001.bmp");
      EXPECT_EQ(a.state().curpage, 1);
      EXPECT_EQ(a.state().bookdatafile, kBook);
    } else {
      EXPECT_EQ(h.panel1, "");
      EXPECT_EQ(h.picture, "");
      EXPECT_EQ(a.state().curpage, 0);
      EXPECT_EQ(a.state().bookdatafile, "");
    }
  }
}

TEST_F(Session, MissingPageShowsMessageAndChangesNothingElse) {
  StartWithBook(3);
  files.files.erase("D:\\scan\\p002.bmp");
  const int layouts = host.layouts;
  app.run(ToolbarCommand(6));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "ファイルが存在しません。");
  EXPECT_EQ(host.boxes[0].caption, "projectエラー");
  EXPECT_EQ(host.boxes[0].flags, 0x10u);
  EXPECT_EQ(host.picture, "D:\\scan\\p001.bmp");
  EXPECT_EQ(host.panel2, "1page");
  EXPECT_EQ(host.layouts, layouts);
  EXPECT_EQ(m.curpage, 2);
  app.run(ToolbarCommand(6));  // the next command starts from the new page
  EXPECT_EQ(host.picture, "D:\\scan\\p003.bmp");
  EXPECT_EQ(host.panel2, "3page");
}

TEST_F(Session, PageThatIsNotAPictureShowsAnEmptyFrame) {
  StartWithBook(3);
  files.put("D:\\scan\\p002.bmp", "this is text, not a picture");
  app.run(Command::GoPage);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(host.picture, "");
  EXPECT_EQ(host.panel2, "2page");
  EXPECT_EQ(host.layout.barCase, BarCase::None);
}

TEST_F(Session, HostilePagesNeverReachTheDecoderAndResizesReadNothingAgain) {
  StartWithBook(4);
  files.put("D:\\scan\\p002.bmp", Bitmap(100000, 100000));
  files.put("D:\\scan\\p003.bmp", "");
  app.run(Command::GoPage);
  app.run(Command::GoPage);
  EXPECT_EQ(host.panel2, "3page");
  for (const auto& path : host.loaded) {
    EXPECT_NE(path, "D:\\scan\\p002.bmp");
    EXPECT_NE(path, "D:\\scan\\p003.bmp");
  }
  EXPECT_TRUE(host.boxes.empty());
  app.run(Command::GoPage);
  const int reads = files.reads["D:\\scan\\p004.bmp"];
  app.resize();
  app.resize();
  EXPECT_EQ(files.reads["D:\\scan\\p004.bmp"], reads + 2);  // the window's own loads only
  files.put("D:\\scan\\p004.bmp", Bitmap(10, 10));  // rewritten: checked again
  app.resize();
  EXPECT_EQ(host.pictureW, 150);
}

TEST_F(Session, ToolbarButtonsRunTheMenuCommands) {
  StartWithBook(10);
  struct Step {
    int button;
    std::int16_t page;
  };
  // From page 1: 10 (last), 10 (next does nothing), 9, 4, 9 (tab), 4 (back tab), 1 (first)...
  const Step steps[] = {{10, 10}, {6, 10}, {8, 10}, {5, 9}, {7, 4}, {8, 9}, {7, 4},
                        {9, 1},   {4, 1},  {11, 1}, {14, 1}, {17, 1}, {5, 1}};
  for (const auto& s : steps) {
    app.run(ToolbarCommand(s.button));
    EXPECT_EQ(m.curpage, s.page) << "button " << s.button;
    EXPECT_EQ(host.panel2, DecimalText(s.page) + "page") << "button " << s.button;
  }
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(ToolbarCommand(1), Command::New);
  EXPECT_EQ(ToolbarCommand(2), Command::Open);
  EXPECT_EQ(ToolbarCommand(3), Command::Print);
  EXPECT_EQ(ToolbarCommand(12), Command::Auto);
  EXPECT_EQ(ToolbarCommand(13), Command::AutoStop);
  EXPECT_EQ(ToolbarCommand(15), Command::Bookmark);
  EXPECT_EQ(ToolbarCommand(16), Command::Markset);
  EXPECT_EQ(ToolbarCommand(18), Command::Help);
  EXPECT_EQ(ToolbarCommand(0), Command::None);
  EXPECT_EQ(ToolbarCommand(19), Command::None);
}

TEST_F(Session, LayoutFollowsThePictureSize) {
  StartWithBook(3);
  host.innerW = 1600;  // p001 is 101 pixels = 1515 twips wide: between Wa - Wv and Wa
  app.resize();
  EXPECT_EQ(host.layout.barCase, BarCase::None);
  files.put("D:\\scan\\p002.bmp", Bitmap(400, 400));
  app.run(Command::GoPage);
  EXPECT_EQ(host.layout.barCase, BarCase::Both);
  EXPECT_EQ(host.layout.hbar.max, 6000 - (1600 - 252));
}

TEST_F(Session, AutoViewTurnsPagesOnTheClock) {
  StartWithBook(3);
  app.run(Command::GoPage);  // page 2
  app.run(Command::Auto);
  ASSERT_EQ(host.timer, 300);
  std::vector<std::pair<int, std::int16_t>> turns;
  for (int ms = 300; ms <= 9000; ms += host.timer) {
    const std::int16_t before = m.curpage;
    app.timerTick();
    if (m.curpage != before) turns.push_back({ms, m.curpage});
  }
  EXPECT_EQ(turns, (std::vector<std::pair<int, std::int16_t>>{{3000, 3}, {6000, 1}, {9000, 2}}));

  for (int i = 0; i < 7; ++i) app.timerTick();
  app.run(Command::AutoStop);
  EXPECT_EQ(host.timer, 0);
  app.run(Command::Auto);
  app.timerTick();
  app.timerTick();
  EXPECT_EQ(m.curpage, 2);
  app.timerTick();  // the third tick after the restart turns the page
  EXPECT_EQ(m.curpage, 3);

  const std::pair<std::int16_t, std::int32_t> intervals[] = {{0, 0}, {-4, 0}, {40, 4000}, {32767, 3276700}};
  for (auto [seconds, interval] : intervals) {
    m.options.autoview = seconds;
    app.run(Command::Auto);
    EXPECT_EQ(host.timer, interval) << seconds;
  }
}

TEST_F(Session, OpenCommandAndItsSilentFailures) {
  StartWithBook(3);
  app.run(Command::EndPage);
  host.fileAnswers = {""};  // cancelled: page 1 of the open book
  app.run(Command::Open);
  EXPECT_EQ(host.fileRequests.back().filter, "bookdataファイル(*.pgd)|*.pgd");
  EXPECT_EQ(m.curpage, 1);
  EXPECT_EQ(host.panel2, "1page");

  files.put("D:\\other\\short.pgd", "booktitle..=短い\r\n");
  host.fileAnswers = {"D:\\other\\short.pgd"};
  app.run(Command::Open);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(m.book.booktitle, "風の本");
  EXPECT_EQ(m.bookdatafile, kBook);

  BookRecord other;
  other.booktitle = "別の本";
  other.allpage = 2;
  other.bookcover = "D:\\scan\\p001.bmp";
  files.put("D:\\other\\b.pgd", FormatBookData(other));
  host.fileAnswers = {"D:\\other\\b.pgd"};
  app.run(Command::Open);
  EXPECT_EQ(host.panel1, "別の本");
  EXPECT_EQ(m.bookdatafile, "D:\\other\\b.pgd");
}

TEST_F(Session, BookSettingsValidation) {
  StartWithBook(3);
  struct Case {
    std::string allpage;
    const char* message;  // nullptr: saved
  };
  const Case cases[] = {
      {"1", "ページ数の範囲が不正です。"},  {"1000", "ページ数の範囲が不正です。"},
      {"abc", "ページ数の範囲が不正です。"}, {"", "ページ数の範囲が不正です。"},
      {"99999", "ページ数の範囲が不正です。"}, {" 12ab", nullptr},
      {"2", nullptr},                          {"999", nullptr},
  };
  for (const auto& c : cases) {
    host.boxes.clear();
    files.files.erase("D:\\new\\n.pgd");
    bool closedAfterOk = false;
    host.onBookData = [&](BookDataDialog& d) {
      d.txtbooktitle = "新しい本";
      d.txtallpage = c.allpage;
      d.txtbookcover = "D:\\scan\\p001.bmp";
      d.txtbookdata = "D:\\new\\n.pgd";
      d.cmdok();
      closedAfterOk = d.closed();
      if (!d.closed()) d.cmdcancel();
    };
    app.run(Command::New);
    SCOPED_TRACE(c.allpage);
    if (c.message) {
      ASSERT_EQ(host.boxes.size(), 1u);
      EXPECT_EQ(host.boxes[0].text, c.message);
      EXPECT_EQ(host.boxes[0].caption, "新規作成エラー");
      EXPECT_EQ(host.boxes[0].flags, 0x10u);
      EXPECT_FALSE(closedAfterOk);
      EXPECT_EQ(files.files.count("D:\\new\\n.pgd"), 0u);
    } else {
      EXPECT_TRUE(host.boxes.empty());
      EXPECT_TRUE(closedAfterOk);
      EXPECT_EQ(m.book.allpage, *ReadInt16(c.allpage));
      EXPECT_EQ(m.bookdatafile, "D:\\new\\n.pgd");
      EXPECT_EQ(files.files["D:\\new\\n.pgd"], FormatBookData(m.book));
      // Back to the old book for the next case.
      m.bookdatafile = kBook;
      ASSERT_TRUE(app.readBookData());
    }
  }

  const std::pair<std::string, std::string> missing[] = {
      {"", "bookの表紙ファイルを選択していません。"}, {"D:\\c001.jpg", "bookdataを保存するファイル名がありません。"}};
  for (const auto& [cover, message] : missing) {
    host.boxes.clear();
    host.onBookData = [&, cover = cover](BookDataDialog& d) {
      d.txtallpage = "5";
      d.txtbookcover = cover;
      d.cmdok();
      EXPECT_FALSE(d.closed());
      d.cmdcancel();
    };
    app.run(Command::New);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, message);
  }
}

TEST_F(Session, EditWithoutChangesAsksBeforeOverwriting) {
  StartWithBook(3);
  const std::string before = files.files[kBook];
  for (int answer : {2, 1}) {  // Cancel, then OK
    host.boxes.clear();
    host.answers = {answer};
    host.onBookData = [&](BookDataDialog& d) {
      EXPECT_EQ(d.txtbooktitle, "風の本");
      EXPECT_EQ(d.txtallpage, "3");
      EXPECT_EQ(d.preview, "D:\\scan\\p001.bmp");
      const auto writes = files.times[kBook];
      d.cmdok();
      EXPECT_EQ(d.closed(), answer == 1);
      EXPECT_EQ(files.times[kBook] != writes, answer == 1);
      if (!d.closed()) d.cmdcancel();
    };
    app.run(Command::Bookset);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "同名のbookdataファイルが存在します。上書きしますか？");
    EXPECT_EQ(host.boxes[0].caption, "保存注意");
    EXPECT_EQ(host.boxes[0].flags, 0x21u);
    EXPECT_EQ(files.files[kBook], before);
  }
}

TEST_F(Session, NewThenCancelReturnsToTheCoverOfTheOpenBook) {
  StartWithBook(5);
  app.run(Command::EndPage);
  host.onBookData = [](BookDataDialog& d) {
    EXPECT_EQ(d.txtbooktitle, "");
    EXPECT_EQ(d.txtallpage, "");
    d.cmdcancel();
  };
  app.run(Command::New);
  EXPECT_EQ(m.curpage, 1);
  EXPECT_EQ(host.panel2, "1page");
  EXPECT_EQ(host.panel1, "風の本");
  EXPECT_EQ(host.picture, "D:\\scan\\p001.bmp");
}

TEST_F(Session, NewBookCarriesTheOpenBooksBookmarks) {
  StartWithBook(5);
  m.book.markpage[1] = 4;
  m.book.marktitle[1] = "四";
  host.onBookData = [](BookDataDialog& d) {
    d.txtallpage = "20";
    d.cmdref1();  // cancelled: the open book's cover
    d.txtbookdata = "D:\\new\\n.pgd";
    d.cmdok();
  };
  app.run(Command::New);
  EXPECT_EQ(host.fileRequests.at(0).filter, "画像ファイル(*.jpg,*.bmp)|*.jpg;*.bmp");
  BookRecord saved;
  ASSERT_TRUE(ParseBookData(files.files["D:\\new\\n.pgd"], saved));
  EXPECT_EQ(saved.bookcover, "D:\\scan\\p001.bmp");
  EXPECT_EQ(saved.allpage, 20);
  EXPECT_EQ(saved.markpage[1], 4);
  EXPECT_EQ(saved.marktitle[1], "四");
}

TEST_F(Session, BrowseButtonsAndEnterChain) {
  StartWithBook(3);
  host.fileAnswers = {"D:\\c\\k001.jpg", "D:\\c\\k.pgd", "", ""};
  host.onBookData = [&](BookDataDialog& d) {
    d.cmdref1();
    EXPECT_EQ(d.txtbookcover, "D:\\c\\k001.jpg");
    EXPECT_EQ(d.focus(), "Txtbookdata");
    EXPECT_EQ(d.preview, "D:\\scan\\p001.bmp");  // not refreshed by browsing
    d.cmdref2();
    EXPECT_EQ(d.txtbookdata, "D:\\c\\k.pgd");
    EXPECT_EQ(d.focus(), "Cmdok");
    d.txtbookcover = d.txtbookdata = "x";
    d.cmdref1();
    d.cmdref2();
    EXPECT_EQ(d.txtbookcover, "D:\\scan\\p001.bmp");
    EXPECT_EQ(d.txtbookdata, kBook);
    const std::pair<const char*, const char*> chain[] = {{"Txtbooktitle", "Txtallpage"},
                                                         {"Txtallpage", "Txtbookcover"},
                                                         {"Txtbookcover", "Txtbookdata"},
                                                         {"Txtbookdata", "Cmdok"}};
    for (auto [from, to] : chain) {
      EXPECT_TRUE(d.keyPress(from, kEnterKey));
      EXPECT_EQ(d.focus(), to);
    }
    EXPECT_FALSE(d.keyPress("Txtallpage", 'a'));
    d.cmdcancel();
  };
  app.run(Command::Bookset);
  ASSERT_GE(host.fileRequests.size(), 2u);
  EXPECT_TRUE(host.fileRequests[1].save);
  EXPECT_EQ(host.fileRequests[1].fileName, "*.pgd");
  EXPECT_EQ(host.fileRequests[1].filter, "bookdataファイル(*.pgd)|*.pgd");
}

TEST_F(Session, EditingABookWhoseCoverIsGoneShowsThePreviewMessage) {
  StartWithBook(3);
  files.files.erase("D:\\scan\\p001.bmp");
  host.boxes.clear();
  host.onBookData = [](BookDataDialog& d) { d.cmdcancel(); };
  app.run(Command::Bookset);
  ASSERT_GE(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "bookの表紙ファイルが存在しません。");
  EXPECT_EQ(host.boxes[0].caption, "プレビュ　エラー");
  EXPECT_EQ(host.events[host.events.size() - 3], "box:bookの表紙ファイルが存在しません。");  // before the dialog
}

struct InsertCase {
  std::int16_t page;
  std::array<std::int16_t, 10> marks;
  int row;               // the row that gets the page, 0 for none
  bool fullMessage;
};

TEST_F(Session, InsertBookmarkRules) {
  StartWithBook(300);
  const InsertCase cases[] = {
      {37, {12, 80, 0, 0, 0, 0, 0, 0, 0, 0}, 3, false},
      {12, {12, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, false},
      {12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0, true},
      {5, {1, 0, 3, 4, 5, 0, 0, 0, 0, 0}, 2, false},  // bookmarked later: a second bookmark
      {5, {1, -3, 3, 4, 5, 0, 0, 0, 0, 0}, 2, false},
  };
  for (const auto& c : cases) {
    m.curpage = c.page;
    m.book.markpage = c.marks;
    host.boxes.clear();
    std::array<std::string, 10> shown;
    host.onBookmark = [&](BookmarkDialog& d) {
      shown = d.txtmark;
      d.cmdcancel();
    };
    app.run(Command::Bookmark);
    SCOPED_TRACE(c.page);
    for (int i = 0; i < 10; ++i) {
      const std::int32_t expected = (i + 1 == c.row) ? c.page : c.marks[i];
      EXPECT_EQ(shown[i], DecimalText(expected)) << "row " << i + 1;
    }
    EXPECT_EQ(m.book.markpage, c.marks);  // nothing stored without Save
    if (c.fullMessage) {
      ASSERT_EQ(host.boxes.size(), 1u);
      EXPECT_EQ(host.boxes[0].text, "しおりに空きがありません。");
      EXPECT_EQ(host.boxes[0].caption, "しおりエラー");
      EXPECT_EQ(host.boxes[0].flags, 0x40u);
    } else {
      EXPECT_TRUE(host.boxes.empty());
    }
  }
}

TEST_F(Session, BookmarkSaveJumpAndCancel) {
  StartWithBook(300);
  m.book.markpage = {12, 80, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(app.writeBookData(m.book, kBook));
  m.curpage = 37;
  const std::string before = files.files[kBook];
  host.onBookmark = [](BookmarkDialog& d) { d.cmdcancel(); };
  app.run(Command::Bookmark);
  EXPECT_EQ(files.files[kBook], before);

  host.onBookmark = [](BookmarkDialog& d) {
    d.txttitle[2] = "三十七";
    d.txtmark[3] = "abc";
    d.txtmark[4] = "99999";
    d.cmdok();
  };
  app.run(Command::Bookmark);
  EXPECT_NE(files.files[kBook].find("\r\nmarkpage-3.= 37 \r\nmarktitle3.=三十七\r\n"), std::string::npos);
  EXPECT_EQ(m.book.markpage[3], 0);
  EXPECT_EQ(m.book.markpage[4], 32767);

  const std::pair<std::string, std::int16_t> jumps[] = {{"250", 250}, {"0", 250}, {"abc", 250}, {"1", 1}};
  for (const auto& [typed, page] : jumps) {
    host.onBookmark = [typed = typed](BookmarkDialog& d) {
      d.txtmark[6] = typed;
      d.jump(7);
    };
    app.run(Command::Markset);
    EXPECT_EQ(m.curpage, page) << typed;
    EXPECT_EQ(host.panel2, DecimalText(page) + "page");
  }
  EXPECT_EQ(m.book.markpage[6], 0);  // a jump saves nothing

  host.onBookmark = [](BookmarkDialog& d) {
    for (int row = 1; row <= 10; ++row) {
      EXPECT_TRUE(d.keyPress("Txtmark", row, kEnterKey));
      EXPECT_EQ(d.focus(), "Txttitle(" + std::to_string(row) + ")");
      EXPECT_TRUE(d.keyPress("Txttitle", row, kEnterKey));
      EXPECT_EQ(d.focus(), row < 10 ? "Txtmark(" + std::to_string(row + 1) + ")" : "Cmdok");
    }
    d.cmdcancel();
  };
  app.run(Command::Markset);
}

TEST_F(Session, BookmarkBeyondTheLastPage) {
  StartWithBook(10);
  m.book.markpage[0] = 15;
  files.put("D:\\scan\\p015.bmp", Bitmap(10, 10));
  host.onBookmark = [](BookmarkDialog& d) { d.jump(1); };
  app.run(Command::Markset);
  EXPECT_EQ(m.curpage, 15);
  EXPECT_EQ(host.picture, "D:\\scan\\p015.bmp");
  app.run(Command::GoPage);
  EXPECT_EQ(m.curpage, 15);
  app.run(Command::BackPage);
  EXPECT_EQ(m.curpage, 14);
}

TEST_F(Session, SavingBookmarksWithNoBookOrAReadOnlyFileIsReported) {
  WriteProfile(kDefaultOptions, {});
  app.load("");
  for (bool withBook : {false, true}) {
    if (withBook) {
      MakeBook(3);
      files.readOnly.insert(kBook);
      m.bookdatafile = kBook;
      ASSERT_TRUE(app.readBookData());
    }
    host.boxes.clear();
    bool stayedOpen = false;
    host.onBookmark = [&](BookmarkDialog& d) {
      d.txtmark[0] = "2";
      d.cmdok();
      stayedOpen = !d.closed();
      d.cmdcancel();
    };
    app.run(Command::Markset);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "bookdataファイルを保存できませんでした。");
    EXPECT_EQ(m.book.markpage[0], 0);
  }
}

TEST_F(Session, OptionsDialogDefaultsCancelAndSave) {
  WriteProfile({1, 7, 8, 9}, {7000, 7000, 0, 0});
  app.load("");
  host.onOptions = [](OptionsDialog& d) {
    EXPECT_TRUE(d.check1);
    EXPECT_EQ(d.txtgotab, "7");
    EXPECT_EQ(d.txtbacktab, "8");
    EXPECT_EQ(d.txtauto, "9");
    d.cmdallnew();
    d.cmdcancel();
  };
  app.run(Command::Viewset);
  EXPECT_EQ(m.options.checksize, 1);
  EXPECT_EQ(m.options.gotabpage, 7);

  host.onOptions = [](OptionsDialog& d) {
    d.cmdallnew();
    d.cmdok();
  };
  app.run(Command::Viewset);
  EXPECT_EQ(m.options.checksize, 0);
  EXPECT_EQ(m.options.gotabpage, 5);
  EXPECT_EQ(m.options.backtabpage, 5);
  EXPECT_EQ(m.options.autoview, 3);

  host.onOptions = [](OptionsDialog& d) {
    d.txtgotab = "0";
    d.txtbacktab = "-3";
    d.txtauto = "99999";
    d.cmdok();
  };
  app.run(Command::Viewset);
  EXPECT_EQ(m.options.gotabpage, 0);
  EXPECT_EQ(m.options.backtabpage, -3);
  EXPECT_EQ(m.options.autoview, 32767);
}

TEST_F(Session, PrintHeaderAndPicture) {
  WriteProfile(kDefaultOptions, {});
  app.load("");
  app.run(Command::Print);
  ASSERT_EQ(host.printed.size(), 1u);
  EXPECT_EQ(host.printed[0].header, "Pagina  0PAGE  ");
  EXPECT_EQ(host.printed[0].picturePath, "");
  EXPECT_EQ(host.printFlags[0], 524292u);

  BookRecord b;
  b.booktitle = "scan";
  b.allpage = 9;
  b.bookcover = "D:\\scan\\p001.jpg";
  files.put("D:\\scan\\p005.jpg", std::string("\xFF\xD8\xFF\xC0\x00\x0B\x08\x00\x64\x00\xC8\x01\x01", 13));
  files.put(kBook, FormatBookData(b));
  m.bookdatafile = kBook;
  ASSERT_TRUE(app.readBookData());
  m.curpage = 5;
  MakePageFile(m);
  app.run(Command::Print);
  ASSERT_EQ(host.printed.size(), 2u);
  const PrintLayout& p = host.printed[1];
  EXPECT_EQ(p.header, "Pagina  5PAGE  D:\\scan\\p005.jpg");
  EXPECT_EQ(p.pictureWidth, 200 * 15);
  EXPECT_EQ(p.pictureHeight, 100 * 15);
  EXPECT_EQ(p.labelWidth, p.pictureWidth);
  EXPECT_EQ(p.pictureTop, p.labelHeight);
  EXPECT_EQ(p.formHeight, p.labelHeight + p.pictureHeight);
  EXPECT_EQ(p.formWidth, p.pictureWidth);

  host.printerAnswer = false;  // cancelled: silent
  app.run(Command::Print);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Session, HelpHomePageAndResize) {
  WriteProfile(kDefaultOptions, {});
  app.load("");
  app.run(Command::Help);
  app.run(Command::Homepage);
  ASSERT_EQ(shell.executed.size(), 2u);
  EXPECT_EQ(shell.executed[0].file, "C:\\Program Files\\Pagina\\help.htm");
  EXPECT_EQ(shell.executed[0].verb, "");
  EXPECT_EQ(shell.executed[0].directory, "c:\\");
  EXPECT_EQ(shell.executed[1].file, kHomePageAddress);

  host.geometry.width = 3000;
  host.geometry.height = 200;
  app.resize();
  EXPECT_EQ(host.geometry.width, 5028);
  EXPECT_EQ(host.geometry.height, 200);
  EXPECT_EQ(host.panel2, "0page");
}

}  // namespace
}  // namespace viewer

// The viewer's real windows on the headless window layer: captions, menus, toolbar, dialogs,
// the virtual clock and printing, driven as a user would.
#include <gtest/gtest.h>

#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/viewer_headless.h"
#include "tests/viewer/fakes.h"
#include "viewer/forms.h"

namespace viewer {
namespace {

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}
std::string Bitmap(std::int32_t w, std::int32_t h) {
  std::string s = "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(w) + Le32(h) + std::string("\x01\x00\x18\x00", 4);
  return s + std::string(54 - s.size(), '\0');
}

template <typename T>
T& Get(ui::Control& root, const std::string& name) {
  auto* c = dynamic_cast<T*>(FindControl(root, name));
  if (!c) throw std::runtime_error("no control " + name);
  return *c;
}

class Windows : public ::testing::Test {
 protected:
  testing::MemoryFiles files;
  testing::RecordingShell shell;
  testing::FixedSystem sys;
  ui::headless::HeadlessBackend* backend = new ui::headless::HeadlessBackend();
  ui::Application app{std::unique_ptr<ui::Backend>(backend)};
  ui::headless::ViewerScript script;
  std::unique_ptr<Form1> form;
  std::unique_ptr<UiViewerHost> host;
  std::unique_ptr<ViewerApp> viewer;

  Windows() {
    ui::headless::RegisterViewerPeers(*backend, script);
    script.pictureLoader = [this](const std::string& path, ui::Size& size) {
      std::string bytes;
      ImageInfo info;
      if (files.readFile(path, bytes) != 0 || ReadImageInfo(bytes, info) != ImageStatus::Ok) return false;
      size = {info.width, info.height};
      return true;
    };
  }

  void Book(int pages, int w = 300, int h = 200) {
    BookRecord b;
    b.booktitle = "表紙の本";
    b.allpage = static_cast<std::int16_t>(pages);
    b.bookcover = "D:\\scan\\p001.bmp";
    for (int p = 1; p <= pages; ++p) files.put("D:\\scan\\p00" + std::to_string(p) + ".bmp", Bitmap(w, h));
    files.put("D:\\scan\\book.pgd", FormatBookData(b));
  }

  // The program's start: Form1 created, Load run, then the window shown.
  void Start(const std::string& commandLine) {
    form = std::make_unique<Form1>(app, std::vector<std::string>{});
    host = std::make_unique<UiViewerHost>(app, *form);
    viewer = std::make_unique<ViewerApp>(files, shell, sys, *host);
    host->attach(*viewer);
    app.createForm(*form);
    viewer->load(commandLine);
    form->show();
  }
};

TEST_F(Windows, FirstStartShowsTheVersionDialogBeforeTheMainWindow) {
  bool mainVisible = true;
  backend->whenModal("Frmver", [&](ui::Form& f) {
    mainVisible = form->visible();
    EXPECT_EQ(f.caption(), "Pagina Viewer のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(Get<ui::Label>(f, "lblVersion").caption(), "Ver 1.1.3");
    EXPECT_EQ(Get<ui::Label>(f, "lblTitle").caption(), "Pagina View");
    f.pressEscape();  // OK is also the cancel button
  });
  Start("");
  EXPECT_FALSE(mainVisible);
  EXPECT_EQ(backend->transcript().modalShown, std::vector<std::string>{"Frmver"});
  EXPECT_TRUE(backend->transcript().stuckModals.empty());
  EXPECT_TRUE(form->visible());
  EXPECT_EQ(form->caption(), "Pagina Viewer");
  EXPECT_EQ(files.files["C:\\Program Files\\Pagina\\PaginaV1.ini"].substr(0, 17), "checksize..= 0 \r\n");
}

TEST_F(Windows, MenusAndToolbarAsDesigned) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Start("");
  std::vector<std::string> captions;
  for (auto& menu : form->menus) {
    captions.push_back(menu->caption());
    for (ui::Control* item : menu->children()) captions.push_back("  " + item->caption());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "ファイル(&F)", "  新規作成($N)", "  開く(&O)", "  -", "  印刷(&P)", "  -", "  終了(&X)",
                          "設定", "  ＢＯＯＫ設定", "  オプション",
                          "ページ(&V)", "  次のページ", "  前のページ", "  -", "  進むタブ", "  戻るタブ",
                          "  先頭ページ", "  最終ページ", "  -", "  オートビュー", "  ストップ",
                          "しおり(&BM)", "  しおり挿入", "  しおり設定",
                          "ヘルプ(&H)", "  ヘルプ(&M)", "  バージョン(&A)", "  -", "  ホームページ(&W)"}));
  const auto& buttons = form->toolbar1.buttons();
  ASSERT_EQ(buttons.size(), 18u);
  EXPECT_EQ(buttons[5].tooltip, "進む");
  EXPECT_EQ(buttons[14].tooltip, "しおりの挿入");
  EXPECT_EQ(buttons[17].tooltip, "ヘルプ");
  for (int separator : {4, 11, 14, 17}) EXPECT_TRUE(buttons[separator - 1].separator) << separator;
  EXPECT_EQ(buttons[17].image, 14);  // one picture per button, in order
}

TEST_F(Windows, QuotedBookShowsItsCoverAndPagesTurn) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Book(3, 900, 700);
  Start("\"D:\\scan\\book.pgd\"");
  EXPECT_EQ(form->statusBar1.panelText(1), "表紙の本");
  EXPECT_EQ(form->statusBar1.panelText(2), "1page");
  EXPECT_EQ(form->picture2.picturePath(), "D:\\scan\\p001.bmp");
  EXPECT_EQ(form->picture2.width(), 900);
  EXPECT_EQ(form->picture2.height(), 700);
  // A 900 × 700 page in a 6300-twip window needs both bars.
  EXPECT_TRUE(form->hscroll1.visible());
  EXPECT_TRUE(form->vscroll1.visible());
  EXPECT_TRUE(form->picture3.visible());
  form->hscroll1.valueChangedByUser(50);
  EXPECT_EQ(form->picture2.left(), -Px(50));  // bar values are twips

  form->toolbar1.clickButton(6);
  EXPECT_EQ(form->statusBar1.panelText(2), "2page");
  EXPECT_EQ(form->picture2.picturePath(), "D:\\scan\\p002.bmp");
  EXPECT_EQ(form->picture2.left(), 0);  // a new page starts at its top-left corner
  EXPECT_EQ(form->hscroll1.value(), 0);

  form->item("mnuEndpage")->click();
  EXPECT_EQ(form->statusBar1.panelText(2), "3page");
  form->toolbar1.clickButton(4);  // a separator does nothing
  EXPECT_EQ(form->statusBar1.panelText(2), "3page");
}

TEST_F(Windows, AutoViewRunsOnTheVirtualClock) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Book(3);
  Start("\"D:\\scan\\book.pgd\"");
  form->toolbar1.clickButton(6);  // page 2
  form->toolbar1.clickButton(12);
  EXPECT_EQ(form->tmr1.interval(), 300);
  backend->advance(2999);
  EXPECT_EQ(form->statusBar1.panelText(2), "2page");
  backend->advance(1);
  EXPECT_EQ(form->statusBar1.panelText(2), "3page");
  backend->advance(3000);
  EXPECT_EQ(form->statusBar1.panelText(2), "1page");
  backend->advance(3000);
  EXPECT_EQ(form->statusBar1.panelText(2), "2page");
  form->toolbar1.clickButton(13);
  backend->advance(10000);
  EXPECT_EQ(form->statusBar1.panelText(2), "2page");
}

TEST_F(Windows, BookSettingsDialogRangeMessageThenCancel) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Book(3);
  Start("\"D:\\scan\\book.pgd\"");
  backend->whenModal("Frmbookdata", [&](ui::Form& f) {
    EXPECT_EQ(f.caption(), "Book設定");
    EXPECT_EQ(Get<ui::TextBox>(f, "Txtallpage").text(), "3");
    EXPECT_EQ(Get<ui::PictureBox>(f, "Imgpre").picturePath(), "D:\\scan\\p001.bmp");
    EXPECT_EQ(Get<ui::PictureBox>(f, "Imgpre").width(), Px(2052));
    Get<ui::TextBox>(f, "Txtallpage").setText("1000");
    Get<ui::Button>(f, "Cmdok").click();
  });
  backend->whenModal("Frmbookdata", [&](ui::Form& f) {
    auto& title = Get<ui::TextBox>(f, "Txtbooktitle");
    EXPECT_TRUE(title.pressKey('\r'));
    EXPECT_TRUE(Get<ui::TextBox>(f, "Txtallpage").focused());
    Get<ui::Button>(f, "Cmdcancel").click();
  });
  form->item("mnuBookset")->click();
  ASSERT_EQ(backend->transcript().messageBoxes.size(), 1u);
  EXPECT_EQ(backend->transcript().messageBoxes[0].text, "ページ数の範囲が不正です。");
  EXPECT_EQ(backend->transcript().messageBoxes[0].caption, "新規作成エラー");
  EXPECT_TRUE(backend->transcript().stuckModals.empty());
  EXPECT_EQ(viewer->state().book.allpage, 3);
}

TEST_F(Windows, BookmarkJumpAndOptionsDialog) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Book(3);
  Start("\"D:\\scan\\book.pgd\"");
  backend->whenModal("Frmbookmark", [&](ui::Form& f) {
    EXPECT_EQ(f.caption(), "しおり");
    EXPECT_EQ(Get<ui::TextBox>(f, "Txtmark(1)").text(), "1");  // insert mode: page 1 into the free row 1
    Get<ui::TextBox>(f, "Txtmark(4)").setText("3");
    Get<ui::Label>(f, "Lbljump(4)").onClick();
  });
  viewer->state().book.markpage[0] = 0;
  form->item("mnuBookmark")->click();
  EXPECT_EQ(form->statusBar1.panelText(2), "3page");

  backend->whenModal("Frmini", [&](ui::Form& f) {
    EXPECT_EQ(f.caption(), "Pagina オプション");
    Get<ui::Button>(f, "Cmdallnew").click();
    Get<ui::TextBox>(f, "Txtauto").setText("40");
    Get<ui::Button>(f, "Cmdok").click();
  });
  form->item("mnuViewset")->click();
  EXPECT_EQ(viewer->state().options.autoview, 40);
}

TEST_F(Windows, PrintingLaysOutHeaderAbovePicture) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions(kDefaultOptions, kFirstRunGeometry));
  Book(3, 400, 300);
  Start("\"D:\\scan\\book.pgd\"");
  form->item("mnuPrint")->click();
  ASSERT_EQ(script.printed.size(), 1u);
  const auto& printed = script.printed[0];
  EXPECT_EQ(printed.form, "Frmprint");
  EXPECT_EQ(printed.flags, 524292u);
  ASSERT_EQ(printed.controls.size(), 2u);
  EXPECT_EQ(printed.controls[0].caption, "Pagina  1PAGE  D:\\scan\\p001.bmp");
  EXPECT_EQ(printed.controls[0].bounds.width, 400);
  EXPECT_EQ(printed.controls[1].picture, "D:\\scan\\p001.bmp");
  EXPECT_EQ(printed.controls[1].bounds.top, printed.controls[0].bounds.height);
  EXPECT_EQ(printed.client.width, 400);
  EXPECT_EQ(printed.client.height, printed.controls[0].bounds.height + 300);
}

TEST_F(Windows, ExitWritesTheProfileWithTheWindowGeometry) {
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini", FormatOptions({1, 5, 5, 3}, {6300, 7500, 150, 300}));
  Start("");
  EXPECT_EQ(form->clientWidth(), 7500 / 15 - Form1::kFrameWidth);
  form->item("mnuExit")->click();
  EXPECT_TRUE(app.terminated());
  const OptionsFile saved = ParseOptions(files.files["C:\\Program Files\\Pagina\\PaginaV1.ini"]);
  EXPECT_EQ(saved.geometry, (WindowGeometry{6300, 7500, 150, 300}));
}

}  // namespace
}  // namespace viewer

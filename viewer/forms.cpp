// The viewer's windows and their binding to the viewer's logic.
#include "viewer/forms.h"

#include <functional>

#include "viewer/dialogs.h"

namespace viewer {

namespace {

constexpr std::uint32_t kLightCyan = 0x00FFFF80;  // red 128, green 255, blue 255

void Place(ui::Control& c, int left, int top, int width, int height) {
  c.setBounds(Px(left), Px(top), Px(width), Px(height));
}

const MenuEntry kMenus[][12] = {
    {{"mnuFile", "ファイル(&F)", Command::None},
     {"mnuNew", "新規作成($N)", Command::New},
     {"mnuOpen", "開く(&O)", Command::Open},
     {"mnuSep1", "-", Command::None},
     {"mnuPrint", "印刷(&P)", Command::Print},
     {"mnuSep2", "-", Command::None},
     {"mnuExit", "終了(&X)", Command::Exit}},
    {{"mnuSet", "設定", Command::None},
     {"mnuBookset", "ＢＯＯＫ設定", Command::Bookset},
     {"mnuViewset", "オプション", Command::Viewset}},
    {{"mnuPage", "ページ(&V)", Command::None},
     {"mnugopage", "次のページ", Command::GoPage},
     {"mnubackpage", "前のページ", Command::BackPage},
     {"mnuSep3", "-", Command::None},
     {"mnugotab", "進むタブ", Command::GoTab},
     {"mnubacktab", "戻るタブ", Command::BackTab},
     {"mnuFastpage", "先頭ページ", Command::FirstPage},
     {"mnuEndpage", "最終ページ", Command::EndPage},
     {"mnuSep4", "-", Command::None},
     {"mnuAuto", "オートビュー", Command::Auto},
     {"mnuAutostop", "ストップ", Command::AutoStop}},
    {{"mnuMark", "しおり(&BM)", Command::None},
     {"mnuBookmark", "しおり挿入", Command::Bookmark},
     {"mnuMarkset", "しおり設定", Command::Markset}},
    {{"mnuHelpMenu", "ヘルプ(&H)", Command::None},
     {"mnuHelp", "ヘルプ(&M)", Command::Help},
     {"mnuVer", "バージョン(&A)", Command::Version},
     {"mnuSep5", "-", Command::None},
     {"mnuHomepage", "ホームページ(&W)", Command::Homepage}},
};

// Tooltips by button index; nullptr marks a separator. Images are numbered in button order.
const char* const kTooltips[18] = {"新規作成",   "開く",   "印刷",         nullptr,        "戻る",         "進む",
                                   "戻るタブ",   "進むタブ", "最初のページ", "最後のページ", nullptr,        "オートビュー",
                                   "ストップ",   nullptr,  "しおりの挿入", "しおりの編集", nullptr,        "ヘルプ"};

void DialogFrame(ui::Form& f, const std::string& caption, int width, int height, std::uint32_t colour) {
  f.setCaption(caption);
  f.setClientSize(Px(width), Px(height));
  f.setBorderStyle(ui::BorderStyle::Dialog);
  f.setBorderIcons(true, false, false);
  f.setPosition(ui::Position::ScreenCentre);
  f.setColour(colour);
}

ui::Label& AddLabel(std::vector<std::unique_ptr<ui::Control>>& owned, ui::Form& f, const std::string& name,
                    const std::string& caption, int l, int t, int w, int h, std::uint32_t colour) {
  auto label = std::make_unique<ui::Label>(&f, name);
  label->setAutoSize(false);
  label->setCaption(caption);
  label->setColour(colour);
  Place(*label, l, t, w, h);
  auto& ref = *label;
  owned.push_back(std::move(label));
  return ref;
}

template <typename T, typename... Args>
T& Add(std::vector<std::unique_ptr<ui::Control>>& owned, Args&&... args) {
  auto c = std::make_unique<T>(std::forward<Args>(args)...);
  T& ref = *c;
  owned.push_back(std::move(c));
  return ref;
}

ui::Button& AddButton(std::vector<std::unique_ptr<ui::Control>>& owned, ui::Form& f, const std::string& name,
                      const std::string& caption, int l, int t, int w, int h) {
  auto& b = Add<ui::Button>(owned, &f, name);
  b.setCaption(caption);
  Place(b, l, t, w, h);
  return b;
}

void ApplyFocus(ui::Form& f, const std::string& name) {
  if (name.empty()) return;
  if (ui::Control* c = FindControl(f, name)) c->setFocus();
}

}  // namespace

ui::Control* FindControl(ui::Control& root, const std::string& name) {
  for (ui::Control* c : root.children()) {
    if (c->name() == name) return c;
    if (ui::Control* found = FindControl(*c, name)) return found;
  }
  return nullptr;
}

Form1::Form1(ui::Application& app, const std::vector<std::string>& imageFiles) : ui::Form(app, "Form1") {
  setCaption("Pagina Viewer");
  setClientSize(Px(6204), Px(5628));
  setPosition(ui::Position::Designed);
  for (const auto& menu : kMenus) {
    menus.push_back(std::make_unique<ui::MenuItem>(&menuBar, menu[0].name));
    ui::MenuItem& top = *menus.back();
    top.setCaption(menu[0].caption);
    for (int i = 1; i < 12 && menu[i].name; ++i) {
      items.push_back(std::make_unique<ui::MenuItem>(&top, menu[i].name));
      items.back()->setCaption(menu[i].caption);
    }
  }
  std::vector<ui::ToolButton> buttons;
  int image = 0;
  for (const char* tip : kTooltips) {
    if (tip) buttons.push_back({tip, ++image, false});
    else buttons.push_back({"", 0, true});
  }
  toolbar1.setImages(imageFiles, 20, 20);
  toolbar1.setButtons(buttons);
  toolbar1.setBounds(0, 0, clientWidth(), Px(384));
  picture1.setColour(ui::colour::kWhite);
  picture2.setColour(ui::colour::kWhite);
  picture2.setAutoSize(true);
  picture2.setBounds(0, 0, 0, 0);
  hscroll1.setBounds(0, 0, 100, Px(252));
  vscroll1.setBounds(0, 0, Px(252), 100);
  hscroll1.setChanges(10, 10);
  vscroll1.setChanges(10, 10);
  picture3.setBounds(0, 0, Px(252), Px(252));
  picture3.setVisible(false);
  statusBar1.setPanels({Px(3000), -1});
  statusBar1.setBounds(0, clientHeight() - Px(372), clientWidth(), Px(372));
  tmr1.setVisible(false);
}

ui::MenuItem* Form1::item(const std::string& name) { return dynamic_cast<ui::MenuItem*>(FindControl(menuBar, name)); }

void UiViewerHost::attach(ViewerApp& viewer) {
  viewer_ = &viewer;
  for (const auto& menu : kMenus)
    for (int i = 1; i < 12 && menu[i].name; ++i)
      if (ui::MenuItem* item = form_.item(menu[i].name)) {
        const Command command = menu[i].command;
        item->onClick = [this, command] { viewer_->run(command); };
      }
  form_.toolbar1.onButtonClick = [this](int index) { viewer_->run(ToolbarCommand(index)); };
  form_.onResize = [this] {
    if (!settingGeometry_) viewer_->resize();
  };
  form_.onCloseQuery = [this](bool& canClose) {
    viewer_->queryUnload();
    canClose = true;
  };
  form_.hscroll1.onChange = [this] { form_.picture2.setLeft(-Px(layout_.hbar.offsetFor(form_.hscroll1.value()))); };
  form_.vscroll1.onChange = [this] { form_.picture2.setTop(-Px(layout_.vbar.offsetFor(form_.vscroll1.value()))); };
  form_.tmr1.onTimer = [this] { viewer_->timerTick(); };
}

int UiViewerHost::messageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  return app_.messageBox(text, caption, flags);
}

void UiViewerHost::setStatusPanel(int panel, const std::string& text) { form_.statusBar1.setPanelText(panel, text); }

bool UiViewerHost::loadPage(const std::string& path, std::int32_t& width, std::int32_t& height) {
  const bool ok = form_.picture2.loadPicture(path);
  width = form_.picture2.pictureSize().width * kTwipsPerPixel;
  height = form_.picture2.pictureSize().height * kTwipsPerPixel;
  return ok;
}

void UiViewerHost::applyLayout(const PageLayout& l) {
  layout_ = l;
  form_.picture1.setBounds(Px(l.frameLeft), Px(l.frameTop), Px(l.frameWidth), Px(l.frameHeight));
  form_.picture2.setLeft(0);
  form_.picture2.setTop(0);
  auto setBar = [](ui::ScrollBar& bar, const ScrollBarLayout& b, bool vertical) {
    bar.setValue(0);
    bar.setRange(0, b.max);
    bar.setChanges(b.smallChange, b.largeChange);
    if (vertical) bar.setBounds(Px(b.left), Px(b.top), bar.width(), Px(b.length));
    else bar.setBounds(Px(b.left), Px(b.top), Px(b.length), bar.height());
    bar.setVisible(b.visible);
  };
  setBar(form_.hscroll1, l.hbar, false);
  setBar(form_.vscroll1, l.vbar, true);
  form_.picture3.setBounds(Px(l.cornerLeft), Px(l.cornerTop), form_.picture3.width(), form_.picture3.height());
  form_.picture3.setVisible(l.cornerVisible);
  // The docked bars follow the window's width and bottom.
  const ui::Size client = form_.placement.live() ? form_.placement.client() : form_.clientSize();
  form_.toolbar1.setWidth(client.width);
  form_.statusBar1.setBounds(0, client.height - form_.statusBar1.height(), client.width, form_.statusBar1.height());
}

LayoutInput UiViewerHost::windowMetrics() {
  LayoutInput in;
  const ui::Size client = form_.placement.live() ? form_.placement.client() : form_.clientSize();
  in.innerWidth = client.width * kTwipsPerPixel;
  in.innerHeight = client.height * kTwipsPerPixel;
  in.toolbarHeight = form_.toolbar1.height() * kTwipsPerPixel;
  in.statusHeight = form_.statusBar1.height() * kTwipsPerPixel;
  in.vbarWidth = form_.vscroll1.width() * kTwipsPerPixel;
  in.hbarHeight = form_.hscroll1.height() * kTwipsPerPixel;
  return in;
}

WindowGeometry UiViewerHost::outerGeometry() {
  WindowGeometry g;
  if (form_.placement.live()) {
    const ui::Rect r = form_.placement.outer();
    g.height = static_cast<float>(r.height * kTwipsPerPixel);
    g.width = static_cast<float>(r.width * kTwipsPerPixel);
    g.top = static_cast<float>(r.top * kTwipsPerPixel);
    g.left = static_cast<float>(r.left * kTwipsPerPixel);
    return g;
  }
  g.height = static_cast<float>((form_.clientHeight() + Form1::kFrameHeight) * kTwipsPerPixel);
  g.width = static_cast<float>((form_.clientWidth() + Form1::kFrameWidth) * kTwipsPerPixel);
  g.top = static_cast<float>(form_.top() * kTwipsPerPixel);
  g.left = static_cast<float>(form_.left() * kTwipsPerPixel);
  return g;
}

void UiViewerHost::setOuterGeometry(const WindowGeometry& g) {
  if (form_.placement.live()) {
    // The real window moves and reports its resize, which runs the resize event.
    form_.placement.requestOuter(ui::Rect{Px(static_cast<int>(g.left)), Px(static_cast<int>(g.top)),
                                          Px(static_cast<int>(g.width)), Px(static_cast<int>(g.height))});
    return;
  }
  const int width = std::max(0, Px(static_cast<int>(g.width)) - Form1::kFrameWidth);
  const int height = std::max(0, Px(static_cast<int>(g.height)) - Form1::kFrameHeight);
  settingGeometry_ = true;
  form_.setClientSize(width, height);
  form_.setBounds(Px(static_cast<int>(g.left)), Px(static_cast<int>(g.top)), width, height);
  settingGeometry_ = false;
  if (viewer_) viewer_->resize();
}

void UiViewerHost::setTimerInterval(std::int32_t milliseconds) { form_.tmr1.setInterval(milliseconds); }

void UiViewerHost::closeMainWindow() { form_.close(); }

bool UiViewerHost::fileDialog(FileDialogRequest& request) {
  ui::FileDialogOptions options;
  options.save = request.save;
  options.filter = request.filter;
  options.fileName = request.fileName;
  ui::CommonDialog& dialog = fileDialogs_ ? *fileDialogs_ : form_.commonDialog1;
  if (!dialog.showFile(options)) return false;
  request.fileName = options.fileName;
  return true;
}

bool UiViewerHost::printPage(const PrintLayout& layout, std::uint32_t dialogFlags) {
  ui::Form frmprint(app_, "Frmprint");
  frmprint.setBorderStyle(ui::BorderStyle::None);
  frmprint.setColour(ui::colour::kWhite);
  frmprint.setClientSize(Px(3744), Px(2064));
  ui::Label lblpro(&frmprint, "lblpro");
  lblpro.setAutoSize(false);
  lblpro.setColour(ui::colour::kWhite);
  ui::PictureBox picture(&frmprint, "Picture1");
  picture.setAutoSize(true);
  picture.setColour(ui::colour::kWhite);
  app_.createForm(frmprint);
  picture.loadPicture(layout.picturePath);
  lblpro.setBounds(0, 0, Px(layout.labelWidth), Px(layout.labelHeight));
  lblpro.setCaption(layout.header);
  picture.setBounds(0, Px(layout.pictureTop), picture.width(), picture.height());
  frmprint.setClientSize(Px(layout.formWidth), Px(layout.formHeight));
  return form_.commonDialog1.printForm(frmprint, dialogFlags);
}

void UiViewerHost::runBookDataDialog(BookDataDialog& d) {
  ui::Form f(app_, "Frmbookdata");
  DialogFrame(f, "Book設定", 5628, 3588, kLightCyan);
  std::vector<std::unique_ptr<ui::Control>> owned;
  AddLabel(owned, f, "Lblbooktitle", "Bｏｏｋのタイトル", 120, 120, 1812, 252, kLightCyan);
  auto& title = Add<ui::TextBox>(owned, &f, "Txtbooktitle");
  Place(title, 120, 360, 1812, 264);
  AddLabel(owned, f, "Lblallpage", "Bookの総ページ数", 120, 720, 1812, 252, kLightCyan);
  auto& allpage = Add<ui::TextBox>(owned, &f, "Txtallpage");
  Place(allpage, 120, 960, 1812, 264);
  AddLabel(owned, f, "Lblbookcover", "Bｏｏｋの先頭ファイル *001.jpg *001.bmp", 120, 1320, 3252, 252, kLightCyan);
  auto& cover = Add<ui::TextBox>(owned, &f, "Txtbookcover");
  Place(cover, 120, 1560, 3252, 264);
  auto& ref1 = AddButton(owned, f, "Cmdref1", "参照", 2760, 1800, 612, 252);
  AddLabel(owned, f, "Lblbookdata", "Bookデータの保存ファイル *.pgd", 120, 2160, 2652, 252, kLightCyan);
  auto& data = Add<ui::TextBox>(owned, &f, "Txtbookdata");
  Place(data, 120, 2400, 3252, 264);
  auto& ref2 = AddButton(owned, f, "Cmdref2", "参照", 2760, 2640, 612, 252);
  auto& imgpre = Add<ui::PictureBox>(owned, &f, "Imgpre");
  imgpre.setStretch(true);
  imgpre.setBorder(true);
  Place(imgpre, 3480, 120, 2052, 2892);
  auto& ok = AddButton(owned, f, "Cmdok", "保存", 240, 3120, 972, 372);
  auto& cancel = AddButton(owned, f, "Cmdcancel", "キャンセル", 1320, 3120, 972, 372);
  auto& pre = AddButton(owned, f, "Cmdpre", "プレビュ", 3480, 3120, 972, 372);
  auto& dialogs = Add<ui::CommonDialog>(owned, &f, "CommonDialog2");

  auto pull = [&] {
    d.txtbooktitle = title.text();
    d.txtallpage = allpage.text();
    d.txtbookcover = cover.text();
    d.txtbookdata = data.text();
  };
  auto push = [&] {
    title.setText(d.txtbooktitle);
    allpage.setText(d.txtallpage);
    cover.setText(d.txtbookcover);
    data.setText(d.txtbookdata);
    if (d.preview != imgpre.picturePath()) imgpre.loadPicture(d.preview);
    ApplyFocus(f, d.focus());
    if (d.closed()) f.setModalResult(ui::mr::kOk);
  };
  auto bind = [&](ui::Button& b, std::function<void()> action) {
    b.onClick = [&, action] {
      pull();
      action();
      push();
    };
  };
  bind(ok, [&] { d.cmdok(); });
  bind(cancel, [&] { d.cmdcancel(); });
  bind(pre, [&] { d.cmdpre(); });
  bind(ref1, [&] { d.cmdref1(); });
  bind(ref2, [&] { d.cmdref2(); });
  for (ui::TextBox* box : {&title, &allpage, &cover, &data})
    box->onKeyPress = [&, box](char key) {
      pull();
      const bool swallowed = d.keyPress(box->name(), key);
      push();
      return swallowed;
    };
  // The close box acts like Cancel.
  f.onCloseQuery = [&](bool& canClose) { canClose = true; };
  app_.createForm(f);
  push();
  fileDialogs_ = &dialogs;
  if (!d.closed()) f.showModal();
  fileDialogs_ = nullptr;
}

void UiViewerHost::runBookmarkDialog(BookmarkDialog& d) {
  ui::Form f(app_, "Frmbookmark");
  DialogFrame(f, "しおり", 5628, 3588, kLightCyan);
  std::vector<std::unique_ptr<ui::Control>> owned;
  ui::Font header;
  header.bold = true;
  for (auto [name, caption, left, width] : {std::tuple{"LblJumpHead", "Jump", 240, 612},
                                            std::tuple{"LblPageHead", "PAGE", 840, 612},
                                            std::tuple{"LblTitleHead", "TITLE", 1440, 3852}}) {
    auto& l = AddLabel(owned, f, name, caption, left, 240, width, 252, ui::colour::kWhite);
    l.setAlignment(ui::Alignment::Centre);
    l.setFont(header);
  }
  std::array<ui::TextBox*, 10> marks{}, titles{};
  std::array<ui::Label*, 10> jumps{};
  for (int i = 1; i <= 10; ++i) {
    const int top = 480 + 240 * (i - 1);
    const std::string index = "(" + std::to_string(i) + ")";
    jumps[i - 1] = &AddLabel(owned, f, "Lbljump" + index, std::to_string(i), 240, top, 612, 252, ui::colour::kWhite);
    jumps[i - 1]->setAlignment(ui::Alignment::Centre);
    marks[i - 1] = &Add<ui::TextBox>(owned, &f, "Txtmark" + index);
    marks[i - 1]->setCentred(true);
    Place(*marks[i - 1], 840, top, 612, 264);
    titles[i - 1] = &Add<ui::TextBox>(owned, &f, "Txttitle" + index);
    Place(*titles[i - 1], 1440, top, 3852, 264);
  }
  auto& ok = AddButton(owned, f, "Cmdok", "保存", 240, 3120, 972, 372);
  auto& cancel = AddButton(owned, f, "Cmdcancel", "キャンセル", 1320, 3120, 972, 372);
  auto pull = [&] {
    for (int i = 0; i < 10; ++i) {
      d.txtmark[i] = marks[i]->text();
      d.txttitle[i] = titles[i]->text();
    }
  };
  auto push = [&] {
    for (int i = 0; i < 10; ++i) {
      marks[i]->setText(d.txtmark[i]);
      titles[i]->setText(d.txttitle[i]);
    }
    ApplyFocus(f, d.focus());
    if (d.closed()) f.setModalResult(ui::mr::kOk);
  };
  ok.onClick = [&] { pull(); d.cmdok(); push(); };
  cancel.onClick = [&] { pull(); d.cmdcancel(); push(); };
  for (int i = 1; i <= 10; ++i) {
    jumps[i - 1]->onClick = [&, i] { pull(); d.jump(i); push(); };
    marks[i - 1]->onKeyPress = [&, i](char key) { pull(); bool s = d.keyPress("Txtmark", i, key); push(); return s; };
    titles[i - 1]->onKeyPress = [&, i](char key) { pull(); bool s = d.keyPress("Txttitle", i, key); push(); return s; };
  }
  app_.createForm(f);
  push();
  if (!d.closed()) f.showModal();
}

void UiViewerHost::runOptionsDialog(OptionsDialog& d) {
  ui::Form f(app_, "Frmini");
  DialogFrame(f, "Pagina オプション", 3648, 3168, ui::colour::kWhite);
  std::vector<std::unique_ptr<ui::Control>> owned;
  auto& check = Add<ui::CheckBox>(owned, &f, "Check1");
  check.setCaption("終了時に表示位置とサイズを保存");
  check.setColour(ui::colour::kWhite);
  Place(check, 360, 432, 3012, 276);
  auto box = [&](const char* name, int top, const char* label) -> ui::TextBox& {
    auto& t = Add<ui::TextBox>(owned, &f, name);
    t.setCentred(true);
    Place(t, 360, top, 372, 264);
    AddLabel(owned, f, std::string("Lbl") + name, label, 840, top + 40, 2412, 252, ui::colour::kWhite);
    return t;
  };
  auto& gotab = box("Txtgotab", 800, "進むタブ  2 to 10 (ページ)");
  auto& backtab = box("Txtbacktab", 1280, "戻るタブ  2 to 10 (ページ)");
  auto& autoview = box("Txtauto", 1760, "オートビュー 1 to 20 (秒)");
  auto& ok = AddButton(owned, f, "Cmdok", "保存", 240, 2400, 972, 372);
  auto& cancel = AddButton(owned, f, "Cmdcancel", "キャンセル", 1320, 2400, 972, 372);
  auto& allnew = AddButton(owned, f, "Cmdallnew", "初期設定", 2400, 2400, 972, 372);
  auto pull = [&] {
    d.check1 = check.checked();
    d.txtgotab = gotab.text();
    d.txtbacktab = backtab.text();
    d.txtauto = autoview.text();
  };
  auto push = [&] {
    check.setChecked(d.check1);
    gotab.setText(d.txtgotab);
    backtab.setText(d.txtbacktab);
    autoview.setText(d.txtauto);
    if (d.closed()) f.setModalResult(ui::mr::kOk);
  };
  ok.onClick = [&] { pull(); d.cmdok(); push(); };
  cancel.onClick = [&] { pull(); d.cmdcancel(); push(); };
  allnew.onClick = [&] { pull(); d.cmdallnew(); push(); };
  app_.createForm(f);
  push();
  f.showModal();
}

void UiViewerHost::runVersionDialog(VersionDialog& d) {
  ui::Form f(app_, "Frmver");
  DialogFrame(f, d.caption, 3744, 2496, ui::colour::kButtonFace);
  std::vector<std::unique_ptr<ui::Control>> owned;
  auto& icon = Add<ui::PictureBox>(owned, &f, "picIcon");
  icon.setStretch(true);
  Place(icon, 240, 240, 432, 432);
  ui::Font titleFont;
  titleFont.size = 16;
  auto& title = AddLabel(owned, f, "lblTitle", "Pagina View", 1080, 240, 2076, 480, ui::colour::kButtonFace);
  title.setFont(titleFont);
  ui::Font versionFont;
  versionFont.size = 12;
  versionFont.bold = true;
  auto& version = AddLabel(owned, f, "lblVersion", d.lblversion, 1080, 720, 2076, 228, ui::colour::kButtonFace);
  version.setFont(versionFont);
  auto& rule = AddLabel(owned, f, "Line1", "", 120, 1200, 3480, 1, ui::colour::kBlack);
  (void)rule;
  AddLabel(owned, f, "lblNotice1", "Copyright (C) Pagina", 600, 1320, 2532, 372, ui::colour::kButtonFace);
  AddLabel(owned, f, "lblNotice2", "All rights reserved.", 600, 1680, 2532, 372, ui::colour::kButtonFace);
  auto& ok = AddButton(owned, f, "cmdOK", "OK", 2280, 2040, 1310, 345);
  ok.setDefault(true);
  ok.setCancel(true);
  ok.onClick = [&] {
    d.cmdok();
    f.setModalResult(ui::mr::kOk);
  };
  app_.createForm(f);
  icon.loadPicture(d.icon);  // a missing picture leaves the box empty
  f.showModal();
}

}  // namespace viewer

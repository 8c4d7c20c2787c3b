// Design state of the installer's four windows: bounds, captions, fonts and the wiring of events.
#include "setup/shell/forms.h"

namespace setup {

TfrmBack* frmBack = nullptr;
TfrmMain* frmMain = nullptr;
TfrmStatus* frmStatus = nullptr;
TfrmCustomDlg* frmCustomDlg = nullptr;
int LastMessageBoxAnswer = 0;

namespace {

ui::Font PGothic9() {
  ui::Font f;
  f.name = "ＭＳ Ｐゴシック";
  f.size = 9;
  f.charset = 128;
  return f;
}

void FixedLabel(ui::Label& l, int left, int top, int width, int height, const std::string& caption) {
  l.setAutoSize(false);
  l.setBounds(left, top, width, height);
  l.setCaption(caption);
}

void DialogStyle(ui::Form& f, int clientWidth, int clientHeight) {
  f.setBorderStyle(ui::BorderStyle::Single);
  f.setBorderIcons(true, false, false);
  f.setPosition(ui::Position::ScreenCentre);
  f.setClientSize(clientWidth, clientHeight);
  f.setFont(PGothic9());
}

}  // namespace

TfrmMain::TfrmMain(ui::Application& app) : ui::Form(app, "frmMain") {
  DialogStyle(*this, 489, 313);

  fraReadme.setBounds(8, 8, 473, 265);
  fraReadme.setVisible(false);
  txtReadme.setBounds(8, 16, 457, 241);
  ui::Font fixed = PGothic9();
  fixed.name = "ＭＳ ゴシック";
  txtReadme.setFont(fixed);
  txtReadme.setReadOnly(true);
  txtReadme.setScrollBars(ui::ScrollBars::Vertical);

  grpMessage.setBounds(8, 8, 473, 113);
  grpMessage.setCaption("メッセージ");
  grpMessage.setVisible(false);
  FixedLabel(lblMessage, 8, 16, 457, 89, "");
  lblMessage.setWordWrap(true);

  grpSetupFolder.setBounds(8, 128, 473, 49);
  grpSetupFolder.setCaption("セットアップフォルダ");
  grpSetupFolder.setVisible(false);
  txtFolder.setBounds(8, 16, 401, 24);
  ui::Font big = PGothic9();
  big.size = 12;
  txtFolder.setFont(big);
  txtFolder.setEnabled(false);
  btnRefer.setBounds(416, 16, 49, 25);
  btnRefer.setCaption("参照(&R)");
  btnRefer.setEnabled(false);

  grpOption.setBounds(8, 184, 473, 89);
  grpOption.setCaption("セットアップオプション");
  grpOption.setVisible(false);
  chkOverWrite.setBounds(8, 16, 457, 17);
  chkOverWrite.setCaption("自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．");
  chkOverWrite.setEnabled(false);
  chkOverWrite.setChecked(true);
  fraShortCut.setBounds(8, 40, 457, 41);
  fraShortCut.setCaption("ショートカットの作成");
  FixedLabel(lblUnSetupInfo, 8, 8, 441, 25, "");
  lblUnSetupInfo.setWordWrap(true);
  lblUnSetupInfo.setVisible(false);
  struct Box {
    ui::CheckBox& box;
    int left;
    const char* caption;
  };
  for (const Box& b : {Box{chkSCutDesktop, 8, "デスクトップ"}, Box{chkSCutStartMenu, 120, "スタートメニュー"},
                       Box{chkSCutStartUp, 232, "スタートアップ"}, Box{chkSCutSendTo, 344, "送る"}}) {
    b.box.setBounds(b.left, 16, 105, 17);
    b.box.setCaption(b.caption);
    b.box.setEnabled(false);
    b.box.setChecked(true);
  }

  btnEvent.setBounds(64, 280, 161, 25);
  btnEvent.setEnabled(false);
  btnEvent.setTabOrder(4);
  btnEnd.setBounds(272, 280, 153, 25);
  btnEnd.setCaption("セットアップ終了(&E)");
  btnEnd.setEnabled(false);
  btnEnd.setTabOrder(5);
  FixedLabel(lblFormShare, 8, 296, 63, 12, "Can't Delete");
  lblFormShare.setVisible(false);
  dlgFolder.Title = "セットアップフォルダを選択してください．";

  onActivate = [this] { FormActivate(); };
  onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  onClose = [this](ui::CloseAction& action) { FormClose(action); };
  btnEvent.onClick = [this] { btnEventClick(); };
  btnEnd.onClick = [this] { btnEndClick(); };
  btnRefer.onClick = [this] { btnReferClick(); };
}

TfrmBack::TfrmBack(ui::Application& app) : ui::Form(app, "frmBack") {
  setBorderStyle(ui::BorderStyle::Single);
  setBorderIcons(true, false, false);
  setPosition(ui::Position::Default);
  setClientSize(536, 348);
  setWindowState(ui::WindowState::Maximised);
  setColour(ui::colour::kTeal);
  setEnabled(false);
  setFont(PGothic9());

  struct Title {
    ui::Label& label;
    ui::Rect bounds;
    const char* caption;
    const char* face;
    int pixels;
    std::uint32_t colour;
    bool visible;
  };
  for (const Title& t : {Title{lblBackTitle2, {39, 16, 20, 32}, "  ", "ＭＳ Ｐゴシック", 32, ui::colour::kBlue, true},
                         Title{lblBackTitle1, {16, 16, 20, 32}, "  ", "ＭＳ Ｐゴシック", 32, ui::colour::kWhite, true},
                         Title{lblPrgTitle2, {8, 56, 61, 19}, "BackTitle", "Times New Roman", 16, ui::colour::kBlue, false},
                         Title{lblPrgTitle1, {8, 48, 61, 19}, "BackTitle", "Times New Roman", 16, ui::colour::kWhite,
                               false}}) {
    t.label.setAutoSize(false);
    t.label.setTransparent(true);
    ui::Font f = PGothic9();
    f.name = t.face;
    f.height = t.pixels;
    f.italic = true;
    f.color = t.colour;
    t.label.setFont(f);
    t.label.setCaption(t.caption);
    t.label.setBounds(t.bounds);
    t.label.setVisible(t.visible);
  }

  onCreate = [this] { FormCreate(); };
  onResize = [this] { FormResize(); };
}

TfrmStatus::TfrmStatus(ui::Application& app) : ui::Form(app, "frmStatus") {
  DialogStyle(*this, 497, 153);
  setCaption("進行状況");
  grpMessage.setBounds(8, 8, 481, 97);
  grpMessage.setCaption("メッセージ");
  FixedLabel(lblMessage, 8, 16, 457, 73, "");
  lblMessage.setWordWrap(true);
  fraStatus.setBounds(8, 48, 465, 41);
  fraStatus.setCaption("進行状況");
  fraStatus.setVisible(false);
  prgStatus.setBounds(8, 16, 353, 17);
  prgStatus.setRange(0, 100);
  prgStatus.setStep(5);
  prgStatus.setPosition(0);
  FixedLabel(lblStatus, 368, 16, 88, 17, "0%(0/0)");
  lblStatus.setAlignment(ui::Alignment::Centre);
  lblStatus.setCentredVertically(true);
  ui::Font f = PGothic9();
  f.height = 13;
  lblStatus.setFont(f);
  btnAbort.setBounds(168, 120, 161, 25);
  btnAbort.setCaption("中断(&A)");
  btnAbort.setEnabled(false);

  onCreate = [this] { FormCreate(); };
  btnAbort.onClick = [this] { btnAbortClick(); };
}

TfrmCustomDlg::TfrmCustomDlg(ui::Application& app) : ui::Form(app, "frmCustomDlg") {
  setBorderStyle(ui::BorderStyle::Dialog);
  setBorderIcons(false, false, false);
  setPosition(ui::Position::ScreenCentre);
  setClientSize(426, 121);
  setFont(PGothic9());
  setCaption("ファイル削除の確認");
  FixedLabel(lblMessage, 8, 8, 409, 73, "");
  lblMessage.setWordWrap(false);
  struct Choice {
    ui::Button& button;
    int left;
    const char* caption;
    std::function<void()> handler;
  };
  int order = 0;
  for (const Choice& c : {Choice{btnYes, 8, "はい(&Y)", [this] { btnYesClick(); }},
                          Choice{btnNo, 112, "いいえ(&N)", [this] { btnNoClick(); }},
                          Choice{btnDelete, 216, "すべて削除(&D)", [this] { btnDeleteClick(); }},
                          Choice{btnSave, 320, "すべて保存(&A)", [this] { btnSaveClick(); }}}) {
    c.button.setBounds(c.left, 88, 97, 25);
    c.button.setCaption(c.caption);
    c.button.setTabOrder(order++);
    c.button.onClick = c.handler;
  }
}

void TfrmCustomDlg::Answer(const char* word) {
  if (frmMain) frmMain->lblFormShare.setCaption(word);
  setModalResult(ui::mr::kOk);
}

void TfrmCustomDlg::btnYesClick() { Answer("Yes"); }
void TfrmCustomDlg::btnNoClick() { Answer("No"); }
void TfrmCustomDlg::btnDeleteClick() { Answer("Delete"); }
void TfrmCustomDlg::btnSaveClick() { Answer("Save"); }

}  // namespace setup

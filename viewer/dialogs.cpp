// The dialogs Frmbookdata, Frmbookmark, Frmini and Frmver.
#include "viewer/dialogs.h"

#include "viewer/host.h"
#include "viewer/number.h"
#include "viewer/viewer_app.h"

namespace viewer {

namespace {
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbOkCancel = 0x1;
constexpr std::uint32_t kMbIconError = 0x10;
constexpr std::uint32_t kMbIconQuestion = 0x20;
constexpr std::uint32_t kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
}  // namespace

// ---- Frmbookdata ----

void BookDataDialog::load() {
  const Module1& m = app_.state();
  if (m.editmode != "set") return;
  txtbooktitle = m.book.booktitle;
  txtallpage = DecimalText(m.book.allpage);
  txtbookcover = m.book.bookcover;
  txtbookdata = m.bookdatafile;
  cmdpre();
}

bool BookDataDialog::keyPress(const std::string& control, char key) {
  if (key != kEnterKey) return false;
  if (control == "Txtbooktitle") focus_ = "Txtallpage";
  else if (control == "Txtallpage") focus_ = "Txtbookcover";
  else if (control == "Txtbookcover") focus_ = "Txtbookdata";
  else if (control == "Txtbookdata") focus_ = "Cmdok";
  else return false;
  return true;
}

void BookDataDialog::cmdpre() {
  if (txtbookcover.empty()) {
    preview.clear();
  } else if (app_.fileExists(txtbookcover)) {
    preview = txtbookcover;
  } else {
    app_.host().messageBox("bookの表紙ファイルが存在しません。", "プレビュ　エラー", kMbOk | kMbIconError);
  }
}

void BookDataDialog::cmdref1() {
  FileDialogRequest request;
  request.filter = "画像ファイル(*.jpg,*.bmp)|*.jpg;*.bmp";
  if (app_.host().fileDialog(request) && !request.fileName.empty()) {
    txtbookcover = request.fileName;
    focus_ = "Txtbookdata";
  } else {
    txtbookcover = app_.state().book.bookcover;
  }
}

void BookDataDialog::cmdref2() {
  FileDialogRequest request;
  request.save = true;
  request.filter = "bookdataファイル(*.pgd)|*.pgd";
  request.fileName = "*.pgd";
  if (app_.host().fileDialog(request) && !request.fileName.empty()) {
    txtbookdata = request.fileName;
    focus_ = "Cmdok";
  } else {
    txtbookdata = app_.state().bookdatafile;
  }
}

void BookDataDialog::cmdok() {
  ViewerHost& host = app_.host();
  const char* const kTitle = "新規作成エラー";
  // A count beyond the 16-bit range is out of range too.
  std::optional<std::int16_t> n = ReadInt16(txtallpage);
  if (!n || *n < 2 || *n > 999) {
    host.messageBox("ページ数の範囲が不正です。", kTitle, kMbOk | kMbIconError);
    return;
  }
  if (txtbookcover.empty()) {
    host.messageBox("bookの表紙ファイルを選択していません。", kTitle, kMbOk | kMbIconError);
    return;
  }
  if (txtbookdata.empty()) {
    host.messageBox("bookdataを保存するファイル名がありません。", kTitle, kMbOk | kMbIconError);
    return;
  }
  if (app_.fileExists(txtbookdata) &&
      host.messageBox("同名のbookdataファイルが存在します。上書きしますか？", "保存注意",
                      kMbOkCancel | kMbIconQuestion) != kIdOk)
    return;
  Module1& m = app_.state();
  BookRecord book = m.book;  // the bookmarks of the book open now go with it
  book.booktitle = txtbooktitle;
  book.allpage = *n;
  book.bookcover = txtbookcover;
  // The record changes only once the file is written, so a refused write leaves the open book
  // as it was and the dialog open for another file name.
  if (!app_.writeBookData(book, txtbookdata)) {
    app_.reportWriteFailure();
    return;
  }
  m.book = std::move(book);
  m.bookdatafile = txtbookdata;
  m.curpage = 1;
  close();
}

// ---- Frmbookmark ----

void BookmarkDialog::load() {
  Module1& m = app_.state();
  for (int i = 0; i < kMarkSlots; ++i) {
    txtmark[i] = DecimalText(m.book.markpage[i]);
    txttitle[i] = m.book.marktitle[i];
  }
  if (m.editmode != "new") return;
  for (int i = 0; i < kMarkSlots; ++i) {
    const std::int16_t v = ReadInt16Saturated(txtmark[i]);
    if (v == m.curpage) return;
    if (v < 1) {
      txtmark[i] = DecimalText(m.curpage);
      return;
    }
  }
  app_.host().messageBox("しおりに空きがありません。", "しおりエラー", kMbOk | kMbIconInformation);
}

void BookmarkDialog::jump(int row) {
  if (row < 1 || row > kMarkSlots) return;
  // A page typed beyond the 16-bit range is pinned to its end rather than refused.
  const std::int16_t v = ReadInt16Saturated(txtmark[row - 1]);
  if (v >= 1) app_.state().curpage = v;
  close();
}

bool BookmarkDialog::keyPress(const std::string& control, int row, char key) {
  if (key != kEnterKey || row < 1 || row > kMarkSlots) return false;
  if (control == "Txtmark") focus_ = "Txttitle(" + std::to_string(row) + ")";
  else if (control == "Txttitle") focus_ = row < kMarkSlots ? "Txtmark(" + std::to_string(row + 1) + ")" : "Cmdok";
  else return false;
  return true;
}

void BookmarkDialog::cmdok() {
  Module1& m = app_.state();
  BookRecord book = m.book;
  for (int i = 0; i < kMarkSlots; ++i) {
    book.markpage[i] = ReadInt16Saturated(txtmark[i]);
    book.marktitle[i] = txttitle[i];
  }
  // With no book open there is no file to write: the dialog reports it and stays open.
  if (!app_.writeBookData(book, m.bookdatafile)) {
    app_.reportWriteFailure();
    return;
  }
  m.book = std::move(book);
  close();
}

// ---- Frmini ----

void OptionsDialog::load() {
  const ViewerOptions& o = app_.state().options;
  check1 = o.checksize == 1;
  txtgotab = DecimalText(o.gotabpage);
  txtbacktab = DecimalText(o.backtabpage);
  txtauto = DecimalText(o.autoview);
}

void OptionsDialog::cmdok() {
  ViewerOptions& o = app_.state().options;
  o.checksize = check1 ? 1 : 0;
  // Whatever is typed is kept; values beyond 16 bits are pinned, and the commands cope with
  // zero, negative and huge steps.
  o.gotabpage = ReadInt16Saturated(txtgotab);
  o.backtabpage = ReadInt16Saturated(txtbacktab);
  o.autoview = ReadInt16Saturated(txtauto);
  close();
}

void OptionsDialog::cmdallnew() {
  check1 = false;
  txtgotab = "5";
  txtbacktab = "5";
  txtauto = "3";
}

// ---- Frmver ----

void VersionDialog::load() {
  app_.system().playSound(kVersionSoundFile);
  caption = "Pagina Viewer のﾊﾞｰｼﾞｮﾝ情報";
  icon = app_.programFolder() + "\\PaginaV1.bmp";
  lblversion = "Ver " + DecimalText(kVersionMajor) + "." + DecimalText(kVersionMinor) + "." +
               DecimalText(kVersionRevision);
}

}  // namespace viewer

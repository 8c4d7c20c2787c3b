// The progress window: no close from the title bar, and the abort that leaves its signal in the
// main window's enabled state.
#include "setup/shell/forms.h"
#include "setup/support/globals.h"

namespace setup {

void TfrmStatus::FormCreate() { disableSystemClose(); }

void TfrmStatus::btnAbortClick() {
  LastMessageBoxAnswer = ShowMessageBox(
      "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
      "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
      "本当にセットアップを中断しますか？",
      "中断の確認", ui::mb::kYesNo | ui::mb::kIconQuestion);
  if (LastMessageBoxAnswer != ui::mb::kIdYes) return;
  if (frmMain) frmMain->setEnabled(false);
  if (frmBack) frmBack->setEnabled(true);
  close();
  ShowMessageBox("セットアップを中断しました．", "中断", ui::mb::kIconExclamation);
  if (frmMain) frmMain->setModalResult(ui::mr::kOk);
}

}  // namespace setup

// The background window: title with shadow, product line and version banner, and the first
// resize that runs the main window modally.
#include "setup/shell/forms.h"
#include "setup/shell/version_banner.h"
#include "setup/support/globals.h"

namespace setup {

void TfrmBack::FormCreate() {
  // The task bar button takes the program's icon from its resources; nothing to do here.
}

void TfrmBack::FormResize() {
  if (resizedOnce_) return;
  resizedOnce_ = true;

  FileVersion version;
  ReadFileVersion(Sys().system.programPath(), version);
  VersionBanner = MakeVersionBanner(version);
  setCaption("Vornik Setup 98 Standard Version" + VersionBanner);

  lblBackTitle2.setBounds(lblBackTitle1.left() + 2, lblBackTitle1.top() + 2, lblBackTitle2.width(),
                          lblBackTitle2.height());
  const std::string product = "Vornik Setup 98 Standard\rCopyright (C) Vornik. All rights reserved.";
  lblPrgTitle1.setCaption(product);
  lblPrgTitle2.setCaption(product);
  lblPrgTitle1.setAutoSize(true);
  lblPrgTitle1.setAutoSize(false);
  // Room for the italic overhang.
  lblPrgTitle1.setWidth(lblPrgTitle1.width() + 8);
  lblPrgTitle1.setLeft(width() - lblPrgTitle1.width() - 24);
  lblPrgTitle1.setTop(height() - lblPrgTitle1.height() - 48);
  lblPrgTitle2.setBounds(lblPrgTitle1.left() + 2, lblPrgTitle1.top() + 2, lblPrgTitle1.width(), lblPrgTitle1.height());
  lblPrgTitle1.setVisible(true);
  lblPrgTitle2.setVisible(true);
  for (ui::Label* l : {&lblBackTitle2, &lblBackTitle1, &lblPrgTitle2, &lblPrgTitle1}) l->repaint();

  if (frmMain) frmMain->showModal();
  close();
}

}  // namespace setup

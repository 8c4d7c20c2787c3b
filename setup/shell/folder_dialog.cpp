// The folder chooser component over the window layer's folder browser.
#include "setup/shell/forms.h"

namespace setup {

std::uint32_t FolderDlgFlags(const TFolderDlgOptions& options) {
  std::uint32_t flags = 0;
  for (TFolderDlgOption o : options) {
    switch (o) {
      case TFolderDlgOption::bifBrowseForComputer: flags |= ui::bif::kBrowseForComputer; break;
      case TFolderDlgOption::bifBrowseForPrinter: flags |= ui::bif::kBrowseForPrinter; break;
      case TFolderDlgOption::bifDontGoBelowDomain: flags |= ui::bif::kDontGoBelowDomain; break;
      case TFolderDlgOption::bifReturnFSAncestors: flags |= ui::bif::kReturnFsAncestors; break;
      case TFolderDlgOption::bifReturnOnlyFSDirs: flags |= ui::bif::kReturnOnlyFsDirs; break;
      case TFolderDlgOption::bifStatusText: flags |= ui::bif::kStatusText; break;
    }
  }
  return flags;
}

TFolderDialog::TFolderDialog(ui::Form* owner, std::string name) : ui::Component(owner, std::move(name)) {}

bool TFolderDialog::Execute() {
  if (!owner()) return false;
  ui::FolderBrowse request;
  request.owner = owner();
  request.title = Title;
  request.flags = FolderDlgFlags(Option);
  request.imageIndex = ImageIndex;
  if (!owner()->application().backend().browseForFolder(request)) return false;
  FolderName = request.path;
  ImageIndex = request.imageIndex;
  return true;
}

}  // namespace setup

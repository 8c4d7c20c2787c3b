// The installer's windows: main window, background, progress window, four-way dialog and the
// folder chooser, with their controls, and global access to the four form instances.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/component.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace setup {

// Browse flags of the folder chooser, in declaration order.
enum class TFolderDlgOption {
  bifBrowseForComputer,
  bifBrowseForPrinter,
  bifDontGoBelowDomain,
  bifReturnFSAncestors,
  bifReturnOnlyFSDirs,
  bifStatusText,
};
using TFolderDlgOptions = std::set<TFolderDlgOption>;
// The shell browse flag of each member (BIF_*), OR-ed together.
std::uint32_t FolderDlgFlags(const TFolderDlgOptions& options);

// The shell's folder browser as a component of a window.
class TFolderDialog : public ui::Component {
 public:
  TFolderDialog(ui::Form* owner, std::string name);
  std::string Title;
  TFolderDlgOptions Option{TFolderDlgOption::bifReturnOnlyFSDirs};
  // Passed through to the browser and written back after a choice.
  std::int32_t CallbackParam = 0;
  std::int32_t ImageIndex = 0;
  // The last chosen folder, without a trailing "\" except for a drive root.
  std::string FolderName;
  // True when the user chose a folder; FolderName is unchanged after a cancel.
  bool Execute();
};

class TfrmMain : public ui::Form {
 public:
  explicit TfrmMain(ui::Application& app);

  ui::GroupBox fraReadme{this, "fraReadme"};
  ui::Memo txtReadme{&fraReadme, "txtReadme"};
  ui::GroupBox grpMessage{this, "grpMessage"};
  ui::Label lblMessage{&grpMessage, "lblMessage"};
  ui::GroupBox grpSetupFolder{this, "grpSetupFolder"};
  ui::Edit txtFolder{&grpSetupFolder, "txtFolder"};
  ui::Button btnRefer{&grpSetupFolder, "btnRefer"};
  ui::GroupBox grpOption{this, "grpOption"};
  ui::CheckBox chkOverWrite{&grpOption, "chkOverWrite"};
  ui::GroupBox fraShortCut{&grpOption, "fraShortCut"};
  ui::Label lblUnSetupInfo{&fraShortCut, "lblUnSetupInfo"};
  ui::CheckBox chkSCutDesktop{&fraShortCut, "chkSCutDesktop"};
  ui::CheckBox chkSCutStartMenu{&fraShortCut, "chkSCutStartMenu"};
  ui::CheckBox chkSCutStartUp{&fraShortCut, "chkSCutStartUp"};
  ui::CheckBox chkSCutSendTo{&fraShortCut, "chkSCutSendTo"};
  ui::Button btnEvent{this, "btnEvent"};
  ui::Button btnEnd{this, "btnEnd"};
  // Hidden; its caption carries the answer of the four-way dialog.
  ui::Label lblFormShare{this, "lblFormShare"};
  TFolderDialog dlgFolder{this, "dlgFolder"};

  // The runs, set by the program entry (and by tests): the shell does not link the engine.
  std::function<void()> onInstallRun;
  std::function<void()> onUninstallRun;

  // The first command-line argument ("" when none); the program entry sets it.
  std::string FirstArgument;
  // The lines collected by start-up for the start-up error page.
  std::string StartupErrors;

  void ShowReadmePage(bool readme);
  void FormActivate();
  void btnEventClick();
  void btnEndClick();
  void btnReferClick();
  void FormCloseQuery(bool& canClose);
  void FormClose(ui::CloseAction& action);

 private:
  void ShowStartupError();
  void PrepareUninstallPage(const std::string& checkBox);
};

class TfrmBack : public ui::Form {
 public:
  explicit TfrmBack(ui::Application& app);

  ui::Label lblBackTitle2{this, "lblBackTitle2"};
  ui::Label lblBackTitle1{this, "lblBackTitle1"};
  ui::Label lblPrgTitle2{this, "lblPrgTitle2"};
  ui::Label lblPrgTitle1{this, "lblPrgTitle1"};

  // "2.20(Build:2463)", built at the first resize from the program's own file version.
  std::string VersionBanner;

  void FormCreate();
  void FormResize();

 private:
  bool resizedOnce_ = false;
};

class TfrmStatus : public ui::Form {
 public:
  explicit TfrmStatus(ui::Application& app);

  ui::GroupBox grpMessage{this, "grpMessage"};
  ui::Label lblMessage{&grpMessage, "lblMessage"};
  ui::GroupBox fraStatus{&grpMessage, "fraStatus"};
  ui::ProgressBar prgStatus{&fraStatus, "prgStatus"};
  ui::Label lblStatus{&fraStatus, "lblStatus"};
  ui::Button btnAbort{this, "btnAbort"};

  void FormCreate();
  void btnAbortClick();
};

class TfrmCustomDlg : public ui::Form {
 public:
  explicit TfrmCustomDlg(ui::Application& app);

  ui::Label lblMessage{this, "lblMessage"};
  ui::Button btnYes{this, "btnYes"};
  ui::Button btnNo{this, "btnNo"};
  ui::Button btnDelete{this, "btnDelete"};
  ui::Button btnSave{this, "btnSave"};

  void btnYesClick();
  void btnNoClick();
  void btnDeleteClick();
  void btnSaveClick();

 private:
  void Answer(const char* word);
};

// The four forms of the running program (null before the program entry creates them).
extern TfrmBack* frmBack;
extern TfrmMain* frmMain;
extern TfrmStatus* frmStatus;
extern TfrmCustomDlg* frmCustomDlg;

// The program's last message-box answer (the abort question stores it).
extern int LastMessageBoxAnswer;

}  // namespace setup

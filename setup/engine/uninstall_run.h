// The uninstall run: undoes a recorded install from the work folder's copy of its record.
#pragma once

#include <memory>
#include <string>

namespace setup {

// Runs the whole uninstall through the program's windows (frmMain, frmStatus, frmCustomDlg,
// frmBack); the main window's action button calls it in uninstall mode (uninstall_forms.cpp).
void UninstallRun();

// Deletes a registry key with all its sub-keys. token is a root token such as "(Class)"; every
// token other than "(Class)", "(Local)" and "(Users)" means HKEY_CURRENT_USER. An empty path,
// a whole hive and the system's own keys are never deleted.
void DeleteRegistryKey(const std::string& token, const std::string& path);

namespace uninstall {

// The window side of the run. The program's forms implement it (uninstall_forms.cpp); tests
// can script it. Option index 0..3: chkSCutDesktop, chkSCutStartMenu, chkSCutStartUp,
// chkSCutSendTo in their uninstall roles.
class RunWindows {
 public:
  virtual ~RunWindows() = default;
  virtual bool optionChecked(int index) = 0;
  virtual bool optionVisible(int index) = 0;
  virtual void disableOptions() = 0;
  // Hide the main window, show the progress window, hide btnEnd and centre btnEvent.
  virtual void enterRunWindows() = 0;
  // The progress window's message, then let pending messages run.
  virtual void showStatus(const std::string& text) = 0;
  // The text of the read-only folder box txtFolder.
  virtual std::string setupFolderText() = 0;
  // The answer slot (lblFormShare's caption) and the four-way dialog shown modally.
  virtual std::string answerSlot() = 0;
  virtual void setAnswerSlot(const std::string& answer) = 0;
  virtual void askFourWay(const std::string& message) = 0;
  // Shows the failure log in the main window and waits until the user presses "続行(&C)".
  virtual void showFailureDetails(const std::string& log) = 0;
  // Enable the background window and close the main window with modal result 1.
  virtual void finishRun() = 0;
};

struct RunOutcome {
  bool stopped = false;  // ended at the unknown setup folder, nothing changed
  bool deleteAll = false;
  std::string extraPatterns;
  std::string failureLog;
  int failureCount = 0;
};

// The run itself, over the program's services and the given windows.
RunOutcome RunUninstall(RunWindows& windows);

// The program's forms as the run's windows (null while the forms do not exist).
std::unique_ptr<RunWindows> FormsRunWindows();

}  // namespace uninstall
}  // namespace setup

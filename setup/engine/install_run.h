// The install run: the script carried out phase by phase, reported through the progress window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace setup {

// What the install run needs of the windows. The shell's forms implement it (install_forms.cpp);
// tests may script it directly.
class InstallWindows {
 public:
  virtual ~InstallWindows() = default;

  // Main window state, read once when the run starts.
  virtual std::string FolderText() = 0;
  virtual bool OverwriteChecked() = 0;
  // 0 desktop, 1 start menu, 2 start-up, 3 send-to.
  virtual bool ShortcutChecked(int box) = 0;

  // Hide btnEnd and centre btnEvent in the main window.
  virtual void PrepareMainForRun() = 0;
  virtual void ShowMain() = 0;
  virtual void HideMain() = 0;
  // A disabled main window is the abort signal.
  virtual bool MainEnabled() = 0;
  virtual void SetMainModalResult(int result) = 0;
  virtual void EnableBackground() = 0;

  // Progress window.
  virtual void ShowStatus() = 0;
  virtual void HideStatus() = 0;
  virtual void CloseStatus() = 0;
  virtual void SetMessage(const std::string& text) = 0;
  virtual void SetAbortEnabled(bool enabled) = 0;
  virtual void ShowProgressFrame(bool visible) = 0;
  // Sets the bar and returns its position as the bar reports it.
  virtual int SetProgressPosition(int position) = 0;
  virtual void SetProgressLabel(const std::string& text) = 0;

  // The failure details in the main window's read-me page, with btnEvent as "続行(&C)".
  virtual void ShowFailureDetails(const std::string& log) = 0;
  virtual bool EventButtonEnabled() = 0;

  // The application's clock and message loop.
  virtual void ProcessMessages() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

// Working data of one run.
struct InstallState {
  bool overwrite = false;
  std::array<bool, 4> shortcutBoxes{};
  std::string setupFolder;
  std::string recordPath;
  std::vector<std::pair<std::string, std::string>> associations;
  int entryCount = 0;
  // Sums are kept in 64 bits so that a large installation cannot wrap to a negative size.
  std::int64_t requiredSize = 0;
  std::int64_t copiedSize = 0;
  bool sizeProgress = true;
  int diskNumber = 1;
  int processed = 0;
  std::string deleteFolders, deleteFiles, deleteShortcuts, deleteRegistry;
  std::array<std::string, 20> restoreRelate;
  std::string failureLog;
  int failureCount = 0;

  void AddFailure(const std::string& label, const std::string& path, const std::string& reason) {
    failureLog += label + path + "\r\n" + reason + "\r\n";
    ++failureCount;
  }
};

// Message-box flags and answers with the system's values.
namespace mb {
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kIconStop = 0x10;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconExclamation = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

// The whole run on the given windows. Returns when the run ended, stopped or was aborted.
void InstallRun(InstallWindows& windows);
// The run on the shell's forms (the main window's start button calls this).
void InstallRun();

// Packed local DOS date and time of a file's last write, -1 when the file is missing.
std::int64_t FileDosDateTime(const std::string& path);
// The packing itself, for a file time (100 ns units since 1601); times before 1980 give 0.
std::uint32_t DosDateTimeOf(std::uint64_t fileTime);

}  // namespace setup

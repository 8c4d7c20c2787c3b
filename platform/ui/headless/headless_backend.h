// The window layer without a screen: the model only, virtual time, and a script that tests use
// to act as the user (act while a form is modal, answer message boxes, act when pending messages
// run) plus a transcript of what the program showed.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/application.h"

namespace ui::headless {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
  int answer = 0;
};

struct Transcript {
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<std::string> modalShown;        // form names, in the order they were shown modally
  std::vector<std::string> stuckModals;       // modal forms the script left open (a test fault)
  std::vector<MessageBoxRecord> unanswered;   // questions the script had no answer for
  std::vector<std::string> folderBrowses;     // titles of the folder browser requests
  std::uint64_t sleptMilliseconds = 0;
  int processMessagesCalls = 0;
};

class HeadlessBackend : public Backend {
 public:
  using FormAction = std::function<void(Form&)>;

  explicit HeadlessBackend(Size screen = Size{1024, 768});

  // Queues one user action for the next time the loop of the named modal form waits;
  // actions for the same form run one per wait, in order.
  void whenModal(const std::string& formName, FormAction action);
  // Queues answers to questions (boxes with more than an OK button), in order. A box with only
  // an OK button is answered OK without using the queue.
  void answerMessageBoxes(std::initializer_list<int> answers);
  void answerMessageBox(int answer) { answers_.push_back(answer); }
  // Runs the action once, at the first letting-run of pending messages where the condition holds
  // (no condition: the next one).
  void whenProcessMessages(std::function<void()> action, std::function<bool()> condition = nullptr);
  // Queues the folder browser's outcome: a chosen path, or nullopt for cancel.
  void answerFolderBrowser(std::optional<std::string> path) { folders_.push_back(std::move(path)); }
  // Moves the virtual clock, firing due timers.
  void advance(std::uint64_t milliseconds);

  Transcript& transcript() { return transcript_; }
  std::size_t pendingModalActions() const;
  std::size_t pendingAnswers() const { return answers_.size(); }

  // Backend
  int messageBox(Form* owner, const std::string& text, const std::string& caption, std::uint32_t flags) override;
  void processMessages() override;
  bool waitForEvent(Form* modal) override;
  void formShown(Form& form) override;
  void sleep(std::uint32_t milliseconds) override;
  std::uint64_t tickCount() override { return clock_; }
  int startTimer(std::uint32_t milliseconds, std::function<void()> callback) override;
  void stopTimer(int id) override;
  Size screenSize() override { return screen_; }
  Size measureText(const Font& font, const std::string& text, int wrapWidth) override;
  bool browseForFolder(FolderBrowse& request) override;

 private:
  struct Timer {
    std::uint32_t interval;
    std::uint64_t due;
    std::function<void()> callback;
  };
  struct PumpHook {
    std::function<void()> action;
    std::function<bool()> condition;
  };
  void fireDueTimers();

  Size screen_;
  std::uint64_t clock_ = 0;
  std::map<std::string, std::deque<FormAction>> modalActions_;
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> folders_;
  std::vector<PumpHook> pumpHooks_;
  std::map<int, Timer> timers_;
  int nextTimer_ = 1;
  Transcript transcript_;
};

}  // namespace ui::headless

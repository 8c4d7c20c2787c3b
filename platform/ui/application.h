// The application object and the backend interface behind it: message boxes, letting pending
// messages run, time (sleep, tick count, timers), the modal loop and the folder browser.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/geometry.h"

namespace ui {

// Message-box flags and answers, with the system's values.
namespace mb {
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kAbortRetryIgnore = 0x2;
constexpr std::uint32_t kYesNoCancel = 0x3;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kRetryCancel = 0x5;
constexpr std::uint32_t kIconError = 0x10;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconExclamation = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr std::uint32_t kButtonMask = 0xF;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

// Shell folder-browser flags (BIF_*).
namespace bif {
constexpr std::uint32_t kReturnOnlyFsDirs = 0x0001;
constexpr std::uint32_t kDontGoBelowDomain = 0x0002;
constexpr std::uint32_t kStatusText = 0x0004;
constexpr std::uint32_t kReturnFsAncestors = 0x0008;
constexpr std::uint32_t kBrowseForComputer = 0x1000;
constexpr std::uint32_t kBrowseForPrinter = 0x2000;
}  // namespace bif

// One request to the folder browser and what it gives back.
struct FolderBrowse {
  Form* owner = nullptr;
  std::string title;
  std::uint32_t flags = 0;
  std::string path;     // out: the chosen folder, without "\" except for a drive root
  int imageIndex = 0;   // out
};

// What a backend provides. Peers are built by factories registered per control kind, so a new
// control kind needs only a new factory, not a change here.
class Backend {
 public:
  using PeerFactory = std::function<std::unique_ptr<ControlPeer>(Control&)>;

  virtual ~Backend() = default;

  void registerPeer(const std::string& kind, PeerFactory factory) { factories_[kind] = std::move(factory); }
  // The peer for the control's kind; nullptr (model only) when no factory is registered.
  std::unique_ptr<ControlPeer> createPeer(Control& control);

  virtual int messageBox(Form* owner, const std::string& text, const std::string& caption, std::uint32_t flags) = 0;
  // Handles everything pending and returns.
  virtual void processMessages() = 0;
  // Waits for and handles at least one event; false when none can ever come (a modal loop
  // then gives up instead of hanging). `modal` is the form of the loop, nullptr for the main loop.
  virtual bool waitForEvent(Form* modal) = 0;
  // A form was shown; a backend without real windows reports the resize and activation here.
  virtual void formShown(Form& form) {}
  virtual void beginModal(Form& form) {}
  virtual void endModal(Form& form) {}
  virtual void quit() {}

  virtual void sleep(std::uint32_t milliseconds) = 0;
  virtual std::uint64_t tickCount() = 0;
  // A repeating timer; the callback runs on the user-interface thread.
  virtual int startTimer(std::uint32_t milliseconds, std::function<void()> callback) = 0;
  virtual void stopTimer(int id) = 0;

  virtual Size screenSize() = 0;
  // Size of a text drawn in a font; with wrapWidth > 0 the text wraps at that width.
  virtual Size measureText(const Font& font, const std::string& text, int wrapWidth) = 0;
  // Shows the folder browser; true when the user chose a folder.
  virtual bool browseForFolder(FolderBrowse& request) = 0;
  virtual void setTitle(const std::string& title) {}

 private:
  std::map<std::string, PeerFactory> factories_;
};

class Application {
 public:
  explicit Application(std::unique_ptr<Backend> backend);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& backend() { return *backend_; }

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);

  // Realizes the form and runs its create event; the first form created is the main form.
  void createForm(Form& form);
  Form* mainForm() const { return mainForm_; }
  const std::vector<Form*>& forms() const { return forms_; }
  void formDestroyed(Form& form);

  // The message box owned by the innermost modal form; returns the button id.
  int messageBox(const std::string& text, const std::string& caption, std::uint32_t flags);
  void processMessages();
  void sleep(std::uint32_t milliseconds);
  std::uint64_t tickCount();
  int startTimer(std::uint32_t milliseconds, std::function<void()> callback);
  void stopTimer(int id);

  // Shows the main form (in its window state) and runs the loop until it closes.
  void run();
  void terminate();
  bool terminated() const { return terminated_; }

  // Modal forms, innermost last.
  const std::vector<Form*>& modalStack() const { return modalStack_; }
  void pushModal(Form& f) { modalStack_.push_back(&f); }
  void popModal() { if (!modalStack_.empty()) modalStack_.pop_back(); }

 private:
  std::unique_ptr<Backend> backend_;
  std::string title_;
  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  std::vector<Form*> modalStack_;
  bool terminated_ = false;
};

}  // namespace ui

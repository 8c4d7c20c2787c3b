// The headless backend: scripted user, virtual clock, text measured by a fixed rule.
#include "platform/ui/headless/headless_backend.h"

#include <algorithm>

namespace ui::headless {

HeadlessBackend::HeadlessBackend(Size screen) : screen_(screen) {}

void HeadlessBackend::whenModal(const std::string& formName, FormAction action) {
  modalActions_[formName].push_back(std::move(action));
}

void HeadlessBackend::answerMessageBoxes(std::initializer_list<int> answers) {
  for (int a : answers) answers_.push_back(a);
}

void HeadlessBackend::whenProcessMessages(std::function<void()> action, std::function<bool()> condition) {
  pumpHooks_.push_back(PumpHook{std::move(action), std::move(condition)});
}

std::size_t HeadlessBackend::pendingModalActions() const {
  std::size_t n = 0;
  for (const auto& [name, q] : modalActions_) n += q.size();
  return n;
}

int HeadlessBackend::messageBox(Form*, const std::string& text, const std::string& caption, std::uint32_t flags) {
  MessageBoxRecord rec{text, caption, flags, 0};
  if ((flags & mb::kButtonMask) == mb::kOk) {
    rec.answer = mb::kIdOk;
  } else if (!answers_.empty()) {
    rec.answer = answers_.front();
    answers_.pop_front();
  } else {
    transcript_.unanswered.push_back(rec);
  }
  transcript_.messageBoxes.push_back(rec);
  return rec.answer;
}

void HeadlessBackend::processMessages() {
  ++transcript_.processMessagesCalls;
  fireDueTimers();
  // A hook may add hooks or pump again; take the first ready one out before running it.
  for (std::size_t i = 0; i < pumpHooks_.size(); ++i) {
    if (!pumpHooks_[i].condition || pumpHooks_[i].condition()) {
      auto action = std::move(pumpHooks_[i].action);
      pumpHooks_.erase(pumpHooks_.begin() + static_cast<std::ptrdiff_t>(i));
      action();
      break;
    }
  }
}

bool HeadlessBackend::waitForEvent(Form* modal) {
  fireDueTimers();
  std::string key = modal ? modal->name() : std::string();
  auto it = modalActions_.find(key);
  if (it == modalActions_.end() || it->second.empty()) {
    if (modal) transcript_.stuckModals.push_back(key);
    return false;
  }
  FormAction action = std::move(it->second.front());
  it->second.pop_front();
  if (modal) action(*modal);
  return true;
}

void HeadlessBackend::formShown(Form& form) {
  if (form.isModal()) transcript_.modalShown.push_back(form.name());
  if (form.windowState() == WindowState::Maximised) {
    form.resized(Rect{0, 0, screen_.width, screen_.height});
  } else if (form.position() == Position::ScreenCentre) {
    Rect r = form.bounds();
    r.left = CentreOffset(screen_.width, r.width);
    r.top = CentreOffset(screen_.height, r.height);
    form.resized(r);
  }
  form.activated();
}

void HeadlessBackend::sleep(std::uint32_t milliseconds) {
  clock_ += milliseconds;
  transcript_.sleptMilliseconds += milliseconds;
}

int HeadlessBackend::startTimer(std::uint32_t milliseconds, std::function<void()> callback) {
  int id = nextTimer_++;
  std::uint32_t interval = std::max<std::uint32_t>(milliseconds, 1);
  timers_[id] = Timer{interval, clock_ + interval, std::move(callback)};
  return id;
}

void HeadlessBackend::stopTimer(int id) { timers_.erase(id); }

void HeadlessBackend::advance(std::uint64_t milliseconds) {
  std::uint64_t end = clock_ + milliseconds;
  for (;;) {
    // The earliest due timer within the step fires at its own time.
    int next = 0;
    std::uint64_t nextDue = end + 1;
    for (auto& [id, t] : timers_)
      if (t.due <= end && t.due < nextDue) {
        next = id;
        nextDue = t.due;
      }
    if (!next) break;
    clock_ = nextDue;
    Timer& t = timers_[next];
    t.due += t.interval;
    auto callback = t.callback;  // the callback may stop its own timer
    callback();
  }
  clock_ = end;
}

void HeadlessBackend::fireDueTimers() { advance(0); }

Size HeadlessBackend::measureText(const Font& font, const std::string& text, int wrapWidth) {
  // A fixed rule stands in for the font: every byte is half the pixel height wide.
  int px = font.height ? font.height : (font.size * 96 + 36) / 72;
  int lineHeight = px + (px + 2) / 5;
  int charWidth = std::max(1, (px + 1) / 2);
  int widest = 0;
  int lines = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    std::size_t len = (end == std::string::npos ? text.size() : end) - start;
    int w = static_cast<int>(len) * charWidth;
    if (wrapWidth > 0 && w > wrapWidth) {
      lines += (w + wrapWidth - 1) / wrapWidth;
      w = wrapWidth;
    } else {
      ++lines;
    }
    widest = std::max(widest, w);
    if (end == std::string::npos) break;
    start = end + ((text.compare(end, 2, "\r\n") == 0) ? 2 : 1);
  }
  return Size{widest, lines * lineHeight};
}

bool HeadlessBackend::browseForFolder(FolderBrowse& request) {
  transcript_.folderBrowses.push_back(request.title);
  if (folders_.empty() || !folders_.front()) {
    if (!folders_.empty()) folders_.pop_front();
    return false;
  }
  request.path = *folders_.front();
  folders_.pop_front();
  return true;
}

}  // namespace ui::headless

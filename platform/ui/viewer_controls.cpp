// The viewer's controls: model state and the hand-over to their peers.
#include "platform/ui/viewer_controls.h"

#include <algorithm>

#include "platform/ui/application.h"

namespace ui {

MenuItem& MenuBar::add(MenuItem& item) {
  notify(viewerprop::kMenu);
  return item;
}

void Toolbar::setImages(std::vector<std::string> files, int width, int height) {
  images_ = std::move(files);
  imageWidth_ = width;
  imageHeight_ = height;
  notify(viewerprop::kButtons);
}

void Toolbar::setButtons(std::vector<ToolButton> buttons) {
  buttons_ = std::move(buttons);
  notify(viewerprop::kButtons);
}

void Toolbar::clickButton(int index) {
  if (index < 1 || index > static_cast<int>(buttons_.size()) || !effectivelyEnabled()) return;
  if (buttons_[index - 1].separator) return;
  if (onButtonClick) onButtonClick(index);
}

void StatusBar::setPanels(std::vector<int> widths) {
  widths_ = std::move(widths);
  texts_.resize(widths_.size());
  notify(viewerprop::kPanels);
}

void StatusBar::setPanelText(int panel, const std::string& text) {
  if (panel < 1 || panel > panelCount()) return;
  texts_[panel - 1] = text;
  notify(viewerprop::kPanels);
}

std::string StatusBar::panelText(int panel) const {
  if (panel < 1 || panel > panelCount()) return "";
  return texts_[panel - 1];
}

void PictureBox::setStretch(bool on) {
  stretch_ = on;
  notify(viewerprop::kStretch);
}

bool PictureBox::loadPicture(const std::string& path) {
  if (path.empty()) {
    clearPicture();
    return true;
  }
  Size size;
  auto* p = dynamic_cast<PicturePeer*>(peer());
  if (!p || !p->loadPicture(path, size)) {
    clearPicture();
    return false;
  }
  path_ = path;
  pictureSize_ = size;
  if (autoSize_) setBounds(left(), top(), size.width, size.height);
  notify(viewerprop::kPicture);
  return true;
}

void PictureBox::clearPicture() {
  path_.clear();
  pictureSize_ = Size{};
  if (autoSize_) setBounds(left(), top(), 0, 0);
  if (auto* p = dynamic_cast<PicturePeer*>(peer())) {
    Size ignored;
    p->loadPicture("", ignored);
  }
  notify(viewerprop::kPicture);
}

void ScrollBar::setRange(int lo, int hi) {
  min_ = lo;
  max_ = std::max(lo, hi);
  notify(viewerprop::kScroll);
  if (value_ < min_ || value_ > max_) setValue(value_);
}

void ScrollBar::setChanges(int smallChange, int largeChange) {
  small_ = std::max(1, smallChange);
  large_ = std::max(1, largeChange);
  notify(viewerprop::kScroll);
}

void ScrollBar::setValue(int v) {
  v = std::clamp(v, min_, max_);
  if (v == value_) return;
  value_ = v;
  notify(viewerprop::kScroll);
  if (onChange) onChange();
}

bool TextBox::pressKey(char key) {
  if (onKeyPress && onKeyPress(key)) return true;
  if (key != '\r') setText(text() + key);
  return false;
}

Timer::~Timer() {
  if (id_ && running_) running_->stopTimer(id_);
}

void Timer::setInterval(int milliseconds) {
  if (id_ && running_) running_->stopTimer(id_);
  id_ = 0;
  interval_ = milliseconds > 0 ? milliseconds : 0;
  running_ = &app();
  if (interval_ > 0)
    id_ = running_->startTimer(static_cast<std::uint32_t>(interval_), [this] {
      if (onTimer) onTimer();
    });
}

bool CommonDialog::showFile(FileDialogOptions& options) {
  auto* p = dynamic_cast<CommonDialogPeer*>(peer());
  return p && p->showFile(options);
}

bool CommonDialog::printForm(Form& form, std::uint32_t flags) {
  auto* p = dynamic_cast<CommonDialogPeer*>(peer());
  return p && p->printForm(form, flags);
}

}  // namespace ui

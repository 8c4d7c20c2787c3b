// The standard controls: their own properties and click behaviour.
#include "platform/ui/controls.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace ui {

void Button::setDefault(bool on) {
  default_ = on;
  notify(prop::kDefault);
}

void Button::setCancel(bool on) {
  cancel_ = on;
  notify(prop::kDefault);
}

void Button::click() {
  if (!effectivelyEnabled() || !effectivelyVisible()) return;
  if (onClick) onClick();
  if (modalResult_ != 0) {
    if (Form* f = form()) f->setModalResult(modalResult_);
  }
}

Label::Label(Control* parent, std::string name) : Control(parent, std::move(name)) {}

void Label::setAutoSize(bool on) {
  autoSize_ = on;
  notify(prop::kAutoSize);
  if (on) adjustSize();
}

void Label::setWordWrap(bool on) {
  wordWrap_ = on;
  notify(prop::kWordWrap);
}

void Label::setTransparent(bool on) {
  transparent_ = on;
  notify(prop::kTransparent);
}

void Label::setAlignment(Alignment a) {
  alignment_ = a;
  notify(prop::kAlignment);
}

void Label::setCentredVertically(bool on) {
  layoutCentre_ = on;
  notify(prop::kAlignment);
}

void Label::adjustSize() {
  if (!autoSize_) return;
  Form* f = form();
  if (!f) return;
  Size s = f->application().backend().measureText(font(), caption(), wordWrap_ ? width() : 0);
  if (wordWrap_) s.width = width();
  setBounds(left(), top(), s.width, s.height);
}

void Label::changed(int property) {
  if (autoSize_ && (property == prop::kCaption || property == prop::kFont)) adjustSize();
}

void Label::repaint() { notify(prop::kRepaint); }

void TextControl::setText(const std::string& t) {
  if (t == text_) return;
  text_ = t;
  notify(prop::kText);
}

void TextControl::setReadOnly(bool on) {
  readOnly_ = on;
  notify(prop::kReadOnly);
}

void Memo::setScrollBars(ScrollBars s) {
  if (s == scrollBars_) return;
  scrollBars_ = s;
  notify(prop::kScrollBars);
}

void Memo::setWordWrap(bool on) {
  wordWrap_ = on;
  notify(prop::kWordWrap);
}

void Memo::setLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) t += "\r\n";
    t += lines[i];
  }
  setText(t);
}

std::vector<std::string> Memo::lines() const {
  std::vector<std::string> out;
  const std::string& t = text();
  if (t.empty()) return out;
  size_t start = 0;
  for (;;) {
    size_t p = t.find("\r\n", start);
    if (p == std::string::npos) {
      out.push_back(t.substr(start));
      break;
    }
    out.push_back(t.substr(start, p - start));
    start = p + 2;
  }
  return out;
}

void CheckBox::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  notify(prop::kChecked);
}

void CheckBox::click() {
  if (!effectivelyEnabled() || !effectivelyVisible()) return;
  setChecked(!checked_);
  if (onClick) onClick();
}

void ProgressBar::setRange(int lo, int hi) {
  min_ = lo;
  max_ = hi;
  position_ = std::clamp(position_, min_, std::max(min_, max_));
  notify(prop::kPosition);
}

void ProgressBar::setPosition(int p) {
  p = std::clamp(p, min_, std::max(min_, max_));
  if (p == position_) return;
  position_ = p;
  notify(prop::kPosition);
}

}  // namespace ui

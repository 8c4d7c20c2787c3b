// The standard controls of the installer's windows: button, label, group box, one-line edit,
// multi-line memo, check box and progress bar.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

enum class Alignment { Left, Right, Centre };
enum class ScrollBars { None, Horizontal, Vertical, Both };

class Button : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "Button"; }
  // Enter presses the default button, Escape the cancel button.
  bool isDefault() const { return default_; }
  void setDefault(bool on);
  bool isCancel() const { return cancel_; }
  void setCancel(bool on);
  // A non-zero modal result is given to the form when the button is clicked.
  int modalResult() const { return modalResult_; }
  void setModalResult(int r) { modalResult_ = r; }
  void click() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

// A text drawn by its form; it holds no window of its own.
class Label : public Control {
 public:
  Label(Control* parent, std::string name);
  const char* kind() const override { return "Label"; }
  bool windowed() const override { return false; }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  bool transparent() const { return transparent_; }
  void setTransparent(bool on);
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment a);
  bool centredVertically() const { return layoutCentre_; }
  void setCentredVertically(bool on);
  // An auto-sized label takes the size of its text (measured by the backend).
  void adjustSize();
  // Asks the form to draw the label again now.
  void repaint();

 protected:
  void changed(int property) override;

 private:
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  Alignment alignment_ = Alignment::Left;
  bool layoutCentre_ = false;
};

// A framed box with a caption; its children lie inside it.
class GroupBox : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "GroupBox"; }
  bool windowed() const override { return false; }
};

// Shared by the one-line edit and the memo: the text, read-only.
class TextControl : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  void setText(const std::string& t);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool on);
  // The peer reports what the user typed; no echo back to the peer.
  void textChangedByUser(const std::string& t) { text_ = t; }

 private:
  std::string text_;
  bool readOnly_ = false;
};

class Edit : public TextControl {
 public:
  using TextControl::TextControl;
  const char* kind() const override { return "Edit"; }
};

// Multi-line text. Lines are kept as one text with "\r\n" between them, as the system does.
class Memo : public TextControl {
 public:
  using TextControl::TextControl;
  const char* kind() const override { return "Memo"; }
  ScrollBars scrollBars() const { return scrollBars_; }
  void setScrollBars(ScrollBars s);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  void setLines(const std::vector<std::string>& lines);
  std::vector<std::string> lines() const;

 private:
  ScrollBars scrollBars_ = ScrollBars::None;
  bool wordWrap_ = true;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "CheckBox"; }
  bool checked() const { return checked_; }
  void setChecked(bool on);
  // A click toggles the box, then runs onClick.
  void click() override;
  void checkedChangedByUser(bool on) { checked_ = on; }

 private:
  bool checked_ = false;
};

class ProgressBar : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "ProgressBar"; }
  int min() const { return min_; }
  int max() const { return max_; }
  void setRange(int lo, int hi);
  int step() const { return step_; }
  void setStep(int s) { step_ = s; }
  int position() const { return position_; }
  // Kept inside the range, as the system's bar does.
  void setPosition(int p);

 private:
  int min_ = 0;
  int max_ = 100;
  int step_ = 10;
  int position_ = 0;
};

}  // namespace ui

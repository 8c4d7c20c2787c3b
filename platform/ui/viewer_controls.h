// Controls of the viewer's windows: menu bar and items, toolbar with image buttons and tooltips,
// status bar with panels, picture boxes (self-sizing or stretching), scroll bars, a timer and
// the common dialogs (open, save, printer, printing a form's image).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace ui {

// Property numbers of these controls, told to their peers.
namespace viewerprop {
enum : int { kMenu = prop::kCustom + 100, kButtons, kPanels, kPicture, kScroll, kStretch, kPlacement };
}

// The outer placement of its form in pixels, frame and menu included. A backend with real windows
// reports the window's outer rectangle and client size here whenever they change, and moves the
// window when the program asks; without such a backend `live` stays false.
class WindowPlacement : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "WindowPlacement"; }
  bool windowed() const override { return false; }
  bool live() const { return live_; }
  Rect outer() const { return outer_; }
  Size client() const { return client_; }
  void requestOuter(const Rect& r) {
    requested_ = r;
    notify(viewerprop::kPlacement);
  }
  Rect requested() const { return requested_; }
  void reported(const Rect& outer, const Size& client) {
    live_ = true;
    outer_ = outer;
    client_ = client;
  }

 private:
  bool live_ = false;
  Rect outer_, requested_;
  Size client_;
};

// A menu item; "-" as caption makes a separator. Items of a drop-down menu are its children.
class MenuItem : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "MenuItem"; }
  bool windowed() const override { return false; }
  bool separator() const { return caption() == "-"; }
  void click() override {
    if (!separator() && onClick) onClick();
  }
};

// The form's menu bar; its children are the top-level menus.
class MenuBar : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "MenuBar"; }
  bool windowed() const override { return false; }
  MenuItem& add(MenuItem& item);
};

struct ToolButton {
  std::string tooltip;
  int image = 0;  // 1-based index into the image list; 0 for a separator
  bool separator = false;
};

class Toolbar : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "Toolbar"; }
  // The image list: picture files of equal size, in order.
  void setImages(std::vector<std::string> files, int width, int height);
  const std::vector<std::string>& images() const { return images_; }
  int imageWidth() const { return imageWidth_; }
  int imageHeight() const { return imageHeight_; }
  void setButtons(std::vector<ToolButton> buttons);
  const std::vector<ToolButton>& buttons() const { return buttons_; }
  // A click on button `index` (1-based); separators raise nothing.
  void clickButton(int index);
  std::function<void(int index)> onButtonClick;

 private:
  std::vector<std::string> images_;
  int imageWidth_ = 0, imageHeight_ = 0;
  std::vector<ToolButton> buttons_;
};

class StatusBar : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "StatusBar"; }
  // Panel widths in pixels; the last one takes the rest of the bar.
  void setPanels(std::vector<int> widths);
  const std::vector<int>& panelWidths() const { return widths_; }
  // 1-based, as the panels are numbered.
  void setPanelText(int panel, const std::string& text);
  std::string panelText(int panel) const;
  int panelCount() const { return static_cast<int>(texts_.size()); }

 private:
  std::vector<int> widths_;
  std::vector<std::string> texts_;
};

// The backend's side of a picture: it decodes the file and reports the picture's size in pixels.
class PicturePeer : public ControlPeer {
 public:
  virtual bool loadPicture(const std::string& path, Size& size) = 0;
};

// A picture box. Self-sizing: it takes the picture's size; stretching: the picture is drawn
// scaled to the box. Other picture boxes may be placed inside (the frame clips them).
class PictureBox : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "PictureBox"; }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool on) { autoSize_ = on; }
  bool stretch() const { return stretch_; }
  void setStretch(bool on);
  bool border() const { return border_; }
  void setBorder(bool on) { border_ = on; }
  // Loads a picture file; false when it is not a picture that can be shown (then the box is
  // empty). An empty path clears the picture.
  bool loadPicture(const std::string& path);
  void clearPicture();
  const std::string& picturePath() const { return path_; }
  Size pictureSize() const { return pictureSize_; }

 private:
  bool autoSize_ = false;
  bool stretch_ = false;
  bool border_ = false;
  std::string path_;
  Size pictureSize_;
};

class ScrollBar : public Control {
 public:
  ScrollBar(Control* parent, std::string name, bool vertical) : Control(parent, std::move(name)), vertical_(vertical) {}
  const char* kind() const override { return "ScrollBar"; }
  bool vertical() const { return vertical_; }
  int min() const { return min_; }
  int max() const { return max_; }
  int value() const { return value_; }
  int smallChange() const { return small_; }
  int largeChange() const { return large_; }
  void setRange(int lo, int hi);
  void setChanges(int smallChange, int largeChange);
  // A new value raises onChange, as the system's bar does; a value outside the range is pinned.
  void setValue(int v);
  // The peer reports a value the user chose (thumb released, arrow or track click).
  void valueChangedByUser(int v) { setValue(v); }
  std::function<void()> onChange;

 private:
  bool vertical_;
  int min_ = 0, max_ = 0, value_ = 0, small_ = 1, large_ = 1;
};

// A one-line text box that reports key presses before it takes them.
class TextBox : public Edit {
 public:
  using Edit::Edit;
  const char* kind() const override { return "TextBox"; }
  bool centred() const { return centred_; }
  void setCentred(bool on) { centred_ = on; notify(prop::kAlignment); }
  // A typed character: onKeyPress may swallow it (returns true); otherwise it is taken as text.
  // Returns true when it was swallowed.
  bool pressKey(char key);
  std::function<bool(char key)> onKeyPress;

 private:
  bool centred_ = false;
};

// A timer: ticks every `interval` milliseconds while the interval is above 0.
class Timer : public Control {
 public:
  using Control::Control;
  ~Timer() override;
  const char* kind() const override { return "Timer"; }
  bool windowed() const override { return false; }
  int interval() const { return interval_; }
  void setInterval(int milliseconds);
  std::function<void()> onTimer;

 private:
  int interval_ = 0;
  int id_ = 0;
  Application* running_ = nullptr;  // the application that holds the running timer
};

struct FileDialogOptions {
  bool save = false;
  std::string filter;    // "description|pattern|description|pattern"
  std::string fileName;  // preset, and the chosen path on return
  std::string title;
};

// The backend's side of the common dialogs.
class CommonDialogPeer : public ControlPeer {
 public:
  virtual bool showFile(FileDialogOptions& options) = 0;
  // The printer dialog with the system's flags, then the form's image printed as one page.
  virtual bool printForm(Form& form, std::uint32_t flags) = 0;
};

class CommonDialog : public Control {
 public:
  using Control::Control;
  const char* kind() const override { return "CommonDialog"; }
  bool windowed() const override { return false; }
  // False when cancelled, failed or no backend can show it.
  bool showFile(FileDialogOptions& options);
  bool printForm(Form& form, std::uint32_t flags);
};

}  // namespace ui

// A top-level window: caption, client size, placement, border, modal display and the form events.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/control.h"

namespace ui {

// Modal results, with the system's button ids.
namespace mr {
constexpr int kNone = 0;
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace mr

enum class Position { Designed, Default, ScreenCentre };
enum class WindowState { Normal, Maximised, Minimised };
enum class BorderStyle { None, Single, Sizeable, Dialog };
enum class CloseAction { None, Hide, Free };

// The access key of a caption: the letter after a single "&" (upper-cased), or 0. Captions are
// CP932, so the second byte of a double-byte character is never taken for "&".
char AccessKeyOf(const std::string& caption);

class Form : public Control {
 public:
  Form(Application& app, std::string name);
  ~Form() override;
  const char* kind() const override { return "Form"; }

  Application& application() const { return app_; }

  // The client area; the outer bounds follow from it and the border (the backend knows the frame).
  Size clientSize() const { return client_; }
  void setClientSize(int width, int height);
  int clientWidth() const { return client_.width; }
  int clientHeight() const { return client_.height; }

  Position position() const { return position_; }
  void setPosition(Position p) { position_ = p; }
  WindowState windowState() const { return windowState_; }
  void setWindowState(WindowState s);
  BorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(BorderStyle b) { borderStyle_ = b; }
  // Title-bar buttons beyond the system menu icon.
  bool minimiseBox() const { return minimiseBox_; }
  bool maximiseBox() const { return maximiseBox_; }
  bool systemMenu() const { return systemMenu_; }
  void setBorderIcons(bool systemMenu, bool minimise, bool maximise);

  // Greys and disables the Close item of the system menu (and the title bar's close button).
  void disableSystemClose();
  bool systemCloseEnabled() const { return systemCloseEnabled_; }

  void show();
  void hide();
  // Shows the form modally and returns its modal result once it has closed.
  int showModal();
  bool isModal() const { return modal_; }
  int modalResult() const { return modalResult_; }
  void setModalResult(int r) { modalResult_ = r; }
  // Closes the form: a modal form gets the result mrCancel; otherwise the close query runs
  // and the form hides, or, being the application's main form, ends the application.
  void close();

  // Keyboard: the control whose caption marks this letter with "&" (letter case ignored) is
  // clicked; Enter clicks the focused button or else the default one, Escape the cancel button. False when none can take it.
  bool pressAccessKey(char letter);
  bool pressEnter();
  bool pressEscape();

  Control* activeControl() const { return activeControl_; }
  void setActiveControl(Control* c) { activeControl_ = c; }
  bool active() const { return active_; }

  std::function<void()> onCreate;
  std::function<void()> onActivate;
  std::function<void()> onResize;
  std::function<void(bool& canClose)> onCloseQuery;
  std::function<void(CloseAction& action)> onClose;

  // Backends report these.
  void created();
  void activated();
  void deactivated() { active_ = false; }
  // The outer size changed (maximised, restored, user resize).
  void resized(const Rect& outer);
  bool closeQuery();

 private:
  bool endModal();

  Application& app_;
  Size client_{200, 150};
  Position position_ = Position::Designed;
  WindowState windowState_ = WindowState::Normal;
  BorderStyle borderStyle_ = BorderStyle::Sizeable;
  bool systemMenu_ = true;
  bool minimiseBox_ = true;
  bool maximiseBox_ = true;
  bool systemCloseEnabled_ = true;
  bool modal_ = false;
  bool active_ = false;
  int modalResult_ = mr::kNone;
  Control* activeControl_ = nullptr;
};

}  // namespace ui

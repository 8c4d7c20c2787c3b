// Building blocks of the Win32 backend for control peers, also for control kinds added later:
// text conversion, fonts, the form peer and the peer of a control with its own child window.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace ui::win32 {

std::wstring Widen(const std::string& cp932);
std::string Narrow(const std::wstring& text);
// A cached font object for a model font (never freed while the program runs).
HFONT FontHandle(const Font& font);
// Label and caption text with every line break as CR LF, which the system's drawing expects.
std::wstring DisplayText(const std::string& cp932);

class FormPeer;

// The peer of a control with a window of its own, a child of its form's window placed at the
// control's position in the form (group boxes and labels are drawn by the form, not parents).
class ChildPeer : public ControlPeer {
 public:
  ChildPeer(Control& control, const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
  ~ChildPeer() override;
  void update(int property) override;
  void setFocus() override;
  // A notification code from WM_COMMAND.
  virtual void command(int code) {}
  // WM_CTLCOLOR*: the brush for the control's background, or nullptr for the default.
  virtual HBRUSH colours(HDC dc);
  // Shows, hides, moves and enables the window as its model and its parents say.
  void syncPlacement();
  HWND hwnd() const { return hwnd_; }
  Control& control() const { return control_; }

 protected:
  // Destroys and creates the window again with new styles (for styles the system fixes at creation).
  void recreate(DWORD style, DWORD exStyle);
  Control& control_;

 private:
  void create();
  const wchar_t* class_;
  DWORD style_;
  DWORD exStyle_;
  HWND hwnd_ = nullptr;
  int id_ = 0;
};

// The top-level window of a form; it draws the windowless controls (labels, group boxes).
class FormPeer : public ControlPeer {
 public:
  explicit FormPeer(Form& form);
  ~FormPeer() override;
  void update(int property) override;
  HWND hwnd() const { return hwnd_; }
  Form& form() const { return form_; }
  HBRUSH background() const { return brush_; }
  COLORREF backgroundColour() const;
  // Places every windowed control under `root` again (after a parent moved, hid or was disabled).
  void syncSubtree(Control& root);
  void invalidate();
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void paint(HDC dc);
  void paintTree(HDC dc, Control& c);
  void applyBounds();
  Form& form_;
  HWND hwnd_ = nullptr;
  HBRUSH brush_ = nullptr;
  bool showing_ = false;
};

FormPeer* PeerOfForm(Control& c);

}  // namespace ui::win32

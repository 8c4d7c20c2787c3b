// The control model: the base of every window and control. A control holds its state (caption,
// bounds, enabled, visible, font...) and tells its backend peer when something changed; the peer
// mirrors the state into a real window (win32) or does nothing (headless).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/geometry.h"

namespace ui {

class Application;
class Control;
class Form;

// Font of a control. `height` in pixels wins over `size` in points when it is not 0.
struct Font {
  std::string name = "ＭＳ Ｐゴシック";
  int size = 9;
  int height = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint32_t color = 0x000000;  // 0x00BBGGRR, as the system's COLORREF
  int charset = 128;               // SHIFTJIS_CHARSET
  bool operator==(const Font& o) const {
    return name == o.name && size == o.size && height == o.height && bold == o.bold && italic == o.italic &&
           underline == o.underline && color == o.color && charset == o.charset;
  }
};

// Colours the programs use (COLORREF values).
namespace colour {
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kTeal = 0x808000;
constexpr std::uint32_t kButtonFace = 0xFF000000u;  // "the system's button face", resolved by the backend
}  // namespace colour

// What changed, as told to a peer. New control kinds number their own properties from kCustom.
namespace prop {
enum : int {
  kCaption = 1,
  kBounds,
  kEnabled,
  kVisible,
  kFont,
  kColour,
  kTabOrder,
  kText,
  kChecked,
  kReadOnly,
  kScrollBars,
  kAlignment,
  kWordWrap,
  kAutoSize,
  kTransparent,
  kPosition,  // progress bar position or range
  kDefault,   // button default / cancel
  kSystemMenu,
  kWindowState,
  kRepaint,
  kCustom = 1000,
};
}  // namespace prop

// The backend's side of one control. Created by the backend's factory for the control's kind.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void update(int property) {}
  virtual void setFocus() {}
};

class Control {
 public:
  // A control registers with its parent; a form passes nullptr.
  Control(Control* parent, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The kind names the backend factory that builds the peer ("Button", "Label", ...).
  virtual const char* kind() const = 0;
  // True for controls that hold a real window of their own (buttons, edits); labels and group
  // boxes are drawn by their form.
  virtual bool windowed() const { return true; }

  const std::string& name() const { return name_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  Form* form();
  const Form* form() const;
  Application& app() const;

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);

  const Rect& bounds() const { return bounds_; }
  void setBounds(const Rect& r);
  void setBounds(int left, int top, int width, int height) { setBounds(Rect{left, top, width, height}); }
  int left() const { return bounds_.left; }
  int top() const { return bounds_.top; }
  int width() const { return bounds_.width; }
  int height() const { return bounds_.height; }
  void setLeft(int v) { setBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void setTop(int v) { setBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  void setWidth(int v) { setBounds(bounds_.left, bounds_.top, v, bounds_.height); }
  void setHeight(int v) { setBounds(bounds_.left, bounds_.top, bounds_.width, v); }
  // Bounds relative to the form's client area (sum of the parents' offsets).
  Rect boundsInForm() const;

  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool visible() const { return visible_; }
  void setVisible(bool on);
  // The control and all its parents (the form included) are visible / enabled.
  bool effectivelyVisible() const;
  bool effectivelyEnabled() const;

  const Font& font() const { return font_; }
  void setFont(const Font& f);
  std::uint32_t colour() const { return colour_; }
  void setColour(std::uint32_t c);
  int tabOrder() const { return tabOrder_; }
  void setTabOrder(int order);

  // Keyboard focus: the form's active control.
  void setFocus();
  bool focused() const;

  // Builds the backend peer of this control and of its children (a form does it when the
  // application creates it; a control made later calls it itself).
  void realize();
  ControlPeer* peer() const { return peer_.get(); }
  // Tells the peer that a property changed; new control kinds call it from their setters.
  void notify(int property);

  std::function<void()> onClick;
  // What a user's click does: nothing unless the control can take input.
  virtual void click();

 protected:
  // Runs before the peer hears of a change; a control kind reacts to its own properties here
  // (an auto-sized label measures itself again when its caption or font changed).
  virtual void changed(int property) {}
  // Children adopt their parent's font unless they were given their own.
  bool parentFont_ = true;

 private:
  friend class Form;
  void adoptFont(const Font& f);

  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  std::string caption_;
  Rect bounds_;
  bool enabled_ = true;
  bool visible_ = true;
  Font font_;
  std::uint32_t colour_ = colour::kButtonFace;
  int tabOrder_ = -1;
  std::unique_ptr<ControlPeer> peer_;
};

}  // namespace ui

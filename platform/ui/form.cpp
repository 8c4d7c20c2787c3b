// Forms: showing, the modal loop with its close query, closing and the form events.
#include "platform/ui/form.h"

#include "platform/ui/application.h"
#include "platform/ui/controls.h"

namespace ui {

Form::Form(Application& app, std::string name) : Control(nullptr, std::move(name)), app_(app) {
  visible_ = false;
  bounds_ = Rect{0, 0, client_.width, client_.height};
}

Form::~Form() { app_.formDestroyed(*this); }

void Form::setClientSize(int width, int height) {
  client_ = Size{width, height};
  bounds_.width = width;
  bounds_.height = height;
  notify(prop::kBounds);
}

void Form::setWindowState(WindowState s) {
  windowState_ = s;
  notify(prop::kWindowState);
}

void Form::setBorderIcons(bool systemMenu, bool minimise, bool maximise) {
  systemMenu_ = systemMenu;
  minimiseBox_ = minimise;
  maximiseBox_ = maximise;
  notify(prop::kSystemMenu);
}

void Form::disableSystemClose() {
  systemCloseEnabled_ = false;
  notify(prop::kSystemMenu);
}

void Form::show() {
  bool wasVisible = visible();
  setVisible(true);
  if (!wasVisible) app_.backend().formShown(*this);
}

void Form::hide() {
  setVisible(false);
  active_ = false;
}

bool Form::closeQuery() {
  bool canClose = true;
  if (onCloseQuery) onCloseQuery(canClose);
  return canClose;
}

bool Form::endModal() {
  if (!closeQuery()) {
    modalResult_ = mr::kNone;
    return false;
  }
  CloseAction action = CloseAction::Hide;
  if (onClose) onClose(action);
  if (action == CloseAction::None) {
    modalResult_ = mr::kNone;
    return false;
  }
  return true;
}

int Form::showModal() {
  Backend& backend = app_.backend();
  modalResult_ = mr::kNone;
  modal_ = true;
  app_.pushModal(*this);
  backend.beginModal(*this);
  show();
  for (;;) {
    if (modalResult_ != mr::kNone) {
      if (endModal()) break;
      continue;
    }
    if (!backend.waitForEvent(this)) break;
  }
  int result = modalResult_;
  hide();
  modal_ = false;
  backend.endModal(*this);
  app_.popModal();
  return result;
}

void Form::close() {
  if (modal_) {
    modalResult_ = mr::kCancel;
    return;
  }
  if (!closeQuery()) return;
  bool isMain = app_.mainForm() == this;
  CloseAction action = isMain ? CloseAction::Free : CloseAction::Hide;
  if (onClose) onClose(action);
  if (action == CloseAction::None) return;
  hide();
  if (isMain) app_.terminate();
}

char AccessKeyOf(const std::string& caption) {
  for (std::size_t i = 0; i < caption.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(caption[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      ++i;
      continue;
    }
    if (b == '&' && i + 1 < caption.size()) {
      char next = caption[i + 1];
      if (next == '&') {
        ++i;
        continue;
      }
      return (next >= 'a' && next <= 'z') ? static_cast<char>(next - 'a' + 'A') : next;
    }
  }
  return 0;
}

namespace {

template <typename Pred>
Control* FindInTree(Control& root, Pred pred) {
  for (Control* c : root.children()) {
    if (pred(*c)) return c;
    if (Control* found = FindInTree(*c, pred)) return found;
  }
  return nullptr;
}

bool CanTakeInput(const Control& c) { return c.windowed() && c.effectivelyVisible() && c.effectivelyEnabled(); }

}  // namespace

bool Form::pressAccessKey(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  Control* target = FindInTree(*this, [letter](Control& c) {
    return CanTakeInput(c) && AccessKeyOf(c.caption()) == letter;
  });
  if (!target) return false;
  target->setFocus();
  target->click();
  return true;
}

bool Form::pressEnter() {
  // A focused button takes Enter itself, as in the system's dialogs; otherwise the default one.
  Control* target = nullptr;
  if (auto* focused = dynamic_cast<Button*>(activeControl_); focused && CanTakeInput(*focused)) target = focused;
  if (!target) {
    target = FindInTree(*this, [](Control& c) {
      auto* b = dynamic_cast<Button*>(&c);
      return b && b->isDefault() && CanTakeInput(c);
    });
  }
  if (!target) return false;
  target->click();
  return true;
}

bool Form::pressEscape() {
  Control* target = FindInTree(*this, [](Control& c) {
    auto* b = dynamic_cast<Button*>(&c);
    return b && b->isCancel() && CanTakeInput(c);
  });
  if (!target) return false;
  target->click();
  return true;
}

void Form::created() {
  if (onCreate) onCreate();
}

void Form::activated() {
  for (Form* f : app_.forms())
    if (f != this) f->active_ = false;
  active_ = true;
  if (onActivate) onActivate();
}

void Form::resized(const Rect& outer) {
  bounds_ = outer;
  if (onResize) onResize();
}

}  // namespace ui

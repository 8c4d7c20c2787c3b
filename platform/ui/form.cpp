// Forms: showing, the modal loop with its close query, closing and the form events.
#include "platform/ui/form.h"

#include "platform/ui/application.h"

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

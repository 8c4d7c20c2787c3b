// The application object: forms, message boxes, time and the main loop, over a backend.
#include "platform/ui/application.h"

#include <algorithm>

namespace ui {

std::unique_ptr<ControlPeer> Backend::createPeer(Control& control) {
  auto it = factories_.find(control.kind());
  if (it == factories_.end()) return nullptr;
  return it->second(control);
}

Application::Application(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}

Application::~Application() = default;

void Application::setTitle(const std::string& title) {
  title_ = title;
  backend_->setTitle(title);
}

void Application::createForm(Form& form) {
  if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end()) forms_.push_back(&form);
  if (!mainForm_) mainForm_ = &form;
  form.realize();
  form.created();
}

void Application::formDestroyed(Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &form), modalStack_.end());
  if (mainForm_ == &form) mainForm_ = nullptr;
}

int Application::messageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  Form* owner = nullptr;
  for (Form* f : forms_)
    if (f->visible() && f->active()) owner = f;
  if (!owner && !modalStack_.empty() && modalStack_.back()->visible()) owner = modalStack_.back();
  return backend_->messageBox(owner, text, caption, flags);
}

void Application::processMessages() { backend_->processMessages(); }

void Application::sleep(std::uint32_t milliseconds) { backend_->sleep(milliseconds); }

std::uint64_t Application::tickCount() { return backend_->tickCount(); }

int Application::startTimer(std::uint32_t milliseconds, std::function<void()> callback) {
  return backend_->startTimer(milliseconds, std::move(callback));
}

void Application::stopTimer(int id) { backend_->stopTimer(id); }

void Application::run() {
  if (!mainForm_ || terminated_) return;
  mainForm_->show();
  while (!terminated_ && mainForm_ && mainForm_->visible()) {
    if (!backend_->waitForEvent(nullptr)) break;
  }
}

void Application::terminate() {
  terminated_ = true;
  backend_->quit();
}

}  // namespace ui

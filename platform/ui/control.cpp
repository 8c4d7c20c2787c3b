// The control model: tree, properties and change notification to the peer.
#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace ui {

Control::Control(Control* parent, std::string name) : name_(std::move(name)), parent_(parent) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;
  }
}

Control::~Control() {
  peer_.reset();
  for (Control* c : children_) c->parent_ = nullptr;
  if (parent_) {
    auto& sib = parent_->children_;
    sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
    Form* f = form();
    if (f && f->activeControl() == this) f->setActiveControl(nullptr);
  }
}

Form* Control::form() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<Form*>(c);
}

const Form* Control::form() const { return const_cast<Control*>(this)->form(); }

Application& Control::app() const { return form()->application(); }

void Control::setCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  notify(prop::kCaption);
}

void Control::setBounds(const Rect& r) {
  if (r == bounds_) return;
  bounds_ = r;
  notify(prop::kBounds);
}

Rect Control::boundsInForm() const {
  Rect r = bounds_;
  for (const Control* p = parent_; p && p->parent_; p = p->parent_) {
    r.left += p->bounds_.left;
    r.top += p->bounds_.top;
  }
  return r;
}

void Control::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  notify(prop::kEnabled);
}

void Control::setVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  notify(prop::kVisible);
}

bool Control::effectivelyVisible() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool Control::effectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void Control::setFont(const Font& f) {
  parentFont_ = false;
  if (f == font_) return;
  font_ = f;
  notify(prop::kFont);
  for (Control* c : children_) c->adoptFont(f);
}

void Control::adoptFont(const Font& f) {
  if (!parentFont_) return;
  font_ = f;
  notify(prop::kFont);
  for (Control* c : children_) c->adoptFont(f);
}

void Control::setColour(std::uint32_t c) {
  if (c == colour_) return;
  colour_ = c;
  notify(prop::kColour);
}

void Control::setTabOrder(int order) {
  tabOrder_ = order;
  notify(prop::kTabOrder);
}

void Control::setFocus() {
  Form* f = form();
  if (f) f->setActiveControl(this);
  if (peer_) peer_->setFocus();
}

bool Control::focused() const {
  const Form* f = form();
  return f && f->activeControl() == this;
}

void Control::realize() {
  Form* f = form();
  if (f && !peer_) peer_ = f->application().backend().createPeer(*this);
  for (Control* c : children_) c->realize();
}

void Control::notify(int property) {
  changed(property);
  if (peer_) peer_->update(property);
}

void Control::click() {
  if (!effectivelyEnabled() || !effectivelyVisible()) return;
  if (onClick) onClick();
}

}  // namespace ui

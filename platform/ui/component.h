// A non-visual component owned by a form, the base of dialog components such as the folder chooser.
#pragma once

#include <string>

namespace ui {

class Form;

class Component {
 public:
  Component(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {}
  virtual ~Component() = default;
  Form* owner() const { return owner_; }
  const std::string& name() const { return name_; }

 private:
  Form* owner_;
  std::string name_;
};

}  // namespace ui

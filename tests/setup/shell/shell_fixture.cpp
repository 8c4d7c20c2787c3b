// The scenario fixture: a fresh machine in a temporary folder and the program entry over it.
#include "shell_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "setup/support/globals.h"

namespace shelltest {

namespace {

std::string MakeRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "shell_test_XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  return std::string(buffer.data()) + "/machine";
}

void CaptureTree(ui::Control& c, FormView& view) {
  ControlView v;
  v.caption = c.caption();
  if (auto* t = dynamic_cast<ui::TextControl*>(&c)) {
    v.text = t->text();
    v.readOnly = t->readOnly();
  }
  if (auto* m = dynamic_cast<ui::Memo*>(&c)) v.scrollBars = m->scrollBars();
  if (auto* b = dynamic_cast<ui::CheckBox*>(&c)) v.checked = b->checked();
  v.enabled = c.enabled();
  v.visible = c.visible();
  v.bounds = c.bounds();
  view[c.name()] = v;
  for (ui::Control* child : c.children()) CaptureTree(*child, view);
}

}  // namespace

FormView Capture(ui::Form& form) {
  FormView view;
  CaptureTree(form, view);
  return view;
}

std::string Script(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

SetupRun::SetupRun(plat::MachineLayout layout)
    : root(MakeRoot()),
      machine(plat::PosixMachine::fresh(root, std::move(layout))),
      services(machine.services()),
      ui(nullptr),
      app([this] {
        auto b = std::make_unique<ui::headless::HeadlessBackend>(ui::Size{1024, 768});
        ui = b.get();
        return b;
      }()) {
  setup::ResetGlobals(services, nullptr);
}

SetupRun::~SetupRun() {
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(root).parent_path(), ec);
}

void SetupRun::medium(const std::vector<std::pair<std::string, std::string>>& files) {
  machine.putMedium("D:\\", files);
}

void SetupRun::atMain(std::function<void(setup::TfrmMain&)> action) {
  ui->whenModal("frmMain", [action](ui::Form& f) { action(static_cast<setup::TfrmMain&>(f)); });
}

int SetupRun::run(const std::vector<std::string>& args) { return setup::SetupMain(app, args, hooks); }

void SetupRun::startUp(const std::vector<std::string>& args) {
  atMain([this](setup::TfrmMain& m) {
    main = Capture(m);
    if (setup::frmBack) back = Capture(*setup::frmBack);
    ui->answerMessageBox(ui::mb::kIdYes);
    m.btnEnd.click();
  });
  run(args);
}

}  // namespace shelltest

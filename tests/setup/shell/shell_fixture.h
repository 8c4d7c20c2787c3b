// A machine, the headless window layer and setup's program entry, with views of the windows.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"
#include "platform/ui/headless/headless_backend.h"
#include "setup/shell/forms.h"
#include "setup/shell/program.h"

namespace shelltest {

// What a person sees of one control (or of the form itself, under the form's name).
struct ControlView {
  std::string caption;
  std::string text;
  bool enabled = false;
  bool visible = false;
  bool checked = false;
  ui::ScrollBars scrollBars = ui::ScrollBars::None;
  bool readOnly = false;
  ui::Rect bounds;
};
using FormView = std::map<std::string, ControlView>;
FormView Capture(ui::Form& form);

// A script file's text from lines (CRLF line ends).
std::string Script(const std::vector<std::string>& lines);

class SetupRun {
 public:
  explicit SetupRun(plat::MachineLayout layout = plat::MachineLayout::typical());
  ~SetupRun();

  // Puts files on the distribution drive beside D:\SETUP.EXE.
  void medium(const std::vector<std::pair<std::string, std::string>>& files);
  // Queues an action for the main window's next wait.
  void atMain(std::function<void(setup::TfrmMain&)> action);
  int run(const std::vector<std::string>& args = {});

  // Runs the program up to its first page, takes views of the main and background windows, then
  // ends it with btnEnd (answering Yes to a close question).
  void startUp(const std::vector<std::string>& args = {});
  FormView main;
  FormView back;

  std::string root;
  plat::PosixMachine machine;
  plat::Services services;
  ui::headless::HeadlessBackend* ui;
  ui::Application app;
  setup::RunHooks hooks;
};

}  // namespace shelltest

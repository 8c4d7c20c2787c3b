// Headless peers of the viewer's controls: pictures are measured by a loader the caller gives
// (so sizes are real), and the common dialogs follow a script and record what was asked.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/viewer_controls.h"

namespace ui::headless {

// What a printed form held: its client size and each control's name, caption, bounds and picture.
struct PrintedControl {
  std::string name, caption, picture;
  Rect bounds;
};
struct PrintedForm {
  std::string form;
  Size client;
  std::uint32_t flags = 0;
  std::vector<PrintedControl> controls;
};

struct ViewerScript {
  // Measures a picture file in pixels; false when it is not a picture.
  std::function<bool(const std::string& path, Size& size)> pictureLoader;
  // Answers of the file dialogs in order: a path, or nullopt for cancel (cancel when none left).
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileDialogOptions> fileRequests;
  // Answers of the printer dialog (true prints); prints when none are left.
  std::deque<bool> printerAnswers;
  std::vector<std::uint32_t> printerRequests;
  std::vector<PrintedForm> printed;
};

void RegisterViewerPeers(HeadlessBackend& backend, ViewerScript& script);

}  // namespace ui::headless

// Headless peers for pictures and common dialogs.
#include "platform/ui/headless/viewer_headless.h"

namespace ui::headless {

namespace {

class HeadlessPicture : public PicturePeer {
 public:
  explicit HeadlessPicture(ViewerScript& script) : script_(script) {}
  bool loadPicture(const std::string& path, Size& size) override {
    if (path.empty()) return true;
    return script_.pictureLoader && script_.pictureLoader(path, size);
  }

 private:
  ViewerScript& script_;
};

void Collect(Control& c, std::vector<PrintedControl>& out) {
  for (Control* child : c.children()) {
    PrintedControl p{child->name(), child->caption(), "", child->bounds()};
    if (auto* pic = dynamic_cast<PictureBox*>(child)) p.picture = pic->picturePath();
    out.push_back(p);
    Collect(*child, out);
  }
}

class HeadlessDialogs : public CommonDialogPeer {
 public:
  explicit HeadlessDialogs(ViewerScript& script) : script_(script) {}
  bool showFile(FileDialogOptions& options) override {
    script_.fileRequests.push_back(options);
    if (script_.fileAnswers.empty()) return false;
    std::optional<std::string> answer = script_.fileAnswers.front();
    script_.fileAnswers.pop_front();
    if (!answer) return false;
    options.fileName = *answer;
    return true;
  }
  bool printForm(Form& form, std::uint32_t flags) override {
    script_.printerRequests.push_back(flags);
    bool print = true;
    if (!script_.printerAnswers.empty()) {
      print = script_.printerAnswers.front();
      script_.printerAnswers.pop_front();
    }
    if (!print) return false;
    PrintedForm printed{form.name(), form.clientSize(), flags, {}};
    Collect(form, printed.controls);
    script_.printed.push_back(printed);
    return true;
  }

 private:
  ViewerScript& script_;
};

}  // namespace

void RegisterViewerPeers(HeadlessBackend& backend, ViewerScript& script) {
  backend.registerPeer("PictureBox", [&script](Control&) { return std::make_unique<HeadlessPicture>(script); });
  backend.registerPeer("CommonDialog", [&script](Control&) { return std::make_unique<HeadlessDialogs>(script); });
}

}  // namespace ui::headless

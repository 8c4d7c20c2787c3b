// The viewer's windows over the window layer: Form1 with its menus, toolbar, frame, scroll bars
// and status bar, and the dialogs Frmbookdata, Frmbookmark, Frmini, Frmver and the print layout
// Frmprint. UiViewerHost connects them to ViewerApp. Positions are given in twips and placed in
// pixels (15 twips each).
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/viewer_controls.h"
#include "viewer/host.h"
#include "viewer/viewer_app.h"

namespace viewer {

// The control of that name anywhere under `root`; nullptr when there is none.
ui::Control* FindControl(ui::Control& root, const std::string& name);

// Twips to pixels, to the nearest pixel.
inline int Px(int twips) { return (twips + (twips >= 0 ? 7 : -7)) / kTwipsPerPixel; }

// Menu items by control name, in table order.
struct MenuEntry {
  const char* name;
  const char* caption;
  Command command;
};

class Form1 : public ui::Form {
 public:
  // `imageFiles`: the 15 toolbar pictures (20 × 20) in image-list order.
  Form1(ui::Application& app, const std::vector<std::string>& imageFiles);

  ui::MenuBar menuBar{this, "MenuBar"};
  std::vector<std::unique_ptr<ui::MenuItem>> menus;  // top-level menus
  std::vector<std::unique_ptr<ui::MenuItem>> items;  // items (separators included)
  ui::Toolbar toolbar1{this, "Toolbar1"};
  ui::PictureBox picture1{this, "Picture1"};
  ui::PictureBox picture2{&picture1, "Picture2"};
  ui::ScrollBar hscroll1{this, "HScroll1", false};
  ui::ScrollBar vscroll1{this, "VScroll1", true};
  ui::PictureBox picture3{this, "Picture3"};
  ui::StatusBar statusBar1{this, "StatusBar1"};
  ui::Timer tmr1{this, "Tmr1"};
  ui::CommonDialog commonDialog1{this, "CommonDialog1"};
  ui::WindowPlacement placement{this, "Placement"};

  ui::MenuItem* item(const std::string& name);
  // Frame sizes around the client area, in pixels, for the outer geometry.
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 46;
};

class UiViewerHost : public ViewerHost {
 public:
  UiViewerHost(ui::Application& app, Form1& form) : app_(app), form_(form) {}
  void attach(ViewerApp& viewer);

  int messageBox(const std::string& text, const std::string& caption, std::uint32_t flags) override;
  void setStatusPanel(int panel, const std::string& text) override;
  bool loadPage(const std::string& path, std::int32_t& width, std::int32_t& height) override;
  void applyLayout(const PageLayout& layout) override;
  LayoutInput windowMetrics() override;
  WindowGeometry outerGeometry() override;
  void setOuterGeometry(const WindowGeometry& geometry) override;
  void setTimerInterval(std::int32_t milliseconds) override;
  void closeMainWindow() override;
  bool fileDialog(FileDialogRequest& request) override;
  bool printPage(const PrintLayout& layout, std::uint32_t dialogFlags) override;
  void runBookDataDialog(BookDataDialog& dialog) override;
  void runBookmarkDialog(BookmarkDialog& dialog) override;
  void runOptionsDialog(OptionsDialog& dialog) override;
  void runVersionDialog(VersionDialog& dialog) override;

  const PageLayout& layout() const { return layout_; }

 private:
  ui::Application& app_;
  Form1& form_;
  ViewerApp* viewer_ = nullptr;
  PageLayout layout_;
  ui::CommonDialog* fileDialogs_ = nullptr;  // the dialog's own while Frmbookdata is open
  bool settingGeometry_ = false;
};

}  // namespace viewer

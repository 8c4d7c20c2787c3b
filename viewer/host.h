// What the viewer's logic needs from its windows. The program binds it to real forms; tests
// bind it to a scripted stand-in. All lengths are twips.
#pragma once

#include <cstdint>
#include <string>

#include "viewer/layout.h"
#include "viewer/options.h"

namespace viewer {

class BookDataDialog;
class BookmarkDialog;
class OptionsDialog;
class VersionDialog;

struct FileDialogRequest {
  bool save = false;
  std::string filter;    // "description|pattern"
  std::string fileName;  // preset on entry, the chosen path on return
};

// The page image as Frmprint lays it out: the header label above the picture at natural size.
struct PrintLayout {
  std::string header;
  std::string picturePath;  // empty when there is no picture to print
  std::int32_t pictureWidth = 0, pictureHeight = 0;
  std::int32_t labelWidth = 0, labelHeight = 252;
  std::int32_t pictureTop = 252;
  std::int32_t formWidth = 0, formHeight = 0;
};

// Printer dialog flags: no selection choice, printing to a file disabled.
constexpr std::uint32_t kPrintDialogFlags = 4 | 524288;

class ViewerHost {
 public:
  virtual ~ViewerHost() = default;

  virtual int messageBox(const std::string& text, const std::string& caption, std::uint32_t flags) = 0;

  // Main window.
  virtual void setStatusPanel(int panel, const std::string& text) = 0;
  // Loads a page into Picture2 and gives its size; an empty path clears the picture. False when
  // the file is not a picture that can be shown (the picture is then cleared, size 0 × 0).
  virtual bool loadPage(const std::string& path, std::int32_t& width, std::int32_t& height) = 0;
  // Places the frame, moves Picture2 to the frame's corner, resets both scroll values to 0.
  virtual void applyLayout(const PageLayout& layout) = 0;
  // The window's inner size and the heights of its bars (the picture fields are not used).
  virtual LayoutInput windowMetrics() = 0;
  virtual WindowGeometry outerGeometry() = 0;
  // Each change of size is a resize of the main window.
  virtual void setOuterGeometry(const WindowGeometry& geometry) = 0;
  virtual void setTimerInterval(std::int32_t milliseconds) = 0;
  // Unloads the main window; the host then runs ViewerApp::queryUnload.
  virtual void closeMainWindow() = 0;

  // Common dialogs: false when cancelled or failed.
  virtual bool fileDialog(FileDialogRequest& request) = 0;
  // The printer dialog with kPrintDialogFlags, then the layout printed as one page.
  virtual bool printPage(const PrintLayout& layout, std::uint32_t dialogFlags) = 0;

  // Modal dialogs: return when the presenter says it has closed.
  virtual void runBookDataDialog(BookDataDialog& dialog) = 0;
  virtual void runBookmarkDialog(BookmarkDialog& dialog) = 0;
  virtual void runOptionsDialog(OptionsDialog& dialog) = 0;
  virtual void runVersionDialog(VersionDialog& dialog) = 0;
};

}  // namespace viewer

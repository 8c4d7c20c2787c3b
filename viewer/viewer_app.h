// Form1's logic: start-up, the commands of the menus and toolbar, ShowPage, auto view, closing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sys/services.h"
#include "viewer/host.h"
#include "viewer/module1.h"

namespace viewer {

enum class Command {
  New, Open, Print, Exit, Bookset, Viewset, GoPage, BackPage, GoTab, BackTab, FirstPage, EndPage,
  Auto, AutoStop, Bookmark, Markset, Help, Version, Homepage, None
};

// The toolbar's button index (1 to 18) to its command; separators give Command::None.
Command ToolbarCommand(int index);

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 1;
constexpr int kVersionRevision = 3;
extern const char* const kHomePageAddress;
extern const char* const kVersionSoundFile;

// Status and results of the viewer's own file writes.
constexpr std::int32_t kMinimumOuterWidth = 5028;

class ViewerApp {
 public:
  ViewerApp(plat::FileSystem& files, plat::Shell& shell, plat::SystemInfo& system, ViewerHost& host);

  Module1& state() { return m_; }
  ViewerHost& host() { return host_; }
  plat::FileSystem& files() { return files_; }
  plat::SystemInfo& system() { return system_; }

  // Form1's Load: options (or first run), then the book named by the command line (the
  // program's arguments, without the program's own name).
  void load(const std::string& commandLine);
  // Form1's Resize.
  void resize();
  // Form1's QueryUnload: writes the options; never refuses.
  void queryUnload();
  void run(Command command);
  void timerTick();

  void showPage();
  bool fileExists(const std::string& path);
  // Reads bookdatafile into the record; false (record untouched) when it cannot be read.
  bool readBookData();
  // Writes `book` to `path`; false when that is impossible (no path, refused by the system).
  bool writeBookData(const BookRecord& book, const std::string& path);
  void reportWriteFailure();

  std::string programFolder();
  std::string optionsPath() { return programFolder() + "\\PaginaV1.ini"; }
  // The print layout of the current page.
  PrintLayout buildPrintLayout();

 private:
  void readOptions();
  void firstRunSetup();
  bool writeOptions();
  void openBook();
  void turnedPage(bool changed);
  // True when the file's header names a picture of a size the viewer will decode. The answer is
  // kept for the file's size and write time, so redrawing the same page reads nothing again.
  bool pictureAcceptable(const std::string& path);

  plat::FileSystem& files_;
  plat::Shell& shell_;
  plat::SystemInfo& system_;
  ViewerHost& host_;
  Module1 m_;
  std::string checkedPath_;
  plat::FileStamp checkedStamp_;
  bool checkedOk_ = false;
};

}  // namespace viewer

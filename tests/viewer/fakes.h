// Stand-ins for the viewer's tests: an in-memory disk, a shell and system that record their
// calls, and a scripted main window that keeps what the viewer shows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sys/services.h"
#include "viewer/dialogs.h"
#include "viewer/host.h"
#include "viewer/imageinfo.h"
#include "viewer/viewer_app.h"

namespace viewer::testing {

// Paths are compared as written (tests use one spelling per file).
class MemoryFiles : public plat::FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> readOnly;
  std::uint64_t clock = 1;
  std::map<std::string, plat::FileTime> times;

  void put(const std::string& path, const std::string& data) {
    files[path] = data;
    times[path] = ++clock;
  }

  plat::ErrorCode findFiles(const std::string&, std::vector<plat::DirEntry>&) override { return plat::err::kFileNotFound; }
  plat::ErrorCode getAttributes(const std::string& path, std::uint32_t& a) override {
    if (!files.count(path)) return plat::err::kFileNotFound;
    a = readOnly.count(path) ? plat::attr::kReadOnly : plat::attr::kArchive;
    return 0;
  }
  plat::ErrorCode setAttributes(const std::string&, std::uint32_t) override { return plat::err::kAccessDenied; }
  plat::ErrorCode createDirectory(const std::string&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode removeDirectory(const std::string&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode deleteFile(const std::string& path) override { return files.erase(path) ? 0 : plat::err::kFileNotFound; }
  plat::ErrorCode copyFile(const std::string&, const std::string&, bool) override { return plat::err::kAccessDenied; }
  plat::ErrorCode moveFile(const std::string&, const std::string&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode readFile(const std::string& path, std::string& data) override {
    auto it = files.find(path);
    if (it == files.end()) return plat::err::kFileNotFound;
    ++reads[path];
    data = it->second;
    return 0;
  }
  plat::ErrorCode writeFile(const std::string& path, const std::string& data) override {
    if (path.empty()) return plat::err::kInvalidName;
    if (readOnly.count(path)) return plat::err::kAccessDenied;
    put(path, data);
    return 0;
  }
  plat::ErrorCode stamp(const std::string& path, plat::FileStamp& out) override {
    auto it = files.find(path);
    if (it == files.end()) return plat::err::kFileNotFound;
    out.size = it->second.size();
    out.lastWrite = times[path];
    return 0;
  }
  plat::ErrorCode setLastWriteTime(const std::string& path, plat::FileTime t) override {
    times[path] = t;
    return 0;
  }
  plat::ErrorCode freeSpaceExtended(const std::string&, std::uint64_t&) override { return plat::err::kProcNotFound; }
  plat::ErrorCode freeSpaceClusters(const std::string&, std::uint64_t&) override { return plat::err::kInvalidDrive; }
  std::string currentDirectory() override { return "C:\\"; }
  plat::ErrorCode shellDelete(const std::string&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode lzExpand(const std::string&, const std::string&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode lzExpandedName(const std::string&, std::string&) override { return plat::err::kAccessDenied; }

  std::map<std::string, int> reads;
};

struct ExecuteCall {
  std::string verb, file, parameters, directory;
};

class RecordingShell : public plat::Shell {
 public:
  std::vector<ExecuteCall> executed;
  std::string specialFolder(int) override { return ""; }
  plat::ErrorCode createShellLink(const std::string&, const plat::ShellLinkData&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode readShellLink(const std::string&, plat::ShellLinkData&) override { return plat::err::kAccessDenied; }
  plat::ErrorCode execute(const std::string& verb, const std::string& file, const std::string& parameters,
                          const std::string& directory) override {
    executed.push_back({verb, file, parameters, directory});
    return 0;
  }
  void changeNotify(std::int32_t, std::uint32_t, const std::string&) override {}
  int restartDialog() override { return 7; }
};

class FixedSystem : public plat::SystemInfo {
 public:
  std::string program = "C:\\Program Files\\Pagina\\PaginaV1.exe";
  std::vector<std::string> sounds;
  std::int32_t platformId() override { return 2; }
  std::string programPath() override { return program; }
  std::string windowsDirectory() override { return "C:\\WINDOWS"; }
  std::string systemDirectory() override { return "C:\\WINDOWS\\SYSTEM32"; }
  std::string tempDirectory() override { return "C:\\WINDOWS\\TEMP"; }
  bool acquireNamedMutex(const std::string&) override { return true; }
  void releaseNamedMutex() override {}
  bool mapString(const std::string& t, std::uint32_t, std::string& out) override {
    out = t;
    return true;
  }
  std::vector<std::pair<std::uint8_t, std::uint8_t>> leadByteRanges() override { return {{0x81, 0x9F}, {0xE0, 0xFC}}; }
  std::string errorMessage(std::int32_t) override { return ""; }
  std::string fileVersion(const std::string&) override { return ""; }
  plat::LibraryCallStatus callExport(const std::string&, const std::string&, std::int32_t&) override {
    return plat::LibraryCallStatus::LoadFailed;
  }
  bool playSound(const std::string& path) override {
    sounds.push_back(path);
    return false;
  }
};

struct MessageBoxCall {
  std::string text, caption;
  std::uint32_t flags;
};

// The main window as a model: what is shown, and scripts for the modal dialogs.
class ScriptedHost : public ViewerHost {
 public:
  explicit ScriptedHost(MemoryFiles& files) : files_(files) {}

  ViewerApp* app = nullptr;  // for resizes caused by geometry changes
  std::vector<MessageBoxCall> boxes;
  std::vector<int> answers;  // answers to the next message boxes; OK when none are left
  std::vector<std::string> events;  // order of dialogs and the main window's first showing
  std::string panel1, panel2;
  std::string picture;  // the file shown by Picture2
  std::int32_t pictureW = 0, pictureH = 0;
  PageLayout layout;
  int layouts = 0;
  std::int32_t innerW = 6000, innerH = 4244 + 384 + 372;
  WindowGeometry geometry{5628 + 600, 6204 + 120, 1000, 1000};
  std::int32_t timer = 0;
  bool closed = false;
  std::vector<std::string> fileAnswers;  // chosen paths; "" cancels; cancels when none are left
  std::vector<FileDialogRequest> fileRequests;
  std::vector<PrintLayout> printed;
  std::vector<std::uint32_t> printFlags;
  bool printerAnswer = true;

  std::function<void(BookDataDialog&)> onBookData;
  std::function<void(BookmarkDialog&)> onBookmark;
  std::function<void(OptionsDialog&)> onOptions;
  std::function<void(VersionDialog&)> onVersion;

  int messageBox(const std::string& text, const std::string& caption, std::uint32_t flags) override {
    boxes.push_back({text, caption, flags});
    events.push_back("box:" + text);
    if (answers.empty()) return 1;
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void setStatusPanel(int panel, const std::string& text) override { (panel == 1 ? panel1 : panel2) = text; }
  std::vector<std::string> loaded;  // every path handed to the decoder
  bool loadPage(const std::string& path, std::int32_t& w, std::int32_t& h) override {
    loaded.push_back(path);
    picture.clear();
    pictureW = pictureH = 0;
    w = h = 0;
    if (path.empty()) return true;
    std::string bytes;
    ImageInfo info;
    if (files_.readFile(path, bytes) != 0 || ReadImageInfo(bytes, info) != ImageStatus::Ok) return false;
    picture = path;
    w = pictureW = info.width * kTwipsPerPixel;
    h = pictureH = info.height * kTwipsPerPixel;
    return true;
  }
  void applyLayout(const PageLayout& l) override {
    layout = l;
    ++layouts;
    hscroll = vscroll = 0;
  }
  LayoutInput windowMetrics() override {
    LayoutInput in;
    in.innerWidth = innerW;
    in.innerHeight = innerH;
    in.toolbarHeight = 384;
    in.statusHeight = 372;
    in.vbarWidth = 252;
    in.hbarHeight = 252;
    return in;
  }
  WindowGeometry outerGeometry() override { return geometry; }
  void setOuterGeometry(const WindowGeometry& g) override {
    geometry = g;
    events.push_back("geometry");
    if (app) app->resize();
  }
  void setTimerInterval(std::int32_t ms) override { timer = ms; }
  void closeMainWindow() override {
    closed = true;
    if (app) app->queryUnload();
  }
  bool fileDialog(FileDialogRequest& r) override {
    fileRequests.push_back(r);
    if (fileAnswers.empty()) return false;
    std::string a = fileAnswers.front();
    fileAnswers.erase(fileAnswers.begin());
    if (a.empty()) return false;
    r.fileName = a;
    return true;
  }
  bool printPage(const PrintLayout& l, std::uint32_t flags) override {
    printFlags.push_back(flags);
    if (!printerAnswer) return false;
    printed.push_back(l);
    return true;
  }
  void runBookDataDialog(BookDataDialog& d) override {
    events.push_back("Frmbookdata");
    if (onBookData) onBookData(d);
  }
  void runBookmarkDialog(BookmarkDialog& d) override {
    events.push_back("Frmbookmark");
    if (onBookmark) onBookmark(d);
  }
  void runOptionsDialog(OptionsDialog& d) override {
    events.push_back("Frmini");
    if (onOptions) onOptions(d);
  }
  void runVersionDialog(VersionDialog& d) override {
    events.push_back("Frmver:" + d.caption + "|" + d.lblversion);
    if (onVersion) onVersion(d);
  }

  // Scroll values, as the scroll bars' Change events see them.
  std::int32_t hscroll = 0, vscroll = 0;

 private:
  MemoryFiles& files_;
};

}  // namespace viewer::testing

// Form1: start-up, commands, page display, auto view and closing.
#include "viewer/viewer_app.h"

#include "viewer/dialogs.h"
#include "viewer/imageinfo.h"
#include "viewer/navigation.h"
#include "viewer/number.h"

namespace viewer {

const char* const kHomePageAddress = "http://www.example.jp/pagina/";
const char* const kVersionSoundFile = "c:\\windows\\media\\the microsoft sound.wav";

namespace {
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbIconError = 0x10;
}  // namespace

Command ToolbarCommand(int index) {
  static const Command table[] = {
      Command::None,     Command::New,       Command::Open,     Command::Print,    Command::None,
      Command::BackPage, Command::GoPage,    Command::BackTab,  Command::GoTab,    Command::FirstPage,
      Command::EndPage,  Command::None,      Command::Auto,     Command::AutoStop, Command::None,
      Command::Bookmark, Command::Markset,   Command::None,     Command::Help};
  if (index < 1 || index > 18) return Command::None;
  return table[index];
}

ViewerApp::ViewerApp(plat::FileSystem& files, plat::Shell& shell, plat::SystemInfo& system, ViewerHost& host)
    : files_(files), shell_(shell), system_(system), host_(host) {}

std::string ViewerApp::programFolder() {
  std::string path = system_.programPath();
  std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool ViewerApp::fileExists(const std::string& path) {
  if (path.empty()) return false;
  std::uint32_t attributes = 0;
  return files_.getAttributes(path, attributes) == plat::err::kSuccess && !(attributes & plat::attr::kDirectory);
}

void ViewerApp::load(const std::string& commandLine) {
  if (fileExists(optionsPath())) readOptions();
  else firstRunSetup();

  // One path in double quotes, as the shell passes it; anything shorter than the quotes is ignored.
  if (commandLine.size() < 3) return;
  const std::string path = commandLine.substr(1, commandLine.size() - 2);
  if (!fileExists(path)) return;
  const std::string previous = m_.bookdatafile;
  m_.bookdatafile = path;
  if (!readBookData()) {
    // A damaged book is not opened: the window starts as if none were named.
    m_.bookdatafile = previous;
    return;
  }
  m_.curpagefile = m_.book.bookcover;
  showPage();
  host_.setStatusPanel(1, m_.book.booktitle);
}

void ViewerApp::readOptions() {
  std::string data;
  // An unreadable profile leaves the defaults; it is rewritten at exit.
  if (files_.readFile(optionsPath(), data) != plat::err::kSuccess) data.clear();
  OptionsFile file = ParseOptions(data);
  m_.options = file.options;
  if (file.applyGeometry) host_.setOuterGeometry(file.geometry);
}

void ViewerApp::firstRunSetup() {
  VersionDialog version(*this);
  version.load();
  host_.runVersionDialog(version);
  m_.options = kDefaultOptions;
  host_.setOuterGeometry(kFirstRunGeometry);
  writeOptions();
}

bool ViewerApp::writeOptions() {
  return files_.writeFile(optionsPath(), FormatOptions(m_.options, host_.outerGeometry())) == plat::err::kSuccess;
}

void ViewerApp::resize() {
  WindowGeometry g = host_.outerGeometry();
  if (g.width < kMinimumOuterWidth) {
    g.width = kMinimumOuterWidth;
    host_.setOuterGeometry(g);
  }
  showPage();
}

void ViewerApp::queryUnload() {
  // A profile that cannot be written must not keep the program from closing.
  writeOptions();
}

bool ViewerApp::readBookData() {
  std::string data;
  if (m_.bookdatafile.empty() || files_.readFile(m_.bookdatafile, data) != plat::err::kSuccess) return false;
  if (!ParseBookData(data, m_.book)) return false;
  m_.curpage = 1;
  return true;
}

bool ViewerApp::writeBookData(const BookRecord& book, const std::string& path) {
  if (path.empty()) return false;
  return files_.writeFile(path, FormatBookData(book)) == plat::err::kSuccess;
}

void ViewerApp::reportWriteFailure() {
  host_.messageBox("bookdataファイルを保存できませんでした。", "保存エラー", kMbOk | kMbIconError);
}

void ViewerApp::showPage() {
  if (!m_.curpagefile.empty() && !fileExists(m_.curpagefile)) {
    host_.messageBox("ファイルが存在しません。", "projectエラー", kMbOk | kMbIconError);
    return;
  }
  std::int32_t w = 0, h = 0;
  // A file that is not a picture, or one whose header asks for more memory than any page needs,
  // never reaches a decoder: it is shown as an empty page and the page number still changes.
  const bool acceptable = m_.curpagefile.empty() || pictureAcceptable(m_.curpagefile);
  if (!host_.loadPage(acceptable ? m_.curpagefile : std::string(), w, h) || !acceptable) w = h = 0;
  LayoutInput in = host_.windowMetrics();
  in.pictureWidth = w;
  in.pictureHeight = h;
  host_.applyLayout(ComputeLayout(in));
  host_.setStatusPanel(2, DecimalText(m_.curpage) + "page");
}

bool ViewerApp::pictureAcceptable(const std::string& path) {
  plat::FileStamp stamp;
  if (files_.stamp(path, stamp) != plat::err::kSuccess) return false;
  if (path == checkedPath_ && stamp == checkedStamp_) return checkedOk_;
  std::string bytes;
  ImageInfo info;
  checkedOk_ = files_.readFile(path, bytes) == plat::err::kSuccess && ReadImageInfo(bytes, info) == ImageStatus::Ok;
  checkedPath_ = path;
  checkedStamp_ = stamp;
  return checkedOk_;
}

void ViewerApp::turnedPage(bool changed) {
  if (!changed) return;
  MakePageFile(m_);
  showPage();
}

void ViewerApp::openBook() {
  FileDialogRequest request;
  request.filter = "bookdataファイル(*.pgd)|*.pgd";
  if (!host_.fileDialog(request) || request.fileName.empty()) return;
  const std::string previous = m_.bookdatafile;
  m_.bookdatafile = request.fileName;
  if (!readBookData()) {
    m_.bookdatafile = previous;
    return;
  }
  host_.setStatusPanel(1, m_.book.booktitle);
}

PrintLayout ViewerApp::buildPrintLayout() {
  PrintLayout p;
  p.header = "Pagina  " + DecimalText(m_.curpage) + "PAGE  " + m_.curpagefile;
  // Measured from the file's header, so the main window's picture stays as it is.
  std::int32_t w = 0, h = 0;
  std::string bytes;
  ImageInfo info;
  if (!m_.curpagefile.empty() && files_.readFile(m_.curpagefile, bytes) == plat::err::kSuccess &&
      ReadImageInfo(bytes, info) == ImageStatus::Ok) {
    p.picturePath = m_.curpagefile;
    w = info.width * kTwipsPerPixel;
    h = info.height * kTwipsPerPixel;
  }
  p.pictureWidth = w;
  p.pictureHeight = h;
  // With no picture the label keeps its design width.
  p.labelWidth = p.picturePath.empty() ? 3732 : w;
  p.pictureTop = p.labelHeight;
  p.formWidth = p.picturePath.empty() ? 3744 : w;
  p.formHeight = p.labelHeight + h;
  return p;
}

void ViewerApp::run(Command command) {
  switch (command) {
    case Command::New:
    case Command::Bookset: {
      m_.editmode = command == Command::New ? "new" : "set";
      BookDataDialog dialog(*this);
      dialog.load();
      host_.runBookDataDialog(dialog);
      host_.setStatusPanel(1, m_.book.booktitle);
      m_.curpage = 1;
      m_.curpagefile = m_.book.bookcover;
      showPage();
      break;
    }
    case Command::Open:
      openBook();
      m_.curpage = 1;
      m_.curpagefile = m_.book.bookcover;
      showPage();
      break;
    case Command::Print: {
      // A missing or unreadable page prints the header above an empty picture.
      PrintLayout layout = buildPrintLayout();
      host_.printPage(layout, kPrintDialogFlags);
      break;
    }
    case Command::Exit:
      host_.closeMainWindow();
      break;
    case Command::Viewset: {
      OptionsDialog dialog(*this);
      dialog.load();
      host_.runOptionsDialog(dialog);
      break;
    }
    case Command::GoPage: turnedPage(NextPage(m_)); break;
    case Command::BackPage: turnedPage(PreviousPage(m_)); break;
    case Command::GoTab: turnedPage(ForwardTab(m_)); break;
    case Command::BackTab: turnedPage(BackTab(m_)); break;
    case Command::FirstPage: turnedPage(FirstPage(m_)); break;
    case Command::EndPage: turnedPage(LastPage(m_)); break;
    case Command::Auto: host_.setTimerInterval(AutoViewInterval(m_.options.autoview)); break;
    case Command::AutoStop: host_.setTimerInterval(0); break;
    case Command::Bookmark:
    case Command::Markset: {
      m_.editmode = command == Command::Bookmark ? "new" : "set";
      BookmarkDialog dialog(*this);
      dialog.load();
      host_.runBookmarkDialog(dialog);
      MakePageFile(m_);
      showPage();
      break;
    }
    case Command::Help:
      shell_.execute("", programFolder() + "\\help.htm", "", "c:\\");
      break;
    case Command::Version: {
      VersionDialog dialog(*this);
      dialog.load();
      host_.runVersionDialog(dialog);
      break;
    }
    case Command::Homepage:
      shell_.execute("", kHomePageAddress, "", "c:\\");
      break;
    case Command::None:
      break;
  }
}

void ViewerApp::timerTick() { turnedPage(AutoViewTick(m_)); }

}  // namespace viewer

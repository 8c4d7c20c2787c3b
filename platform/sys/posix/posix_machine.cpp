// The machine object: its state, the fresh layout of a Japanese Windows, and the test helpers.
#include "platform/sys/posix/posix_machine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"

namespace plat {

using posix::HostEntry;
using posix::WinPath;

MachineLayout MachineLayout::typical() {
  MachineLayout l;
  const std::string user = "C:\\WINDOWS\\Profiles\\ソフト開発";
  const std::string all = "C:\\WINDOWS\\Profiles\\All Users";
  l.specialFolders = {
      {csidl::kProfile, user},
      {csidl::kDesktopDirectory, user + "\\デスクトップ"},
      {csidl::kPersonal, user + "\\マイ ドキュメント"},
      {csidl::kAppData, user + "\\Application Data"},
      {csidl::kSendTo, user + "\\SendTo"},
      {csidl::kStartMenu, user + "\\スタート メニュー"},
      {csidl::kPrograms, user + "\\スタート メニュー\\プログラム"},
      {csidl::kStartup, user + "\\スタート メニュー\\プログラム\\スタートアップ"},
      {csidl::kCommonDesktopDirectory, all + "\\デスクトップ"},
      {csidl::kCommonStartMenu, all + "\\スタート メニュー"},
      {csidl::kCommonPrograms, all + "\\スタート メニュー\\プログラム"},
      {csidl::kCommonStartup, all + "\\スタート メニュー\\プログラム\\スタートアップ"},
  };
  return l;
}

PosixMachine::State::State(std::string rootPath, MachineLayout machineLayout)
    : root(std::move(rootPath)),
      layout(std::move(machineLayout)),
      attributes(root),
      registry(root + "/.registry") {
  fileSystem = std::make_unique<posix::PosixFileSystem>(*this);
  registryService = std::make_unique<posix::PosixRegistry>(*this);
  shell = std::make_unique<posix::PosixShell>(*this);
  system = std::make_unique<posix::PosixSystemInfo>(*this);
  profiles = std::make_unique<ProfileStore>(*fileSystem);
}

PosixMachine::State::~State() = default;

std::string PosixMachine::State::currentDirectory() const {
  if (!currentFolder.empty()) return currentFolder;
  if (!layout.currentDirectory.empty()) return layout.currentDirectory;
  // The program's folder, as a program started from its own folder finds it.
  const std::string& p = layout.programPath;
  std::size_t slash = std::string::npos;
  for (std::size_t i = 0; i < p.size(); i += posix::charLength(p, i))
    if (p[i] == '\\') slash = i;
  if (slash == std::string::npos) return "C:\\";
  return slash <= 2 ? p.substr(0, 3) : p.substr(0, slash);
}

ErrorCode PosixMachine::State::locate(const std::string& path, HostEntry& entry, WinPath* parsed) const {
  WinPath p;
  if (ErrorCode e = posix::parseWindowsPath(path, currentDirectory(), p)) return e;
  if (parsed) *parsed = p;
  return posix::resolveHost(root, p, entry);
}

namespace {

void makeHostDirs(const std::string& path) {
  std::string prefix;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '/' && i > 0)) {
      prefix = path.substr(0, i);
      if (::mkdir(prefix.c_str(), 0755) == 0)
        posix::noteHostChange(prefix);
      else if (errno != EEXIST)
        throw std::runtime_error("cannot create " + prefix);
    }
  }
}

}  // namespace

PosixMachine::PosixMachine(std::string root, MachineLayout layout) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  makeHostDirs(root);
  state_ = std::make_unique<State>(std::move(root), std::move(layout));
}

PosixMachine PosixMachine::fresh(const std::string& root, MachineLayout layout) {
  if (posix::hostIsDir(root) && !posix::listHostFolder(root).empty())
    throw std::runtime_error("a fresh machine needs an empty folder: " + root);
  PosixMachine m(root, std::move(layout));
  const MachineLayout& l = m.layout();
  makeHostDirs(m.root() + "/C");
  for (const std::string* folder : {&l.windowsDirectory, &l.systemDirectory, &l.tempDirectory, &l.programFilesDirectory})
    if (!folder->empty()) m.putFolder(*folder);
  for (const auto& [id, folder] : l.specialFolders)
    if (!folder.empty()) m.putFolder(folder);
  Registry& reg = m.registry();
  const std::string cv = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  for (const char* key : {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"})
    reg.createKey(RegRoot::LocalMachine, key);
  reg.createKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion");
  reg.createKey(RegRoot::ClassesRoot, "txtfile\\shell\\open\\command");
  reg.writeValue(RegRoot::ClassesRoot, "txtfile", "", RegValue::string("テキスト ドキュメント"));
  reg.writeValue(RegRoot::ClassesRoot, "txtfile\\shell\\open\\command", "",
                 RegValue::string(l.windowsDirectory + "\\NOTEPAD.EXE %1"));
  reg.createKey(RegRoot::ClassesRoot, ".txt");
  reg.writeValue(RegRoot::ClassesRoot, ".txt", "", RegValue::string("txtfile"));
  if (!l.programFilesDirectory.empty()) {
    reg.writeValue(RegRoot::LocalMachine, cv, "ProgramFilesDir", RegValue::string(l.programFilesDirectory));
    reg.writeValue(RegRoot::LocalMachine, cv, "CommonFilesDir",
                   RegValue::string(l.programFilesDirectory + "\\Common Files"));
  }
  return m;
}

PosixMachine::PosixMachine(PosixMachine&&) noexcept = default;
PosixMachine& PosixMachine::operator=(PosixMachine&&) noexcept = default;
PosixMachine::~PosixMachine() = default;

Services PosixMachine::services() {
  return Services{*state_->fileSystem, *state_->registryService, *state_->shell, *state_->system, *state_->profiles};
}
FileSystem& PosixMachine::files() { return *state_->fileSystem; }
Registry& PosixMachine::registry() { return *state_->registryService; }
Shell& PosixMachine::shell() { return *state_->shell; }
SystemInfo& PosixMachine::system() { return *state_->system; }
ProfileStore& PosixMachine::profiles() { return *state_->profiles; }
const std::string& PosixMachine::root() const { return state_->root; }
const MachineLayout& PosixMachine::layout() const { return state_->layout; }
MachineLayout& PosixMachine::layout() { return state_->layout; }

std::string PosixMachine::hostPath(const std::string& windowsPath) const {
  HostEntry e;
  if (state_->locate(windowsPath, e) != err::kSuccess) return {};
  return e.host;
}

void PosixMachine::putFolder(const std::string& path) {
  WinPath p;
  if (posix::parseWindowsPath(path, state_->currentDirectory(), p) != err::kSuccess)
    throw std::runtime_error("bad path: " + path);
  makeHostDirs(state_->root + "/" + std::string(1, p.drive));
  WinPath prefix = p;
  prefix.parts.clear();
  for (const std::string& part : p.parts) {
    prefix.parts.push_back(part);
    HostEntry e;
    if (posix::resolveHost(state_->root, prefix, e) != err::kSuccess || (e.exists && !e.isDir))
      throw std::runtime_error("cannot create folder " + path);
    if (!e.exists) {
      if (::mkdir(e.host.c_str(), 0755) != 0) throw std::runtime_error("cannot create folder " + path);
      posix::noteHostChange(e.host);
    }
  }
}

void PosixMachine::putFile(const std::string& path, const std::string& bytes) {
  WinPath p;
  if (posix::parseWindowsPath(path, state_->currentDirectory(), p) != err::kSuccess || p.parts.empty())
    throw std::runtime_error("bad path: " + path);
  WinPath folder = p;
  folder.parts.pop_back();
  putFolder(folder.text());
  HostEntry e;
  if (posix::resolveHost(state_->root, p, e) == err::kSuccess && e.exists)
    state_->attributes.set(e.host, attr::kArchive);  // a test's file replaces whatever was there
  if (ErrorCode code = state_->fileSystem->doWriteFile(path, bytes))
    throw std::runtime_error("cannot write " + path + " (error " + std::to_string(code) + ")");
}

std::string PosixMachine::readFile(const std::string& path) const {
  std::string data;
  if (ErrorCode code = state_->fileSystem->doReadFile(path, data))
    throw std::runtime_error("cannot read " + path + " (error " + std::to_string(code) + ")");
  return data;
}

bool PosixMachine::exists(const std::string& path) const {
  HostEntry e;
  return state_->locate(path, e) == err::kSuccess && e.exists;
}

bool PosixMachine::fileExists(const std::string& path) const {
  HostEntry e;
  return state_->locate(path, e) == err::kSuccess && e.exists && !e.isDir;
}

bool PosixMachine::folderExists(const std::string& path) const {
  HostEntry e;
  return state_->locate(path, e) == err::kSuccess && e.exists && e.isDir;
}

void PosixMachine::putMedium(const std::string& driveRoot,
                             const std::vector<std::pair<std::string, std::string>>& files) {
  std::string rootPath = driveRoot;
  if (rootPath.size() == 2) rootPath += "\\";
  putFolder(rootPath);
  for (const auto& [name, bytes] : files) putFile(rootPath + name, bytes);
}

namespace {

void collect(const std::string& hostDir, const std::string& windowsDir, MachineSnapshot& out) {
  for (const auto& [host, cp932] : posix::listHostFolder(hostDir)) {
    std::string full = hostDir + "/" + host;
    std::string path = windowsDir + cp932;
    if (posix::hostIsDir(full)) {
      out.files[path + "\\"] = "";
      collect(full, path + "\\", out);
    } else {
      std::string data;
      FILE* f = std::fopen(full.c_str(), "rb");
      if (f) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
        std::fclose(f);
      }
      out.files[path] = data;
    }
  }
}

}  // namespace

MachineSnapshot PosixMachine::snapshot() const {
  MachineSnapshot s;
  for (char d = 'A'; d <= 'Z'; ++d) {
    std::string drive = state_->root + "/" + std::string(1, d);
    if (posix::hostIsDir(drive)) collect(drive, std::string(1, d) + ":\\", s);
  }
  s.registry = registryText();
  return s;
}

std::string PosixMachine::registryText() const { return state_->registry.text(); }

std::string describeDifferences(const MachineSnapshot& before, const MachineSnapshot& after) {
  std::string out;
  for (const auto& [path, data] : before.files) {
    auto it = after.files.find(path);
    if (it == after.files.end()) out += "- " + path + "\n";
    else if (it->second != data) out += "* " + path + "\n";
  }
  for (const auto& [path, data] : after.files)
    if (!before.files.count(path)) out += "+ " + path + "\n";
  if (before.registry != after.registry) out += "registry differs\n";
  return out;
}

int PosixMachine::addFault(Fault fault) { return state_->faults.add(fault); }
void PosixMachine::clearFaults() { state_->faults.clear(); }
int PosixMachine::faultFired(int id) const { return state_->faults.fired(id); }
const std::vector<JournalEntry>& PosixMachine::journal() const { return state_->journal; }
void PosixMachine::clearJournal() { state_->journal.clear(); }

std::vector<std::string> PosixMachine::heldMutexes() const {
  return std::vector<std::string>(state_->mutexes.begin(), state_->mutexes.end());
}

void PosixMachine::holdMutex(const std::string& name) { state_->mutexes.insert(posix::foldCase(name)); }

}  // namespace plat

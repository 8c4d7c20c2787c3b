// The contract tests' machine on Windows: the real system, a fresh folder in its temporary folder
// and a fresh key under HKEY_CURRENT_USER, both removed afterwards.
#include <windows.h>

#include <string>

#include "platform/sys/win32/win32_services.h"
#include "tests/platform/sys/test_machine.h"

namespace plat::testing {
namespace {

// Removes a folder with everything in it (the test's own scratch folder only).
void removeTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(full);
      else DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

class Win32TestMachine : public TestMachine {
 public:
  Win32TestMachine() {
    static int serial = 0;
    std::string tag = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    std::string temp = services_.system.tempDirectory();
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    folder_ = temp + "\\PaginaSys" + tag;
    services_.files.createDirectory(folder_);
    key_ = "Software\\PaginaTests\\" + tag;
    services_.registry.deleteKeyTree(RegRoot::CurrentUser, key_);
    services_.registry.createKey(RegRoot::CurrentUser, key_);
  }
  ~Win32TestMachine() override {
    services_.system.releaseNamedMutex();
    removeTree(wideOf(folder_));
    services_.registry.deleteKeyTree(RegRoot::CurrentUser, key_);
  }
  Services services() override { return services_.services(); }
  std::string scratchFolder() override { return folder_; }
  std::string scratchKey() override { return key_; }

 private:
  static std::wstring wideOf(const std::string& cp932) {
    int n = MultiByteToWideChar(932, 0, cp932.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    MultiByteToWideChar(932, 0, cp932.c_str(), -1, &w[0], n);
    w.resize(wcslen(w.c_str()));
    return w;
  }

  Win32Services services_;
  std::string folder_;
  std::string key_;
};

}  // namespace

std::unique_ptr<TestMachine> makeTestMachine() { return std::make_unique<Win32TestMachine>(); }

}  // namespace plat::testing

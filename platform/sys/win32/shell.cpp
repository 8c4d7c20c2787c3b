// Shell services: special folders, shell links through COM, ShellExecute, change notices, the restart dialog.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/sys/win32/win32_services.h"
#include "platform/sys/win32/win32_util.h"

namespace plat {

using win32::fromHresult;
using win32::narrow;
using win32::wide;

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

// ShellExecute's small result codes, as system error codes.
ErrorCode fromShellExecute(INT_PTR code) {
  switch (code) {
    case 0: return err::kNotEnoughMemory;
    case SE_ERR_FNF: return err::kFileNotFound;
    case SE_ERR_PNF: return err::kPathNotFound;
    case SE_ERR_ACCESSDENIED: return err::kAccessDenied;
    case SE_ERR_OOM: return err::kNotEnoughMemory;
    case ERROR_BAD_FORMAT: return ERROR_BAD_FORMAT;
    case SE_ERR_SHARE: return err::kSharingViolation;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return err::kModNotFound;
    default: return static_cast<ErrorCode>(code);
  }
}

using RestartDialogFn = int(WINAPI*)(HWND, LPCWSTR, DWORD);

// The show command stored in a link file's header (76 bytes, the command at offset 60), or 0.
// Wine's link object saves it but reports SW_SHOWNORMAL after loading, so it is read here.
int headerShowCommand(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 0;
  unsigned char h[0x4C] = {};
  DWORD got = 0;
  BOOL ok = ReadFile(f, h, sizeof h, &got, nullptr);
  CloseHandle(f);
  if (!ok || got != sizeof h || h[0] != 0x4C || h[1] || h[2] || h[3]) return 0;
  return static_cast<int>(h[60] | (h[61] << 8) | (h[62] << 16) | (static_cast<unsigned>(h[63]) << 24));
}

}  // namespace

std::string Win32Shell::specialFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return std::string();
  wchar_t buf[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListW(pidl, buf);
  // The item list belongs to the shell's allocator.
  IMalloc* alloc = nullptr;
  if (SUCCEEDED(SHGetMalloc(&alloc)) && alloc) {
    alloc->Free(pidl);
    alloc->Release();
  }
  if (!ok) return std::string();
  std::wstring path(buf);
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return win32::narrowPath(path);
}

ErrorCode Win32Shell::createShellLink(const std::string& linkPath, const ShellLinkData& link) {
  win32::ensureCom();
  Com<IShellLinkW> sl;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&sl.p));
  if (FAILED(hr)) return fromHresult(hr);
  sl->SetPath(wide(link.target).c_str());
  sl->SetArguments(wide(link.arguments).c_str());
  sl->SetWorkingDirectory(wide(link.workingDirectory).c_str());
  sl->SetDescription(wide(link.description).c_str());
  if (!link.iconPath.empty()) sl->SetIconLocation(wide(link.iconPath).c_str(), link.iconIndex);
  sl->SetShowCmd(link.showCommand);
  Com<IPersistFile> pf;
  hr = sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf.p));
  if (FAILED(hr)) return fromHresult(hr);
  hr = pf->Save(wide(linkPath).c_str(), TRUE);
  return FAILED(hr) ? fromHresult(hr) : err::kSuccess;
}

ErrorCode Win32Shell::readShellLink(const std::string& linkPath, ShellLinkData& link) {
  win32::ensureCom();
  Com<IShellLinkW> sl;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&sl.p));
  if (FAILED(hr)) return fromHresult(hr);
  Com<IPersistFile> pf;
  hr = sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf.p));
  if (FAILED(hr)) return fromHresult(hr);
  hr = pf->Load(wide(linkPath).c_str(), STGM_READ);
  if (FAILED(hr)) return fromHresult(hr);
  wchar_t buf[1024];
  ShellLinkData out;
  buf[0] = 0;
  if (SUCCEEDED(sl->GetPath(buf, 1024, nullptr, SLGP_RAWPATH))) out.target = narrow(buf);
  buf[0] = 0;
  if (SUCCEEDED(sl->GetArguments(buf, 1024))) out.arguments = narrow(buf);
  buf[0] = 0;
  if (SUCCEEDED(sl->GetWorkingDirectory(buf, 1024))) out.workingDirectory = narrow(buf);
  buf[0] = 0;
  if (SUCCEEDED(sl->GetDescription(buf, 1024))) out.description = narrow(buf);
  buf[0] = 0;
  int icon = 0;
  if (SUCCEEDED(sl->GetIconLocation(buf, 1024, &icon))) {
    out.iconPath = narrow(buf);
    out.iconIndex = icon;
  }
  int show = SW_SHOWNORMAL;
  if (SUCCEEDED(sl->GetShowCmd(&show))) out.showCommand = show;
  if (int stored = headerShowCommand(wide(linkPath))) out.showCommand = stored;
  link = out;
  return err::kSuccess;
}

ErrorCode Win32Shell::execute(const std::string& verb, const std::string& file, const std::string& parameters,
                              const std::string& directory) {
  std::wstring v = wide(verb), f = wide(file), p = wide(parameters), d = wide(directory);
  HINSTANCE h = ShellExecuteW(nullptr, v.empty() ? nullptr : v.c_str(), f.c_str(), p.empty() ? nullptr : p.c_str(),
                              d.empty() ? nullptr : d.c_str(), SW_SHOWNORMAL);
  INT_PTR code = reinterpret_cast<INT_PTR>(h);
  return code > 32 ? err::kSuccess : fromShellExecute(code);
}

void Win32Shell::changeNotify(std::int32_t eventId, std::uint32_t flags, const std::string& path) {
  // A path given as ANSI (SHCNF_PATHA) goes to the system as its wide form.
  UINT type = flags & SHCNF_TYPE;
  if ((type == SHCNF_PATHA || type == SHCNF_PATHW) && !path.empty()) {
    std::wstring w = wide(path);
    SHChangeNotify(static_cast<LONG>(eventId), (flags & ~SHCNF_TYPE) | SHCNF_PATHW, w.c_str(), nullptr);
  } else {
    SHChangeNotify(static_cast<LONG>(eventId), flags & ~SHCNF_TYPE, nullptr, nullptr);
  }
}

int Win32Shell::restartDialog() {
  // Exported by ordinal only; takes a wide prompt on NT systems.
  auto fn = win32::findExport<RestartDialogFn>(win32::systemModule(L"shell32.dll"), MAKEINTRESOURCEA(59));
  if (!fn) return IDNO;
  return fn(nullptr, nullptr, EWX_REBOOT);
}

}  // namespace plat

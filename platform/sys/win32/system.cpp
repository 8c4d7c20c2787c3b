// System queries: version, folders, the single-instance mutex, string mapping, messages, versions, libraries.
#include <windows.h>
#include <mmsystem.h>

#include "platform/sys/win32/win32_services.h"
#include "platform/sys/win32/win32_util.h"

namespace plat {

using win32::narrow;
using win32::wide;

namespace {

using DllEntryFn = HRESULT(STDAPICALLTYPE*)();
using SndPlaySoundFn = BOOL(WINAPI*)(LPCWSTR, UINT);

// Reads a path-returning system function that takes (buffer, size) and returns the length.
template <typename Get>
std::string systemPath(Get get) {
  std::wstring buf(MAX_PATH + 1, L'\0');
  for (;;) {
    UINT n = get(&buf[0], static_cast<UINT>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) {
      buf.resize(n);
      return win32::narrowPath(buf);
    }
    buf.assign(n + 1, L'\0');
  }
}

}  // namespace

Win32SystemInfo::~Win32SystemInfo() { releaseNamedMutex(); }

std::int32_t Win32SystemInfo::platformId() {
  OSVERSIONINFOW vi = {};
  vi.dwOSVersionInfoSize = sizeof(vi);
  if (!GetVersionExW(&vi)) return -1;
  return static_cast<std::int32_t>(vi.dwPlatformId);
}

std::string Win32SystemInfo::programPath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) {
      buf.resize(n);
      return win32::narrowPath(buf);
    }
    buf.assign(buf.size() * 2, L'\0');  // cut short: try a larger buffer
  }
}

std::string Win32SystemInfo::windowsDirectory() {
  return systemPath([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::string Win32SystemInfo::systemDirectory() {
  return systemPath([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::string Win32SystemInfo::tempDirectory() {
  return systemPath([](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
}

bool Win32SystemInfo::acquireNamedMutex(const std::string& name) {
  std::wstring w = wide(name);
  HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, w.c_str());
  if (other) {  // held by another instance, or already by this one
    CloseHandle(other);
    return false;
  }
  releaseNamedMutex();  // one guard per process
  HANDLE h = CreateMutexW(nullptr, TRUE, w.c_str());
  if (!h) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {  // another instance won the race
    CloseHandle(h);
    return false;
  }
  mutex_ = h;
  return true;
}

void Win32SystemInfo::releaseNamedMutex() {
  if (!mutex_) return;
  ReleaseMutex(static_cast<HANDLE>(mutex_));
  CloseHandle(static_cast<HANDLE>(mutex_));
  mutex_ = nullptr;
}

bool Win32SystemInfo::mapString(const std::string& text, std::uint32_t flags, std::string& out) {
  // Sort keys are bytes, not text: they cannot go through the conversion.
  if (flags & LCMAP_SORTKEY) return false;
  if (text.empty()) {
    out.clear();
    return true;
  }
  std::wstring w = wide(text);
  if (w.empty()) return false;
  int n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, w.c_str(), static_cast<int>(w.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring mapped(static_cast<size_t>(n), L'\0');
  n = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, w.c_str(), static_cast<int>(w.size()), &mapped[0], n);
  if (n <= 0) return false;
  mapped.resize(static_cast<size_t>(n));
  out = narrow(mapped);
  return true;
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> Win32SystemInfo::leadByteRanges() {
  // The texts are code page 932 on every system, so its lead bytes are the ones that count,
  // whatever the system's own code page and whether or not it enables double-byte support.
  std::vector<std::pair<std::uint8_t, std::uint8_t>> ranges;
  CPINFO info;
  if (!GetCPInfo(win32::kTextCodePage, &info)) return ranges;
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
    ranges.emplace_back(info.LeadByte[i], info.LeadByte[i + 1]);
  return ranges;
}

std::string Win32SystemInfo::errorMessage(std::int32_t code) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
  std::string text;
  if (n && buf) text = narrow(buf, n);
  if (buf) LocalFree(buf);
  return text;
}

std::string Win32SystemInfo::fileVersion(const std::string& path) {
  std::wstring w = wide(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(w.c_str(), &ignored);
  if (size == 0) return std::string();
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(w.c_str(), 0, size, block.data())) return std::string();
  wchar_t* value = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\FileVersion", reinterpret_cast<void**>(&value),
                      &len) ||
      !value || len == 0)
    return std::string();
  std::wstring v(value, len);
  while (!v.empty() && v.back() == L'\0') v.pop_back();
  return narrow(v);
}

LibraryCallStatus Win32SystemInfo::callExport(const std::string& libraryPath, const std::string& exportName,
                                              std::int32_t& result) {
  HMODULE lib = LoadLibraryW(wide(libraryPath).c_str());
  if (!lib) return LibraryCallStatus::LoadFailed;
  auto fn = win32::findExport<DllEntryFn>(lib, exportName.c_str());
  if (!fn) {
    FreeLibrary(lib);
    return LibraryCallStatus::ExportMissing;
  }
  win32::ensureCom();  // registration code expects COM on the calling thread
  result = static_cast<std::int32_t>(fn());
  FreeLibrary(lib);
  return LibraryCallStatus::Called;
}

bool Win32SystemInfo::playSound(const std::string& path) {
  // The multimedia library is looked up at run time and stays loaded while a sound plays.
  auto fn = win32::findExport<SndPlaySoundFn>(win32::systemModule(L"winmm.dll"), "sndPlaySoundW");
  if (!fn) return false;
  // Played asynchronously, the call cannot tell a missing file; ask first.
  std::wstring w = wide(path);
  DWORD a = GetFileAttributesW(w.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return fn(w.c_str(), SND_ASYNC | SND_NODEFAULT) != FALSE;
}

}  // namespace plat

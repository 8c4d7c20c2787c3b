// Code page 932 conversion at the API boundary, run-time modules and COM start-up.
#include "platform/sys/win32/win32_util.h"

#include <objbase.h>

namespace plat::win32 {

std::wstring wide(const std::string& cp932) {
  if (cp932.empty()) return std::wstring();
  int n = MultiByteToWideChar(kTextCodePage, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, cp932.data(), static_cast<int>(cp932.size()), &out[0], n);
  return out;
}

std::string narrow(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  int n = WideCharToMultiByte(kTextCodePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kTextCodePage, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
  return out;
}

bool narrowExactly(const std::wstring& text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                              0, nullptr, &lossy);
  if (n <= 0) return false;
  out.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &out[0], n,
                      nullptr, &lossy);
  return !lossy;
}

std::string narrowPath(const std::wstring& path) {
  std::string out;
  if (narrowExactly(path, out)) return out;
  DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return out;
  std::wstring shortPath(n, L'\0');
  n = GetShortPathNameW(path.c_str(), &shortPath[0], n);
  if (n == 0 || n >= shortPath.size()) return out;
  shortPath.resize(n);
  std::string shortOut;
  return narrowExactly(shortPath, shortOut) ? shortOut : out;
}

HMODULE systemModule(const wchar_t* name) {
  HMODULE m = GetModuleHandleW(name);
  return m ? m : LoadLibraryW(name);
}

void ensureCom() {
  static const HRESULT once = CoInitialize(nullptr);
  (void)once;
}

}  // namespace plat::win32

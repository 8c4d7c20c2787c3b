// Helpers shared by the Win32 services: code page 932 conversion at the call and typed run-time look-ups.
#pragma once

#include <windows.h>

#include <string>

#include "platform/sys/types.h"

namespace plat::win32 {

// Texts of this system are code page 932 whatever the system's own code page is.
constexpr UINT kTextCodePage = 932;

std::wstring wide(const std::string& cp932);
std::string narrow(const wchar_t* text, size_t length);
inline std::string narrow(const std::wstring& text) { return narrow(text.data(), text.size()); }
inline std::string narrow(const wchar_t* text) { return narrow(text, wcslen(text)); }
// False when a character has no code page 932 form (the result then holds "?" for it).
bool narrowExactly(const std::wstring& text, std::string& out);
// A path from the system in code page 932; a path that code page 932 cannot spell (a user name
// with accented letters, say) is given by its short name, which can.
std::string narrowPath(const std::wstring& path);

// The system's last error, never 0 after a call that reported failure.
inline ErrorCode lastError() {
  DWORD e = GetLastError();
  return e ? static_cast<ErrorCode>(e) : err::kInvalidParameter;
}

// An HRESULT as a system error code: the Win32 code it wraps, else its own bits.
inline ErrorCode fromHresult(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return static_cast<ErrorCode>(HRESULT_CODE(hr));
  return static_cast<ErrorCode>(hr);
}

// The one place where an export found at run time gets its type. Fn must be a pointer type that
// names its calling convention (WINAPI / STDAPICALLTYPE); the cast goes through the generic
// function-pointer type, which the compiler accepts for any function type.
template <typename Fn>
Fn findExport(HMODULE module, const char* nameOrOrdinal) {
  if (!module) return nullptr;
  FARPROC proc = GetProcAddress(module, nameOrOrdinal);
  if (!proc) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// A module that the process keeps loaded (system libraries looked up at run time).
HMODULE systemModule(const wchar_t* name);

// COM is initialised once per process, on first use, for the shell-link and component calls.
void ensureCom();

}  // namespace plat::win32

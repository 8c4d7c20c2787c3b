// Prints the panel texts of the status bar of a top-level window, one line per panel, as UTF-8.
// windriver reads a control's text with WM_GETTEXT, which gives only the first panel of a status
// bar; the later panels need SB_GETTEXTW, whose buffer must live in the window's own process.
//   statusbar_probe TITLE-PART
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

std::wstring gTitlePart;
HWND gFound = nullptr;

BOOL CALLBACK findTop(HWND w, LPARAM) {
  if (!IsWindowVisible(w)) return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(w, title, 512);
  if (std::wstring(title).find(gTitlePart) == std::wstring::npos) return TRUE;
  HWND bar = FindWindowExW(w, nullptr, STATUSCLASSNAMEW, nullptr);
  if (!bar) return TRUE;
  gFound = bar;
  return FALSE;
}

void write(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  bytes += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 2) {
    write(L"usage: statusbar_probe TITLE-PART");
    return 2;
  }
  gTitlePart = argv[1];
  EnumWindows(findTop, 0);
  if (!gFound) {
    write(L"no visible window with a status bar whose title contains the text");
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(gFound, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  constexpr SIZE_T kBuffer = 1024 * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, kBuffer, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return 1;
  DWORD_PTR parts = 0;
  SendMessageTimeoutW(gFound, SB_GETPARTS, 0, 0, SMTO_ABORTIFHUNG, 5000, &parts);
  int status = 0;
  for (DWORD_PTR i = 0; i < parts; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(gFound, SB_GETTEXTLENGTHW, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
    if (LOWORD(length) >= 1023) {
      status = 1;
      break;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(gFound, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &ignored);
    wchar_t text[1024] = {};
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, remote, text, kBuffer, &read)) {
      status = 1;
      break;
    }
    text[1023] = L'\0';
    write(text);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  LocalFree(argv);
  return status;
}

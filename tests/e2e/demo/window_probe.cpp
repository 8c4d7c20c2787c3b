// Two things the window driver cannot do with the viewer's main window:
//   window_probe panels TITLE  prints the status bar's panel texts, one line each, as UTF-8.
//     WM_GETTEXT gives only the first panel; SB_GETTEXTW needs a buffer in the window's process.
//   window_probe toolbar TITLE INDEX  presses the toolbar button at INDEX (from 0, separators
//     counted) as the toolbar itself does: WM_COMMAND with the button's command id to its parent.
//     The viewer's page commands are in menu items without a mnemonic key, which the driver cannot
//     type, and Wine does not let another process read a window's menu.
// TITLE is the exact caption of a visible top-level window.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring gTitlePart;
HWND gFound = nullptr;

HWND gTop = nullptr;

BOOL CALLBACK findTop(HWND w, LPARAM) {
  if (!IsWindowVisible(w)) return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(w, title, 512);
  if (std::wstring(title) != gTitlePart) return TRUE;
  gTop = w;
  gFound = FindWindowExW(w, nullptr, STATUSCLASSNAMEW, nullptr);
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
  const std::wstring verb = argv && argc >= 3 ? argv[1] : L"";
  if (!((verb == L"panels" && argc == 3) || (verb == L"toolbar" && argc == 4))) {
    write(L"usage: window_probe panels TITLE | window_probe toolbar TITLE INDEX");
    return 2;
  }
  gTitlePart = argv[2];
  EnumWindows(findTop, 0);
  HWND target = verb == L"panels" ? gFound : (gTop ? FindWindowExW(gTop, nullptr, TOOLBARCLASSNAMEW, nullptr) : nullptr);
  if (!target) {
    write(L"no visible window of that title with a " + std::wstring(verb == L"panels" ? L"status bar" : L"toolbar"));
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(target, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  constexpr SIZE_T kBuffer = 1024 * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, kBuffer, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return 1;
  if (verb == L"toolbar") {
    const int index = _wtoi(argv[3]);
    DWORD_PTR got = 0;
    TBBUTTON button{};
    SIZE_T read = 0;
    const bool ok = SendMessageTimeoutW(target, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote),
                                        SMTO_ABORTIFHUNG, 5000, &got) && got &&
                    ReadProcessMemory(process, remote, &button, sizeof button, &read) && !(button.fsStyle & BTNS_SEP) &&
                    (button.fsState & TBSTATE_ENABLED) &&
                    PostMessageW(GetParent(target), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(target));
    if (!ok) write(L"no enabled button at that index");
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    LocalFree(argv);
    return ok ? 0 : 1;
  }
  gFound = target;
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

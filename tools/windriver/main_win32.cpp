// windriver: finds and drives the windows of other programs in the same Wine prefix for the
// end-to-end tests. Reads its arguments as UTF-16 (Japanese captions survive any code page) and
// prints UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tools/windriver/args.h"

using windriver::Command;

namespace {

std::string toUtf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring toWide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

void writeTo(DWORD which, const std::string& text) {
  HANDLE h = GetStdHandle(which);
  DWORD written = 0;
  if (h != nullptr && h != INVALID_HANDLE_VALUE) WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
void out(const std::string& text) { writeTo(STD_OUTPUT_HANDLE, text + "\n"); }
void err(const std::string& text) { writeTo(STD_ERROR_HANDLE, "windriver: " + text + "\n"); }

std::string classOf(HWND w) {
  wchar_t buf[256] = {};
  GetClassNameW(w, buf, 256);
  return toUtf8(buf);
}

// WM_GETTEXT with a time limit: a hung target must not hang the test.
std::string textOf(HWND w) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::vector<wchar_t> buf(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  return toUtf8(std::wstring(buf.data(), copied));
}

std::string handleText(HWND w) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
  return buf;
}

struct TopFilter {
  std::string cls, title, titleContains;
  bool hidden = false;
  bool matches(HWND w) const {
    if (!hidden && !IsWindowVisible(w)) return false;
    if (!cls.empty() && classOf(w) != cls) return false;
    if (!title.empty() || !titleContains.empty()) {
      const std::string t = textOf(w);
      if (!title.empty() && t != title) return false;
      if (!titleContains.empty() && t.find(titleContains) == std::string::npos) return false;
    }
    return true;
  }
};

TopFilter topFilter(const Command& c) {
  TopFilter f;
  f.cls = c.get("class");
  f.title = c.get("title");
  f.titleContains = c.get("title-contains");
  f.hidden = c.has("hidden");
  return f;
}

TopFilter windowFilter(const Command& c) {
  TopFilter f;
  f.cls = c.get("window-class");
  f.title = c.get("window-title");
  f.titleContains = c.get("window");
  f.hidden = c.has("hidden");
  return f;
}

BOOL CALLBACK collectWindow(HWND w, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

std::vector<HWND> topWindows(const TopFilter& f) {
  std::vector<HWND> all, found;
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND w : all)
    if (f.matches(w)) found.push_back(w);
  return found;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

unsigned long number(const Command& c, const std::string& name, unsigned long fallback) {
  unsigned long n = fallback;
  if (c.has(name)) windriver::parseCount(c.get(name), n);
  return n;
}

// Polls until done() holds or the command's --timeout (seconds) passes; true when it held.
template <typename Done>
bool waitUntil(const Command& c, Done done) {
  const DWORD limit = static_cast<DWORD>(number(c, "timeout", 30)) * 1000;
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= limit) return false;
    Sleep(100);
  }
}

// Polls until find() gives a window; null when the time is up.
template <typename Find>
HWND waitFor(const Command& c, Find find) {
  HWND found = nullptr;
  waitUntil(c, [&]() { return (found = find()) != nullptr; });
  return found;
}

std::string describeTop(const TopFilter& f) {
  std::string d;
  if (!f.cls.empty()) d += " class=" + f.cls;
  if (!f.title.empty()) d += " title=\"" + f.title + "\"";
  if (!f.titleContains.empty()) d += " title containing \"" + f.titleContains + "\"";
  return d;
}

HWND findControl(HWND top, const Command& c) {
  const bool byId = c.has("control-id"), byClass = c.has("class"), byText = c.has("text");
  if (!byId && !byClass && !byText && !c.has("index")) return top;
  const unsigned long id = number(c, "control-id", 0);
  unsigned long index = number(c, "index", 0);
  for (HWND w : children(top)) {
    if (byId && static_cast<unsigned long>(GetDlgCtrlID(w)) != id) continue;
    if (byClass && classOf(w) != c.get("class")) continue;
    if (byText && !windriver::captionMatches(textOf(w), c.get("text"))) continue;
    if (index == 0) return w;
    --index;
  }
  return nullptr;
}

// The window named by --window/--window-class/--window-title, then the control in it.
HWND findTarget(const Command& c, std::string& failure) {
  const TopFilter f = windowFilter(c);
  HWND top = waitFor(c, [&]() -> HWND {
    auto found = topWindows(f);
    return found.empty() ? nullptr : found.front();
  });
  if (!top) {
    failure = "no window" + describeTop(f);
    return nullptr;
  }
  HWND control = waitFor(c, [&]() { return findControl(top, c); });
  if (!control) failure = "no such control in the window" + describeTop(f);
  return control;
}

// Which process and thread own a window, and its owner window: tells apart two instances of one program.
std::string ownerText(HWND w) {
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(w, &pid);
  return "pid " + std::to_string(pid) + " tid " + std::to_string(tid) + " owner " + handleText(GetWindow(w, GW_OWNER));
}

int listWindows(const Command& c) {
  for (HWND w : topWindows(topFilter(c)))
    out(handleText(w) + "\t" + classOf(w) + "\t" + textOf(w) + "\t" + ownerText(w) +
        (IsWindowEnabled(w) ? "" : "\t(disabled)") + (IsWindowVisible(w) ? "" : "\t(hidden)"));
  return 0;
}

int listControls(const Command& c) {
  std::string failure;
  const TopFilter f = windowFilter(c);
  auto found = topWindows(f);
  if (found.empty()) {
    err("no window" + describeTop(f));
    return 1;
  }
  for (HWND w : children(found.front()))
    out(std::to_string(GetDlgCtrlID(w)) + "\t" + classOf(w) + "\t" + textOf(w) +
        (IsWindowEnabled(w) ? "" : "\t(disabled)") + (IsWindowVisible(w) ? "" : "\t(hidden)"));
  return 0;
}

int waitWindow(const Command& c) {
  const TopFilter f = topFilter(c);
  HWND w = waitFor(c, [&]() -> HWND {
    auto found = topWindows(f);
    return found.empty() ? nullptr : found.front();
  });
  if (!w) {
    err("timed out waiting for a window" + describeTop(f));
    return 1;
  }
  out(handleText(w) + "\t" + classOf(w) + "\t" + textOf(w));
  return 0;
}

int waitGone(const Command& c) {
  const TopFilter f = topFilter(c);
  HWND still = nullptr;
  const bool gone = waitUntil(c, [&]() {
    auto found = topWindows(f);
    still = found.empty() ? nullptr : found.front();
    return still == nullptr;
  });
  if (!gone) {
    err("timed out: the window" + describeTop(f) + " is still there (" + handleText(still) + " " + textOf(still) + ", " +
        ownerText(still) + ")");
    return 1;
  }
  return 0;
}

// Ends the programs that own the matching windows (a program left behind by an earlier run
// that failed half-way); the driver never ends itself.
int endProcess(const Command& c) {
  std::set<DWORD> pids;
  for (HWND w : topWindows(topFilter(c))) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid && pid != GetCurrentProcessId()) pids.insert(pid);
  }
  int result = 0;
  for (DWORD pid : pids) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!h || !TerminateProcess(h, 1)) {
      err("could not end process " + std::to_string(pid));
      result = 1;
    } else {
      WaitForSingleObject(h, 10000);
      out(std::to_string(pid));
    }
    if (h) CloseHandle(h);
  }
  return result;
}

int getText(const Command& c) {
  std::string failure;
  HWND w = findTarget(c, failure);
  if (!w) {
    err(failure);
    return 1;
  }
  out(textOf(w));
  return 0;
}

int setText(const Command& c) {
  std::string failure;
  HWND w = findTarget(c, failure);
  if (!w) {
    err(failure);
    return 1;
  }
  const std::wstring value = toWide(c.get("value"));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG, 5000, &result)) {
    err("the control did not take the text");
    return 1;
  }
  return 0;
}

// Posted, not sent: the click usually opens a modal box, and a sent message would wait for it.
bool press(HWND button) {
  if (!IsWindowEnabled(button)) return false;
  return PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

int click(const Command& c) {
  std::string failure;
  HWND w = findTarget(c, failure);
  if (!w) {
    err(failure);
    return 1;
  }
  // A person waits for a greyed button to come alive; so does the driver, up to --timeout.
  if (!waitUntil(c, [&]() { return IsWindowEnabled(w) != FALSE; })) {
    err("the control stayed disabled: " + textOf(w));
    return 1;
  }
  if (!press(w)) {
    err("the control did not take the click: " + textOf(w));
    return 1;
  }
  return 0;
}

int answerBox(const Command& c) {
  TopFilter f;
  f.cls = "#32770";
  f.title = c.get("title");
  f.titleContains = c.get("title-contains");
  HWND box = waitFor(c, [&]() -> HWND {
    auto found = topWindows(f);
    return found.empty() ? nullptr : found.front();
  });
  if (!box) {
    err("timed out waiting for a dialog" + describeTop(f));
    return 1;
  }
  // The message text is the box's static control with id 0xFFFF.
  std::string message;
  for (HWND child : children(box))
    if (classOf(child) == "Static" && GetDlgCtrlID(child) == 0xFFFF) message = textOf(child);
  out(message);
  const int id = static_cast<int>(number(c, "button", 0));
  HWND button = GetDlgItem(box, id);
  if (button ? !press(button) : !PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0)) {
    err("the dialog has no usable button " + std::to_string(id));
    return 1;
  }
  return 0;
}

int menuByLookup(HWND top, HMENU current, const std::vector<std::string>& path) {
  for (size_t level = 0; level < path.size(); ++level) {
    if (!current) {
      err("no menu at \"" + path[level] + "\"");
      return 1;
    }
    const int count = GetMenuItemCount(current);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      wchar_t buf[256] = {};
      if (GetMenuStringW(current, static_cast<UINT>(i), buf, 256, MF_BYPOSITION) <= 0) continue;
      if (!windriver::captionMatches(windriver::menuItemName(toUtf8(buf)), path[level])) continue;
      found = true;
      if (level + 1 < path.size()) {
        current = GetSubMenu(current, i);
      } else {
        const UINT state = GetMenuState(current, static_cast<UINT>(i), MF_BYPOSITION);
        if (state & (MF_GRAYED | MF_DISABLED)) {
          err("the menu item is disabled: " + path[level]);
          return 1;
        }
        PostMessageW(top, WM_COMMAND, MAKEWPARAM(GetMenuItemID(current, i), 0), 0);
      }
    }
    if (!found) {
      err("no menu item \"" + path[level] + "\"");
      return 1;
    }
  }
  return 0;
}

int menuByKeys(HWND top, const std::vector<std::string>& path) {
  std::string keys;
  for (const auto& item : path) {
    const char key = windriver::mnemonicOf(item);
    if (!key) {
      err("the menu item \"" + item + "\" has no mnemonic key (&X), so it cannot be typed here");
      return 1;
    }
    keys += key;
  }
  // The menu bar opens on the first key; the menu's own loop then reads the following characters
  // from the window's queue.
  PostMessageW(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(keys[0]));
  for (size_t i = 1; i < keys.size(); ++i) {
    Sleep(300);
    PostMessageW(top, WM_CHAR, static_cast<WPARAM>(keys[i]), 1);
  }
  return 0;
}

int menu(const Command& c) {
  const std::vector<std::string> path = windriver::splitMenuPath(c.get("path"));
  if (path.empty()) {
    err("empty item in menu path: " + c.get("path"));
    return 2;
  }
  const TopFilter f = windowFilter(c);
  HWND top = waitFor(c, [&]() -> HWND {
    auto found = topWindows(f);
    return found.empty() ? nullptr : found.front();
  });
  if (!top) {
    err("no window" + describeTop(f));
    return 1;
  }
  HMENU current = GetMenu(top);
  if (current && GetMenuItemCount(current) > 0) return menuByLookup(top, current, path);
  // Wine keeps a menu's items in the owning process, so another process cannot read them: there
  // the path is typed as its mnemonic keys, as a user would (Alt+F, then O).
  return menuByKeys(top, path);
}

int versionInfo(const Command& c) {
  const std::wstring file = toWide(c.get("file"));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) {
    err("no version information in " + c.get("file"));
    return 1;
  }
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
    err("cannot read the version information of " + c.get("file"));
    return 1;
  }
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    out("Fixed=" + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
        "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS)));
  }
  if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
    const auto* pair = static_cast<const WORD*>(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%04x,%u", pair[0], pair[1]);
    out(std::string("Translation=") + buf);
  }
  static const wchar_t* const keys[] = {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName",
                                        L"LegalCopyright", L"OriginalFilename", L"ProductName", L"ProductVersion"};
  for (const wchar_t* key : keys) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041103a4\\") + key;
    if (VerQueryValueW(data.data(), query.c_str(), &value, &length) && length > 0)
      out(toUtf8(key) + "=" + toUtf8(static_cast<const wchar_t*>(value)));
  }
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(toUtf8(argv[i]));
  if (argv) LocalFree(argv);
  if (!args.empty() && (args[0] == "--help" || args[0] == "help")) {
    writeTo(STD_OUTPUT_HANDLE, windriver::usage());
    return 0;
  }
  const windriver::ParseResult parsed = windriver::parseArguments(args);
  if (!parsed.ok) {
    err(parsed.error);
    writeTo(STD_ERROR_HANDLE, windriver::usage());
    return 2;
  }
  const Command& c = parsed.command;
  if (c.verb == "list-windows") return listWindows(c);
  if (c.verb == "list-controls") return listControls(c);
  if (c.verb == "wait-window") return waitWindow(c);
  if (c.verb == "wait-gone") return waitGone(c);
  if (c.verb == "end-process") return endProcess(c);
  if (c.verb == "get-text") return getText(c);
  if (c.verb == "set-text") return setText(c);
  if (c.verb == "click") return click(c);
  if (c.verb == "answer-box") return answerBox(c);
  if (c.verb == "menu") return menu(c);
  if (c.verb == "version-info") return versionInfo(c);
  err("command not implemented: " + c.verb);
  return 2;
}

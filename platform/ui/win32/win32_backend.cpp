// The Win32 backend: peers of the standard controls, the message loop, message boxes, time,
// text measuring and the shell's folder browser.
#include "platform/ui/win32/win32_backend.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/win32/win32_peers.h"

namespace ui::win32 {

namespace {

// Labels and group boxes have no window: a change repaints the form, and a group box that moves,
// hides or is disabled takes its windowed children with it.
class DrawnPeer : public ControlPeer {
 public:
  explicit DrawnPeer(Control& c) : control_(c) {}
  void update(int property) override {
    FormPeer* form = PeerOfForm(control_);
    if (!form) return;
    if (property == prop::kBounds || property == prop::kVisible || property == prop::kEnabled)
      form->syncSubtree(control_);
    form->invalidate();
    if (property == prop::kRepaint) UpdateWindow(form->hwnd());
  }

 private:
  Control& control_;
};

class ButtonPeer : public ChildPeer {
 public:
  explicit ButtonPeer(Button& b)
      : ChildPeer(b, L"BUTTON", WS_TABSTOP | (b.isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)) {}
  void command(int code) override {
    if (code == BN_CLICKED) control_.click();
  }
  void update(int property) override {
    if (property == prop::kDefault && hwnd()) {
      bool def = static_cast<Button&>(control_).isDefault();
      SendMessageW(hwnd(), BM_SETSTYLE, def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
      return;
    }
    ChildPeer::update(property);
  }
};

class CheckBoxPeer : public ChildPeer {
 public:
  // Not an automatic box: the model toggles on click and the peer mirrors it.
  explicit CheckBoxPeer(CheckBox& b) : ChildPeer(b, L"BUTTON", WS_TABSTOP | BS_CHECKBOX) { mirror(); }
  void command(int code) override {
    if (code == BN_CLICKED) control_.click();
  }
  void update(int property) override {
    if (property == prop::kChecked) mirror();
    else ChildPeer::update(property);
  }

 private:
  void mirror() {
    if (hwnd())
      SendMessageW(hwnd(), BM_SETCHECK, static_cast<CheckBox&>(control_).checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

class EditPeer : public ChildPeer {
 public:
  EditPeer(TextControl& t, DWORD style) : ChildPeer(t, L"EDIT", style, WS_EX_CLIENTEDGE) { mirror(); }
  void command(int code) override {
    if (code == EN_CHANGE && hwnd() && !mirroring_) {
      int n = GetWindowTextLengthW(hwnd());
      std::wstring w(static_cast<size_t>(n) + 1, L'\0');
      GetWindowTextW(hwnd(), w.data(), n + 1);
      w.resize(static_cast<size_t>(n));
      static_cast<TextControl&>(control_).textChangedByUser(Narrow(w));
    }
  }
  void update(int property) override {
    if (property == prop::kText) mirror();
    else if (property == prop::kReadOnly && hwnd())
      SendMessageW(hwnd(), EM_SETREADONLY, static_cast<TextControl&>(control_).readOnly(), 0);
    else ChildPeer::update(property);
  }
  HBRUSH colours(HDC dc) override {
    // Text boxes keep the window colour, read-only or not.
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(control_.effectivelyEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
  }

 protected:
  void mirror() {
    if (!hwnd()) return;
    mirroring_ = true;
    SetWindowTextW(hwnd(), DisplayText(static_cast<TextControl&>(control_).text()).c_str());
    if (static_cast<TextControl&>(control_).readOnly()) SendMessageW(hwnd(), EM_SETREADONLY, TRUE, 0);
    mirroring_ = false;
  }

 private:
  bool mirroring_ = false;
};

DWORD MemoStyle(const Memo& m) {
  DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (m.scrollBars() == ScrollBars::Vertical || m.scrollBars() == ScrollBars::Both) style |= WS_VSCROLL;
  if (m.scrollBars() == ScrollBars::Horizontal || m.scrollBars() == ScrollBars::Both) style |= WS_HSCROLL;
  if (!m.wordWrap()) style |= ES_AUTOHSCROLL;
  if (m.readOnly()) style |= ES_READONLY;
  return style;
}

class MemoPeer : public EditPeer {
 public:
  explicit MemoPeer(Memo& m) : EditPeer(m, MemoStyle(m)) {}
  void update(int property) override {
    if (property == prop::kScrollBars || property == prop::kWordWrap) {
      // Scroll bars and wrapping are fixed when the window is made.
      recreate(MemoStyle(static_cast<Memo&>(control_)), WS_EX_CLIENTEDGE);
      mirror();
      return;
    }
    EditPeer::update(property);
  }
};

class ProgressPeer : public ChildPeer {
 public:
  explicit ProgressPeer(ProgressBar& p) : ChildPeer(p, PROGRESS_CLASSW, 0) { mirror(); }
  void update(int property) override {
    if (property == prop::kPosition) mirror();
    else ChildPeer::update(property);
  }

 private:
  void mirror() {
    if (!hwnd()) return;
    auto& p = static_cast<ProgressBar&>(control_);
    SendMessageW(hwnd(), PBM_SETRANGE32, static_cast<WPARAM>(p.min()), static_cast<LPARAM>(p.max()));
    SendMessageW(hwnd(), PBM_SETPOS, static_cast<WPARAM>(p.position()), 0);
  }
};

std::map<UINT_PTR, std::function<void()>>& Timers() {
  static std::map<UINT_PTR, std::function<void()>> timers;
  return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  auto callback = it->second;  // the callback may stop its own timer
  callback();
}

constexpr UINT kWake = WM_APP + 1;

class Win32Backend : public Backend {
 public:
  Win32Backend() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    registerPeer("Form", [](Control& c) { return std::make_unique<FormPeer>(static_cast<Form&>(c)); });
    registerPeer("Button", [](Control& c) { return std::make_unique<ButtonPeer>(static_cast<Button&>(c)); });
    registerPeer("CheckBox", [](Control& c) { return std::make_unique<CheckBoxPeer>(static_cast<CheckBox&>(c)); });
    registerPeer("Edit", [](Control& c) {
      return std::make_unique<EditPeer>(static_cast<Edit&>(c), WS_TABSTOP | ES_AUTOHSCROLL);
    });
    registerPeer("Memo", [](Control& c) { return std::make_unique<MemoPeer>(static_cast<Memo&>(c)); });
    registerPeer("ProgressBar",
                 [](Control& c) { return std::make_unique<ProgressPeer>(static_cast<ProgressBar&>(c)); });
    registerPeer("Label", [](Control& c) { return std::make_unique<DrawnPeer>(c); });
    registerPeer("GroupBox", [](Control& c) { return std::make_unique<DrawnPeer>(c); });
  }

  int messageBox(Form* owner, const std::string& text, const std::string& caption, std::uint32_t flags) override {
    HWND h = nullptr;
    if (owner)
      if (auto* p = dynamic_cast<FormPeer*>(owner->peer())) h = p->hwnd();
    if (!h) h = GetActiveWindow();
    return MessageBoxW(h, DisplayText(text).c_str(), Widen(caption).c_str(), flags);
  }

  void processMessages() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      dispatch(msg);
    }
  }

  // Returns after each posted message and also after messages sent from other threads or
  // processes: a sent click or close is handled inside the wait and may end a modal loop, which
  // must then see its result at once rather than when something next gets posted.
  bool waitForEvent(Form*) override {
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return true;  // only sent messages, now handled
    if (msg.message == WM_QUIT) return false;
    dispatch(msg);
    return true;
  }

  void beginModal(Form& form) override {
    std::vector<HWND> disabled;
    HWND self = handleOf(form);
    for (Form* f : form.application().forms()) {
      HWND h = handleOf(*f);
      if (h && h != self && IsWindowVisible(h) && IsWindowEnabled(h)) {
        EnableWindow(h, FALSE);
        disabled.push_back(h);
      }
    }
    modalDisabled_.push_back(std::move(disabled));
  }

  void endModal(Form& form) override {
    if (modalDisabled_.empty()) return;
    std::vector<HWND> disabled = std::move(modalDisabled_.back());
    modalDisabled_.pop_back();
    for (Form* f : form.application().forms()) {
      HWND h = handleOf(*f);
      // Windows the model itself disabled meanwhile stay disabled.
      if (h && std::find(disabled.begin(), disabled.end(), h) != disabled.end() && f->enabled()) EnableWindow(h, TRUE);
    }
  }

  void quit() override { PostThreadMessageW(GetCurrentThreadId(), kWake, 0, 0); }

  void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }
  std::uint64_t tickCount() override { return GetTickCount64(); }

  int startTimer(std::uint32_t milliseconds, std::function<void()> callback) override {
    UINT_PTR id = SetTimer(nullptr, 0, std::max<std::uint32_t>(milliseconds, 1), TimerProc);
    if (!id) return 0;
    Timers()[id] = std::move(callback);
    return static_cast<int>(id);
  }

  void stopTimer(int id) override {
    KillTimer(nullptr, static_cast<UINT_PTR>(id));
    Timers().erase(static_cast<UINT_PTR>(id));
  }

  Size screenSize() override { return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

  Size measureText(const Font& font, const std::string& text, int wrapWidth) override {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FontHandle(font));
    std::wstring w = DisplayText(text);
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : 0);
    if (w.empty()) w = L" ";
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, flags);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Size{r.right - r.left, r.bottom - r.top};
  }

  bool browseForFolder(FolderBrowse& request) override {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t display[261] = {};
    std::wstring title = Widen(request.title);
    BROWSEINFOW bi{};
    bi.hwndOwner = request.owner ? handleOf(*request.owner) : GetActiveWindow();
    bi.pszDisplayName = display;
    bi.lpszTitle = title.c_str();
    bi.ulFlags = request.flags;
    bool chosen = false;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi)) {
      wchar_t path[MAX_PATH + 1] = {};
      if (SHGetPathFromIDListW(item, path)) {
        request.path = Narrow(path);
        request.imageIndex = bi.iImage;
        chosen = true;
      }
      CoTaskMemFree(item);
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return chosen;
  }

 private:
  static HWND handleOf(Form& f) {
    auto* p = dynamic_cast<FormPeer*>(f.peer());
    return p ? p->hwnd() : nullptr;
  }

  void dispatch(MSG& msg) {
    if (msg.message == kWake && !msg.hwnd) return;
    // Tab, arrow keys, Enter and access keys work in every form as in a dialog.
    if (msg.hwnd) {
      HWND root = GetAncestor(msg.hwnd, GA_ROOT);
      wchar_t cls[32] = {};
      if (root && GetClassNameW(root, cls, 32) && wcscmp(cls, L"PaginaForm") == 0 && IsDialogMessageW(root, &msg))
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  std::vector<std::vector<HWND>> modalDisabled_;
};

}  // namespace

std::unique_ptr<Backend> CreateBackend() { return std::make_unique<Win32Backend>(); }

std::string CommandLineTail() {
  const wchar_t* p = GetCommandLineW();
  if (!p) return {};
  // Skip the program name, quoted or not.
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return Narrow(p);
}

}  // namespace ui::win32

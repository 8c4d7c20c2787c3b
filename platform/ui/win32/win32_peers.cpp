// Form and child-window peers of the Win32 backend: one window procedure that finds the form and
// turns messages into the model's events; labels and group boxes painted by their form.
#include "platform/ui/win32/win32_peers.h"

#include <commctrl.h>

#include <map>
#include <tuple>

#include "platform/ui/controls.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"PaginaForm";

COLORREF Resolve(std::uint32_t colour) {
  return colour == colour::kButtonFace ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* peer = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (peer && peer->hwnd() == hwnd) return peer->handle(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = FormProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
  done = true;
}

DWORD FormStyle(const Form& f, DWORD& exStyle) {
  DWORD style = WS_CLIPCHILDREN;
  exStyle = 0;
  switch (f.borderStyle()) {
    case BorderStyle::None: style |= WS_POPUP; break;
    case BorderStyle::Single: style |= WS_OVERLAPPED | WS_CAPTION; break;
    case BorderStyle::Dialog:
      style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::Sizeable: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
  }
  if (f.systemMenu() && f.borderStyle() != BorderStyle::None) {
    style |= WS_SYSMENU;
    if (f.minimiseBox()) style |= WS_MINIMIZEBOX;
    if (f.maximiseBox()) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

}  // namespace

std::wstring Widen(const std::string& cp932) {
  if (cp932.empty()) return {};
  int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring DisplayText(const std::string& cp932) {
  std::wstring w = Widen(cp932), out;
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] == L'\r') {
      out += L"\r\n";
      if (i + 1 < w.size() && w[i + 1] == L'\n') ++i;
    } else if (w[i] == L'\n') {
      out += L"\r\n";
    } else {
      out += w[i];
    }
  }
  return out;
}

HFONT FontHandle(const Font& font) {
  static std::map<std::tuple<std::string, int, int, bool, bool, bool, int>, HFONT> cache;
  auto key = std::make_tuple(font.name, font.size, font.height, font.bold, font.italic, font.underline, font.charset);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  int height = font.height;
  if (!height) {
    HDC dc = GetDC(nullptr);
    height = MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
  }
  std::wstring face = Widen(font.name);
  // Negative height: the character height, as the window library's font height means.
  HFONT h = CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline, FALSE,
                        static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  cache[key] = h;
  return h;
}

FormPeer* PeerOfForm(Control& c) {
  Form* f = c.form();
  return f ? dynamic_cast<FormPeer*>(f->peer()) : nullptr;
}

// ---------------------------------------------------------------- child windows

ChildPeer::ChildPeer(Control& control, const wchar_t* windowClass, DWORD style, DWORD exStyle)
    : control_(control), class_(windowClass), style_(style), exStyle_(exStyle) {
  create();
}

ChildPeer::~ChildPeer() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void ChildPeer::create() {
  FormPeer* form = PeerOfForm(control_);
  if (!form) return;
  Rect r = control_.boundsInForm();
  std::wstring text = Widen(control_.caption());
  // Every child gets its own id, so that drivers and the dialog manager can tell them apart.
  static int nextId = 100;
  if (!id_) id_ = nextId++;
  hwnd_ = CreateWindowExW(exStyle_, class_, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style_, r.left, r.top, r.width,
                          r.height, form->hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(control_.font())), FALSE);
  syncPlacement();
}

void ChildPeer::recreate(DWORD style, DWORD exStyle) {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  style_ = style;
  exStyle_ = exStyle;
  create();
}

void ChildPeer::syncPlacement() {
  if (!hwnd_) return;
  bool visible = true, enabled = true;
  for (const Control* c = &control_; c && c->parent(); c = c->parent()) {
    visible = visible && c->visible();
    enabled = enabled && c->enabled();
  }
  Rect r = control_.boundsInForm();
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  EnableWindow(hwnd_, enabled);
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void ChildPeer::update(int property) {
  if (!hwnd_) return;
  switch (property) {
    case prop::kCaption: SetWindowTextW(hwnd_, Widen(control_.caption()).c_str()); break;
    case prop::kBounds:
    case prop::kVisible:
    case prop::kEnabled: syncPlacement(); break;
    case prop::kFont:
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(control_.font())), TRUE);
      break;
    default: break;
  }
}

void ChildPeer::setFocus() {
  if (hwnd_) SetFocus(hwnd_);
}

HBRUSH ChildPeer::colours(HDC dc) {
  FormPeer* form = PeerOfForm(control_);
  if (!form) return nullptr;
  SetBkColor(dc, form->backgroundColour());
  SetTextColor(dc, Resolve(control_.font().color));
  return form->background();
}

// ---------------------------------------------------------------- forms

FormPeer::FormPeer(Form& form) : form_(form) {
  RegisterFormClass();
  DWORD exStyle = 0;
  DWORD style = FormStyle(form, exStyle);
  HWND owner = nullptr;
  Form* mainForm = form.application().mainForm();
  if (mainForm && mainForm != &form) {
    if (auto* p = dynamic_cast<FormPeer*>(mainForm->peer())) owner = p->hwnd();
  }
  brush_ = CreateSolidBrush(backgroundColour());
  hwnd_ = CreateWindowExW(exStyle, kFormClass, Widen(form.caption()).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                          form.clientWidth(), form.clientHeight(), owner, nullptr, GetModuleHandleW(nullptr), this);
  applyBounds();
  if (!form.enabled()) EnableWindow(hwnd_, FALSE);
}

FormPeer::~FormPeer() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (brush_) DeleteObject(brush_);
}

COLORREF FormPeer::backgroundColour() const { return Resolve(form_.colour()); }

void FormPeer::applyBounds() {
  if (!hwnd_ || IsZoomed(hwnd_)) return;
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  RECT r{0, 0, form_.clientWidth(), form_.clientHeight()};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (form_.position() == Position::ScreenCentre) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + ((work.right - work.left) - w) / 2;
    int y = work.top + ((work.bottom - work.top) - h) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
}

void FormPeer::update(int property) {
  if (!hwnd_) return;
  switch (property) {
    case prop::kCaption: SetWindowTextW(hwnd_, Widen(form_.caption()).c_str()); break;
    case prop::kBounds: applyBounds(); break;
    case prop::kEnabled: EnableWindow(hwnd_, form_.enabled()); break;
    case prop::kVisible:
      if (form_.visible()) {
        applyBounds();
        showing_ = true;
        ShowWindow(hwnd_, form_.windowState() == WindowState::Maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
        UpdateWindow(hwnd_);
      } else {
        showing_ = false;
        ShowWindow(hwnd_, SW_HIDE);
      }
      break;
    case prop::kColour:
      if (brush_) DeleteObject(brush_);
      brush_ = CreateSolidBrush(backgroundColour());
      invalidate();
      break;
    case prop::kSystemMenu:
      if (!form_.systemCloseEnabled()) {
        if (HMENU menu = GetSystemMenu(hwnd_, FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
      }
      break;
    case prop::kWindowState:
      if (form_.visible())
        ShowWindow(hwnd_, form_.windowState() == WindowState::Maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
      break;
    default: break;
  }
}

void FormPeer::syncSubtree(Control& root) {
  for (Control* c : root.children()) {
    if (auto* child = dynamic_cast<ChildPeer*>(c->peer())) child->syncPlacement();
    syncSubtree(*c);
  }
}

void FormPeer::invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormPeer::paintTree(HDC dc, Control& c) {
  for (Control* child : c.children()) {
    if (!child->visible() || child->windowed()) continue;
    Rect b = child->boundsInForm();
    RECT r{b.left, b.top, b.right(), b.bottom()};
    SelectObject(dc, FontHandle(child->font()));
    SetTextColor(dc, Resolve(child->font().color));
    std::wstring text = DisplayText(child->caption());
    if (auto* label = dynamic_cast<Label*>(child)) {
      if (label->transparent()) {
        SetBkMode(dc, TRANSPARENT);
      } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, backgroundColour());
        FillRect(dc, &r, brush_);
      }
      UINT flags = DT_NOPREFIX;
      flags |= label->alignment() == Alignment::Centre ? DT_CENTER
               : label->alignment() == Alignment::Right ? DT_RIGHT
                                                        : DT_LEFT;
      if (label->wordWrap()) flags |= DT_WORDBREAK;
      if (label->centredVertically() && text.find(L'\n') == std::wstring::npos) flags |= DT_VCENTER | DT_SINGLELINE;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    } else if (dynamic_cast<GroupBox*>(child)) {
      TEXTMETRICW tm{};
      GetTextMetricsW(dc, &tm);
      RECT frame = r;
      frame.top += tm.tmHeight / 2;
      DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      if (!text.empty()) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, backgroundColour());
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT caption{r.left + 8, r.top, r.left + 8 + size.cx + 4, r.top + tm.tmHeight};
        FillRect(dc, &caption, brush_);
        caption.left += 2;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_NOPREFIX | DT_SINGLELINE);
      }
    }
    paintTree(dc, *child);
  }
}

void FormPeer::paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, brush_);
  HGDIOBJ old = SelectObject(dc, FontHandle(form_.font()));
  paintTree(dc, form_);
  SelectObject(dc, old);
}

LRESULT FormPeer::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child) {
        if (auto* peer = reinterpret_cast<ChildPeer*>(GetWindowLongPtrW(child, GWLP_USERDATA))) {
          peer->command(HIWORD(wParam));
          return 0;
        }
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (auto* peer = reinterpret_cast<ChildPeer*>(GetWindowLongPtrW(child, GWLP_USERDATA))) {
        if (HBRUSH b = peer->colours(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(b);
      }
      break;
    }
    case WM_SIZE:
      if (showing_ && wParam != SIZE_MINIMIZED) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        form_.resized(Rect{r.left, r.top, r.right - r.left, r.bottom - r.top});
        invalidate();
      }
      return 0;
    case WM_ACTIVATE: {
      LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      if (LOWORD(wParam) == WA_INACTIVE) {
        form_.deactivated();
      } else if (!form_.active()) {
        form_.activated();
        if (Control* c = form_.activeControl()) c->setFocus();
      }
      return result;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE && !form_.systemCloseEnabled()) return 0;
      break;
    case WM_CLOSE:
      if (form_.systemCloseEnabled()) form_.close();
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace ui::win32

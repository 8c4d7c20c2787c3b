// Win32 peers of the viewer's controls. The form's window is subclassed once to route the menu,
// toolbar and scroll-bar notifications and to report the window's placement; pictures are
// decoded by the system's picture loader and drawn by the frame that holds them, so the frame
// clips its inner picture as a picture box does.
#include "platform/ui/win32/viewer_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <olectl.h>

#include <map>
#include <vector>

#include "platform/ui/viewer_controls.h"
#include "platform/ui/win32/win32_peers.h"

namespace ui::win32 {

namespace {

constexpr UINT_PTR kHookId = 0x5647;  // "VG"
constexpr UINT kFirstMenuId = 40000;
constexpr UINT kFirstToolId = 41000;

// What the form's subclass routes, per form window.
struct FormRoutes {
  std::map<UINT, MenuItem*> menus;
  std::map<HWND, Toolbar*> toolbars;
  std::map<HWND, ScrollBar*> bars;
  WindowPlacement* placement = nullptr;
};
std::map<HWND, FormRoutes>& Routes() {
  static std::map<HWND, FormRoutes> routes;
  return routes;
}

void ReportPlacement(HWND hwnd, FormRoutes& r) {
  if (!r.placement) return;
  RECT outer{}, client{};
  GetWindowRect(hwnd, &outer);
  GetClientRect(hwnd, &client);
  r.placement->reported(Rect{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top},
                        Size{client.right, client.bottom});
}

void Scrolled(ScrollBar& bar, int code) {
  int v = bar.value();
  switch (code) {
    case SB_LINEUP: v -= bar.smallChange(); break;
    case SB_LINEDOWN: v += bar.smallChange(); break;
    case SB_PAGEUP: v -= bar.largeChange(); break;
    case SB_PAGEDOWN: v += bar.largeChange(); break;
    case SB_TOP: v = bar.min(); break;
    case SB_BOTTOM: v = bar.max(); break;
    default: return;
  }
  bar.valueChangedByUser(v);
}

LRESULT CALLBACK FormHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  auto it = Routes().find(hwnd);
  if (it != Routes().end()) {
    FormRoutes& r = it->second;
    switch (message) {
      case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
          auto m = r.menus.find(LOWORD(wParam));
          if (m != r.menus.end()) {
            m->second->click();
            return 0;
          }
        } else if (auto t = r.toolbars.find(reinterpret_cast<HWND>(lParam)); t != r.toolbars.end()) {
          t->second->clickButton(static_cast<int>(LOWORD(wParam)) - static_cast<int>(kFirstToolId) + 1);
          return 0;
        }
        break;
      case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TTN_GETDISPINFOW) {
          auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
          const int index = static_cast<int>(hdr->idFrom) - static_cast<int>(kFirstToolId) + 1;
          for (auto& [tbHwnd, tb] : r.toolbars) {
            if (index >= 1 && index <= static_cast<int>(tb->buttons().size())) {
              static std::wstring text;
              text = Widen(tb->buttons()[index - 1].tooltip);
              info->lpszText = const_cast<wchar_t*>(text.c_str());
              return 0;
            }
          }
        }
        break;
      }
      case WM_HSCROLL:
      case WM_VSCROLL: {
        auto b = r.bars.find(reinterpret_cast<HWND>(lParam));
        if (b == r.bars.end()) break;
        const int code = LOWORD(wParam);
        // While the thumb is dragged the picture stays; it moves when the thumb is released.
        if (code == SB_THUMBPOSITION) {
          SCROLLINFO si{};
          si.cbSize = sizeof si;
          si.fMask = SIF_TRACKPOS;
          GetScrollInfo(b->first, SB_CTL, &si);
          b->second->valueChangedByUser(si.nTrackPos);
        } else {
          Scrolled(*b->second, code);
        }
        return 0;
      }
      case WM_SIZE:
      case WM_MOVE:
        ReportPlacement(hwnd, r);
        break;
      case WM_GETMINMAXINFO:
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, FormHook, kHookId);
        Routes().erase(hwnd);
        break;
      default: break;
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The routes of a control's form, hooking the form's window the first time.
FormRoutes* RoutesOf(Control& c, HWND* formHwnd = nullptr) {
  FormPeer* form = PeerOfForm(c);
  if (!form || !form->hwnd()) return nullptr;
  HWND hwnd = form->hwnd();
  if (formHwnd) *formHwnd = hwnd;
  if (!Routes().count(hwnd)) {
    Routes()[hwnd];
    SetWindowSubclass(hwnd, FormHook, kHookId, 0);
  }
  return &Routes()[hwnd];
}

// ---------------------------------------------------------------- menu

class MenuBarPeer : public ControlPeer {
 public:
  explicit MenuBarPeer(MenuBar& bar) : bar_(bar) { build(); }
  ~MenuBarPeer() override {
    if (menu_) DestroyMenu(menu_);
  }
  void update(int property) override {
    if (property == viewerprop::kMenu || property == prop::kCaption) build();
  }
  void build() {
    HWND formHwnd = nullptr;
    FormRoutes* r = RoutesOf(bar_, &formHwnd);
    if (!r) return;
    HMENU old = menu_;
    menu_ = CreateMenu();
    UINT id = kFirstMenuId;
    r->menus.clear();
    for (Control* top : bar_.children()) {
      HMENU popup = CreatePopupMenu();
      for (Control* child : top->children()) {
        auto* item = dynamic_cast<MenuItem*>(child);
        if (!item) continue;
        if (item->separator()) {
          AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
          AppendMenuW(popup, MF_STRING, id, Widen(item->caption()).c_str());
          r->menus[id++] = item;
        }
      }
      AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Widen(top->caption()).c_str());
    }
    SetMenu(formHwnd, menu_);
    DrawMenuBar(formHwnd);
    if (old) DestroyMenu(old);
  }

 private:
  MenuBar& bar_;
  HMENU menu_ = nullptr;
};

// Menu items are built by their bar; a caption change rebuilds it.
class MenuItemPeer : public ControlPeer {
 public:
  explicit MenuItemPeer(MenuItem& item) : item_(item) {}
  void update(int property) override {
    if (property != prop::kCaption) return;
    for (Control* c = item_.parent(); c; c = c->parent())
      if (auto* bar = dynamic_cast<MenuBar*>(c)) {
        if (auto* p = dynamic_cast<MenuBarPeer*>(bar->peer())) p->build();
        return;
      }
  }

 private:
  MenuItem& item_;
};

// ---------------------------------------------------------------- toolbar and status bar

class ToolbarPeer : public ChildPeer {
 public:
  explicit ToolbarPeer(Toolbar& tb)
      : ChildPeer(tb, TOOLBARCLASSNAMEW,
                  WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER),
        tb_(tb) {
    if (FormRoutes* r = RoutesOf(tb)) r->toolbars[hwnd()] = &tb;
    build();
  }
  ~ToolbarPeer() override {
    if (images_) ImageList_Destroy(images_);
  }
  void update(int property) override {
    if (property == viewerprop::kButtons) build();
    else ChildPeer::update(property);
  }

 private:
  void build() {
    HWND h = hwnd();
    if (!h) return;
    while (SendMessageW(h, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(h, TB_DELETEBUTTON, 0, 0);
    SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const int w = tb_.imageWidth() > 0 ? tb_.imageWidth() : 16, hgt = tb_.imageHeight() > 0 ? tb_.imageHeight() : 16;
    if (images_) ImageList_Destroy(images_);
    images_ = ImageList_Create(w, hgt, ILC_COLOR24 | ILC_MASK, 16, 4);
    for (const std::string& file : tb_.images()) {
      // A file may hold one picture or a strip of several side by side; magenta is transparent.
      auto bmp = static_cast<HBITMAP>(LoadImageW(nullptr, Widen(file).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
      if (!bmp) continue;
      ImageList_AddMasked(images_, bmp, RGB(255, 0, 255));
      DeleteObject(bmp);
    }
    SendMessageW(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    SendMessageW(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(w, hgt));
    std::vector<TBBUTTON> buttons;
    int index = 0;
    for (const ToolButton& b : tb_.buttons()) {
      TBBUTTON t{};
      t.idCommand = static_cast<int>(kFirstToolId) + index++;
      if (b.separator) {
        t.fsStyle = BTNS_SEP;
        t.iBitmap = 6;
      } else {
        t.iBitmap = b.image - 1;
        t.fsState = TBSTATE_ENABLED;
        t.fsStyle = BTNS_BUTTON;
      }
      buttons.push_back(t);
    }
    if (!buttons.empty())
      SendMessageW(h, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(h, TB_AUTOSIZE, 0, 0);
    syncPlacement();
  }
  Toolbar& tb_;
  HIMAGELIST images_ = nullptr;
};

class StatusBarPeer : public ChildPeer {
 public:
  explicit StatusBarPeer(StatusBar& sb)
      : ChildPeer(sb, STATUSCLASSNAMEW, WS_CHILD | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER), sb_(sb) {
    sync();
  }
  void update(int property) override {
    if (property == viewerprop::kPanels) sync();
    else ChildPeer::update(property);
  }

 private:
  void sync() {
    HWND h = hwnd();
    if (!h) return;
    std::vector<int> edges;
    int x = 0;
    for (int w : sb_.panelWidths()) {
      x += w;
      edges.push_back(w < 0 ? -1 : x);
    }
    if (edges.empty()) return;
    SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 1; i <= sb_.panelCount(); ++i)
      SendMessageW(h, SB_SETTEXTW, static_cast<WPARAM>(i - 1), reinterpret_cast<LPARAM>(Widen(sb_.panelText(i)).c_str()));
  }
  StatusBar& sb_;
};

// ---------------------------------------------------------------- pictures

// A decoded picture as a device-independent bitmap section.
struct LoadedPicture {
  HBITMAP bitmap = nullptr;
  Size size;
  ~LoadedPicture() {
    if (bitmap) DeleteObject(bitmap);
  }
};

bool LoadPictureFile(const std::string& path, LoadedPicture& out) {
  static bool com = SUCCEEDED(CoInitialize(nullptr)) || true;
  (void)com;
  IPicture* picture = nullptr;
  std::wstring wide = Widen(path);
  if (FAILED(OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                                reinterpret_cast<void**>(&picture))) ||
      !picture)
    return false;
  OLE_HANDLE handle = 0;
  short type = 0;
  bool ok = false;
  if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
    BITMAP info{};
    HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (GetObjectW(source, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
      out.bitmap = static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0));
      out.size = Size{info.bmWidth, info.bmHeight};
      ok = out.bitmap != nullptr;
    }
  }
  picture->Release();
  return ok;
}

// Picture boxes that hold other picture boxes (the frame) get a window; the others draw into
// their parent frame's window, or into their own when they stand alone.
class PictureWindowPeer;

class PicturePeerImpl : public PicturePeer {
 public:
  explicit PicturePeerImpl(PictureBox& box) : box_(box) {}
  bool loadPicture(const std::string& path, Size& size) override {
    // The same file, unchanged in size and write time, is not decoded again (a resize redraws
    // the page it already shows).
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    const bool stamped = !path.empty() && GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &stamp);
    if (picture_ && stamped && path == path_ && SameStamp(stamp, stamp_)) {
      size = picture_->size;
      repaintHost();
      return true;
    }
    picture_.reset();
    path_.clear();
    if (!path.empty()) {
      auto p = std::make_unique<LoadedPicture>();
      if (!LoadPictureFile(path, *p)) {
        repaintHost();
        return false;
      }
      size = p->size;
      picture_ = std::move(p);
      path_ = path;
      stamp_ = stamp;
    }
    repaintHost();
    return true;
  }
  static bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
           a.ftLastWriteTime.dwLowDateTime == b.ftLastWriteTime.dwLowDateTime &&
           a.ftLastWriteTime.dwHighDateTime == b.ftLastWriteTime.dwHighDateTime;
  }
  void update(int) override { repaintHost(); }
  void paint(HDC dc, int x, int y, int w, int h) const {
    if (!picture_) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, picture_->bitmap);
    if (box_.stretch()) {
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, x, y, w, h, mem, 0, 0, picture_->size.width, picture_->size.height, SRCCOPY);
    } else {
      BitBlt(dc, x, y, picture_->size.width, picture_->size.height, mem, 0, 0, SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  const LoadedPicture* picture() const { return picture_.get(); }
  void setHost(HWND hwnd) { host_ = hwnd; }
  void repaintHost();

 protected:
  PictureBox& box_;
  std::unique_ptr<LoadedPicture> picture_;
  std::string path_;
  WIN32_FILE_ATTRIBUTE_DATA stamp_{};
  HWND host_ = nullptr;
};

const wchar_t kPictureClass[] = L"PaginaPicture";

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterPictureClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PictureProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kPictureClass;
  RegisterClassW(&wc);
  done = true;
}

// A picture box with a window: it draws its own picture and those of its inner picture boxes.
class PictureWindowPeer : public ChildPeer {
 public:
  explicit PictureWindowPeer(PictureBox& box)
      : ChildPeer(box, (RegisterPictureClass(), kPictureClass), WS_CHILD | WS_CLIPSIBLINGS,
                  box.border() ? WS_EX_STATICEDGE : 0),
        own_(box), box_(box) {
    own_.setHost(hwnd());
  }
  bool load(const std::string& path, Size& size) { return own_.loadPicture(path, size); }
  void update(int property) override {
    ChildPeer::update(property);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void paint(HDC dc) {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    HBRUSH brush = CreateSolidBrush(box_.colour() == colour::kButtonFace ? GetSysColor(COLOR_BTNFACE)
                                                                         : static_cast<COLORREF>(box_.colour()));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    own_.paint(dc, 0, 0, rc.right, rc.bottom);
    for (Control* child : box_.children())
      if (auto* inner = dynamic_cast<PictureBox*>(child); inner && inner->visible())
        paintInner(dc, *inner);
  }
  static void paintInner(HDC dc, PictureBox& inner);
  PicturePeerImpl& own() { return own_; }

 private:
  PicturePeerImpl own_;
  PictureBox& box_;
};

// The peer registered for "PictureBox": a window for boxes on the form, none for inner boxes.
class PictureBoxPeer : public PicturePeer {
 public:
  explicit PictureBoxPeer(PictureBox& box) : box_(box) {
    if (!dynamic_cast<PictureBox*>(box.parent())) window_ = std::make_unique<PictureWindowPeer>(box);
    else inner_ = std::make_unique<PicturePeerImpl>(box);
  }
  bool loadPicture(const std::string& path, Size& size) override {
    return window_ ? window_->load(path, size) : inner_->loadPicture(path, size);
  }
  void update(int property) override {
    if (window_) window_->update(property);
    else inner_->update(property);
  }
  PicturePeerImpl* inner() { return inner_.get(); }

 private:
  PictureBox& box_;
  std::unique_ptr<PictureWindowPeer> window_;
  std::unique_ptr<PicturePeerImpl> inner_;
};

void PictureWindowPeer::paintInner(HDC dc, PictureBox& inner) {
  if (auto* p = dynamic_cast<PictureBoxPeer*>(inner.peer()))
    if (PicturePeerImpl* impl = p->inner()) impl->paint(dc, inner.left(), inner.top(), inner.width(), inner.height());
}

void PicturePeerImpl::repaintHost() {
  if (host_) {
    InvalidateRect(host_, nullptr, FALSE);
    return;
  }
  // An inner picture repaints its frame.
  if (auto* frame = dynamic_cast<PictureBox*>(box_.parent()))
    if (auto* p = dynamic_cast<PictureBoxPeer*>(frame->peer())) p->update(viewerprop::kPicture);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    auto* peer = reinterpret_cast<ChildPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (auto* pw = dynamic_cast<PictureWindowPeer*>(peer)) pw->paint(dc);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- scroll bar and placement

class ScrollBarPeer : public ChildPeer {
 public:
  explicit ScrollBarPeer(ScrollBar& bar)
      : ChildPeer(bar, L"SCROLLBAR", WS_CHILD | (bar.vertical() ? SBS_VERT : SBS_HORZ)), bar_(bar) {
    if (FormRoutes* r = RoutesOf(bar)) r->bars[hwnd()] = &bar;
    sync();
  }
  void update(int property) override {
    if (property == viewerprop::kScroll) sync();
    else ChildPeer::update(property);
  }

 private:
  void sync() {
    if (!hwnd()) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    // The system's page size makes the thumb proportional; the range end then grows by it.
    si.nMin = bar_.min();
    si.nMax = bar_.max() + bar_.largeChange() - 1;
    si.nPage = static_cast<UINT>(bar_.largeChange());
    si.nPos = bar_.value();
    SetScrollInfo(hwnd(), SB_CTL, &si, TRUE);
  }
  ScrollBar& bar_;
};

class PlacementPeer : public ControlPeer {
 public:
  explicit PlacementPeer(WindowPlacement& p) : p_(p) {
    HWND hwnd = nullptr;
    if (FormRoutes* r = RoutesOf(p, &hwnd)) {
      r->placement = &p;
      ReportPlacement(hwnd, *r);
    }
  }
  void update(int property) override {
    if (property != viewerprop::kPlacement) return;
    HWND hwnd = nullptr;
    if (!RoutesOf(p_, &hwnd)) return;
    const Rect r = p_.requested();
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  WindowPlacement& p_;
};

// ---------------------------------------------------------------- text box

// An edit that offers Enter to its model first: the dialog manager would otherwise press the
// default button, while the viewer's dialogs use Enter to move to the next field.
class TextBoxPeer : public ChildPeer {
 public:
  explicit TextBoxPeer(TextBox& box)
      : ChildPeer(box, L"EDIT", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | (box.centred() ? ES_CENTER : 0),
                  WS_EX_CLIENTEDGE),
        box_(box) {
    if (hwnd()) SetWindowSubclass(hwnd(), EditHook, kHookId, reinterpret_cast<DWORD_PTR>(this));
    mirror();
  }
  ~TextBoxPeer() override {
    if (hwnd()) RemoveWindowSubclass(hwnd(), EditHook, kHookId);
  }
  void command(int code) override {
    if (code != EN_CHANGE || !hwnd() || mirroring_) return;
    const int n = GetWindowTextLengthW(hwnd());
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd(), w.data(), n + 1);
    w.resize(static_cast<size_t>(n));
    box_.textChangedByUser(Narrow(w));
  }
  void update(int property) override {
    if (property == prop::kText) mirror();
    else ChildPeer::update(property);
  }
  HBRUSH colours(HDC dc) override {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
  }

 private:
  static LRESULT CALLBACK EditHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TextBoxPeer*>(data);
    if (message == WM_GETDLGCODE && lParam) {
      auto* msg = reinterpret_cast<MSG*>(lParam);
      if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && self->box_.onKeyPress)
        return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTMESSAGE;
    }
    if (message == WM_CHAR && wParam == VK_RETURN && self->box_.onKeyPress) {
      if (self->box_.onKeyPress('\r')) return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  void mirror() {
    if (!hwnd()) return;
    mirroring_ = true;
    SetWindowTextW(hwnd(), Widen(box_.text()).c_str());
    mirroring_ = false;
  }
  TextBox& box_;
  bool mirroring_ = false;
};

// ---------------------------------------------------------------- common dialogs and printing

std::wstring FilterText(const std::string& filter) {
  std::wstring w = Widen(filter);
  for (auto& c : w)
    if (c == L'|') c = L'\0';
  w.push_back(L'\0');
  w.push_back(L'\0');
  return w;
}

void PrintTree(HDC dc, Control& root, double scale) {
  for (Control* c : root.children()) {
    if (!c->visible()) continue;
    Rect b = c->boundsInForm();
    const int x = static_cast<int>(b.left * scale), y = static_cast<int>(b.top * scale);
    const int w = static_cast<int>(b.width * scale), h = static_cast<int>(b.height * scale);
    if (auto* box = dynamic_cast<PictureBox*>(c)) {
      const LoadedPicture* pic = nullptr;
      if (auto* p = dynamic_cast<PictureBoxPeer*>(box->peer())) {
        if (p->inner()) pic = p->inner()->picture();
      }
      if (pic) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, pic->bitmap);
        StretchBlt(dc, x, y, w, h, mem, 0, 0, pic->size.width, pic->size.height, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
      }
    } else if (!c->caption().empty()) {
      LOGFONTW lf{};
      lf.lfHeight = -static_cast<LONG>(12 * scale);
      lf.lfCharSet = SHIFTJIS_CHARSET;
      wcscpy(lf.lfFaceName, Widen(c->font().name).c_str());
      HFONT font = CreateFontIndirectW(&lf);
      HGDIOBJ old = SelectObject(dc, font);
      std::wstring text = Widen(c->caption());
      TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
      SelectObject(dc, old);
      DeleteObject(font);
    }
    PrintTree(dc, *c, scale);
  }
}

class CommonDialogPeerImpl : public CommonDialogPeer {
 public:
  explicit CommonDialogPeerImpl(CommonDialog& d) : d_(d) {}
  bool showFile(FileDialogOptions& options) override {
    std::wstring filter = FilterText(options.filter);
    std::vector<wchar_t> name(4096, L'\0');
    std::wstring preset = Widen(options.fileName);
    if (preset.size() < name.size()) std::copy(preset.begin(), preset.end(), name.begin());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    FormPeer* form = PeerOfForm(d_);
    ofn.hwndOwner = form ? form->hwnd() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_HIDEREADONLY | (options.save ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL ok = options.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    options.fileName = Narrow(name.data());
    return true;
  }
  bool printForm(Form& form, std::uint32_t flags) override {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    FormPeer* owner = PeerOfForm(d_);
    pd.hwndOwner = owner ? owner->hwnd() : nullptr;
    pd.Flags = flags | PD_RETURNDC;
    if (!PrintDlgW(&pd) || !pd.hDC) return false;
    HDC dc = pd.hDC;
    // The form is drawn at its natural size: its pixels are screen pixels at 96 per inch.
    const double scale = GetDeviceCaps(dc, LOGPIXELSX) / 96.0;
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"Pagina";
    bool ok = StartDocW(dc, &doc) > 0;
    if (ok) {
      ok = StartPage(dc) > 0;
      if (ok) {
        PrintTree(dc, form, scale);
        ok = EndPage(dc) > 0;
      }
      if (ok) EndDoc(dc);
      else AbortDoc(dc);
    }
    DeleteDC(dc);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    return ok;
  }

 private:
  CommonDialog& d_;
};

}  // namespace

void RegisterViewerPeers(Backend& backend) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_BAR_CLASSES;
  InitCommonControlsEx(&icc);
  backend.registerPeer("MenuBar", [](Control& c) { return std::make_unique<MenuBarPeer>(static_cast<MenuBar&>(c)); });
  backend.registerPeer("MenuItem", [](Control& c) { return std::make_unique<MenuItemPeer>(static_cast<MenuItem&>(c)); });
  backend.registerPeer("Toolbar", [](Control& c) { return std::make_unique<ToolbarPeer>(static_cast<Toolbar&>(c)); });
  backend.registerPeer("StatusBar", [](Control& c) { return std::make_unique<StatusBarPeer>(static_cast<StatusBar&>(c)); });
  backend.registerPeer("PictureBox", [](Control& c) { return std::make_unique<PictureBoxPeer>(static_cast<PictureBox&>(c)); });
  backend.registerPeer("ScrollBar", [](Control& c) { return std::make_unique<ScrollBarPeer>(static_cast<ScrollBar&>(c)); });
  backend.registerPeer("TextBox", [](Control& c) { return std::make_unique<TextBoxPeer>(static_cast<TextBox&>(c)); });
  backend.registerPeer("WindowPlacement",
                       [](Control& c) { return std::make_unique<PlacementPeer>(static_cast<WindowPlacement&>(c)); });
  backend.registerPeer("CommonDialog",
                       [](Control& c) { return std::make_unique<CommonDialogPeerImpl>(static_cast<CommonDialog&>(c)); });
}

}  // namespace ui::win32

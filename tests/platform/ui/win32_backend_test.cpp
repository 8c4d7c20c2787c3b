// The Win32 backend with real windows: clicks and typing reach the model, the model reaches the
// windows (texts in CP932, enabled and visible through parents, check marks, scroll bars), the
// modal loop ends on a real click (also one sent from another thread), and message boxes return
// the pressed button.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_peers.h"

namespace {

class Window : public ui::Form {
 public:
  explicit Window(ui::Application& app) : ui::Form(app, "window") {
    setClientSize(300, 200);
    setBorderStyle(ui::BorderStyle::Single);
    setPosition(ui::Position::ScreenCentre);
    box.setBounds(10, 10, 280, 120);
    button.setBounds(10, 20, 100, 25);
    button.setCaption("押す(&P)");
    check.setBounds(10, 50, 100, 20);
    check.setCaption("確認");
    edit.setBounds(10, 80, 200, 24);
    memo.setBounds(10, 140, 200, 50);
  }
  ui::GroupBox box{this, "box"};
  ui::Button button{&box, "button"};
  ui::CheckBox check{&box, "check"};
  ui::Edit edit{&box, "edit"};
  ui::Memo memo{this, "memo"};
  ui::Label label{this, "label"};
};

HWND Handle(ui::Control& c) { return dynamic_cast<ui::win32::ChildPeer&>(*c.peer()).hwnd(); }
HWND FormHandle(ui::Form& f) { return dynamic_cast<ui::win32::FormPeer&>(*f.peer()).hwnd(); }

std::wstring WindowText(HWND h) {
  wchar_t buffer[512] = {};
  GetWindowTextW(h, buffer, 512);
  return buffer;
}

struct Fixture {
  ui::Application app{ui::win32::CreateBackend()};
  Window window{app};
  Fixture() {
    app.createForm(window);
    window.show();
  }
};

TEST(Win32Backend, ClicksReachTheModelOnlyWhileTheControlCanTakeInput) {
  Fixture f;
  int clicks = 0;
  f.window.button.onClick = [&] { ++clicks; };
  SendMessageW(Handle(f.window.button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  f.window.box.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Handle(f.window.button))) << "a disabled parent disables its children";
  f.window.box.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(Handle(f.window.button)));
  f.window.box.setVisible(false);
  EXPECT_FALSE(IsWindowVisible(Handle(f.window.edit))) << "a hidden group box hides what lies in it";
  f.window.box.setVisible(true);
  EXPECT_TRUE(IsWindowVisible(Handle(f.window.edit)));
  f.window.box.setBounds(20, 30, 280, 120);
  RECT r{};
  GetWindowRect(Handle(f.window.button), &r);
  MapWindowPoints(HWND_DESKTOP, FormHandle(f.window), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 100);
}

TEST(Win32Backend, CheckBoxAndTextsMirrorBothWaysInCp932) {
  Fixture f;
  SendMessageW(Handle(f.window.check), BM_CLICK, 0, 0);
  EXPECT_TRUE(f.window.check.checked());
  EXPECT_EQ(SendMessageW(Handle(f.window.check), BM_GETCHECK, 0, 0), BST_CHECKED);
  f.window.check.setChecked(false);
  EXPECT_EQ(SendMessageW(Handle(f.window.check), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  f.window.edit.setText("表ソ能予\\");
  EXPECT_EQ(WindowText(Handle(f.window.edit)), L"\u8868\u30bd\u80fd\u4e88\\");
  SetWindowTextW(Handle(f.window.edit), L"C:\\\u30c6\u30b9\u30c8");  // what typing does
  EXPECT_EQ(f.window.edit.text(), "C:\\テスト");
  f.window.button.setCaption("続行(&C)");
  EXPECT_EQ(WindowText(Handle(f.window.button)), L"\u7d9a\u884c(&C)");
  f.window.setCaption("進行状況");
  EXPECT_EQ(WindowText(FormHandle(f.window)), L"\u9032\u884c\u72b6\u6cc1");
}

TEST(Win32Backend, MemoScrollBarsRebuildTheWindowAndKeepTheText) {
  Fixture f;
  f.window.memo.setLines({"一行目", "二行目"});
  f.window.memo.setScrollBars(ui::ScrollBars::Both);
  LONG_PTR style = GetWindowLongPtrW(Handle(f.window.memo), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_EQ(WindowText(Handle(f.window.memo)), L"\u4e00\u884c\u76ee\r\n\u4e8c\u884c\u76ee");
  f.window.memo.setScrollBars(ui::ScrollBars::Vertical);
  style = GetWindowLongPtrW(Handle(f.window.memo), GWL_STYLE);
  EXPECT_FALSE(style & WS_HSCROLL);
}

TEST(Win32Backend, SystemCloseGreyedAndAutoSizedLabelMeasuredByTheFont) {
  Fixture f;
  f.window.disableSystemClose();
  UINT state = GetMenuState(GetSystemMenu(FormHandle(f.window), FALSE), SC_CLOSE, MF_BYCOMMAND);
  EXPECT_TRUE(state & MF_GRAYED);
  f.window.label.setCaption("一行");
  int one = f.window.label.height();
  f.window.label.setCaption("一行\r二行");
  EXPECT_GT(one, 0);
  EXPECT_GE(f.window.label.height(), 2 * one - 2);
}

// Posts a button press to the first message box with that caption, from a timer.
struct BoxAnswer {
  static std::wstring caption;
  static int button;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", caption.c_str());
    if (!box) return;
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }
};
std::wstring BoxAnswer::caption;
int BoxAnswer::button = 0;

TEST(Win32Backend, MessageBoxReturnsThePressedButton) {
  Fixture f;
  for (int button : {IDNO, IDYES}) {
    BoxAnswer::caption = L"\u7d42\u4e86\u78ba\u8a8d";  // 終了確認
    BoxAnswer::button = button;
    SetTimer(nullptr, 0, 50, BoxAnswer::Tick);
    EXPECT_EQ(f.app.messageBox("終了してもよろしいですか？", "終了確認", ui::mb::kYesNo | ui::mb::kIconQuestion), button);
  }
}

TEST(Win32Backend, ModalLoopEndsOnARealClickAfterTheCloseQuery) {
  ui::Application app{ui::win32::CreateBackend()};
  Window owner(app), dialog(app);
  app.createForm(owner);
  app.createForm(dialog);
  owner.show();
  dialog.button.setModalResult(ui::mr::kYes);
  int queries = 0;
  dialog.onCloseQuery = [&](bool& can) { can = ++queries > 1; };
  static HWND target;
  target = Handle(dialog.button);
  // Two presses: the first is refused by the close query, the second closes.
  int presses = 0;
  int timer = app.startTimer(50, [&] {
    if (presses < 2 && IsWindowVisible(target)) {
      ++presses;
      PostMessageW(target, BM_CLICK, 0, 0);
    }
  });
  int result = dialog.showModal();
  app.stopTimer(timer);
  EXPECT_EQ(result, ui::mr::kYes);
  EXPECT_EQ(queries, 2);
  EXPECT_FALSE(IsWindowVisible(FormHandle(dialog)));
  EXPECT_TRUE(IsWindowEnabled(FormHandle(owner))) << "the owner is enabled again after the modal loop";
}

// Another thread or process (a test driver, the task list) may send rather than post: the message
// is handled inside the loop's wait, and the loop must see the result it set without waiting
// for some later posted message. A closing message paints nothing, so nothing else wakes the loop;
// the helper thread posts a late wake-up only so that a fault shows as slowness, not a hang.
TEST(Win32Backend, ModalLoopEndsPromptlyOnAMessageSentFromAnotherThread) {
  struct Case {
    const char* what;
    bool toButton;
    UINT message;
    int expected;
  };
  const Case cases[] = {
      {"close sent to the form", false, WM_CLOSE, ui::mr::kCancel},
      {"click sent to the button", true, BM_CLICK, ui::mr::kYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui::Application app{ui::win32::CreateBackend()};
    Window owner(app), dialog(app);
    app.createForm(owner);
    app.createForm(dialog);
    owner.show();
    dialog.button.setModalResult(ui::mr::kYes);
    const HWND form = FormHandle(dialog);
    const HWND target = c.toButton ? Handle(dialog.button) : form;
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread sender([&] {
      for (int i = 0; i < 500 && !IsWindowVisible(form); ++i) Sleep(10);
      SendMessageW(target, c.message, 0, 0);
      for (int i = 0; i < 500 && !done; ++i) Sleep(10);
      PostThreadMessageW(uiThread, WM_NULL, 0, 0);
    });
    const ULONGLONG start = GetTickCount64();
    const int result = dialog.showModal();
    const ULONGLONG elapsed = GetTickCount64() - start;
    done = true;
    sender.join();
    EXPECT_EQ(result, c.expected);
    EXPECT_LT(elapsed, 2500u) << "the modal loop waited for a posted message after the sent one ended it";
    EXPECT_FALSE(IsWindowVisible(form));
  }
}

}  // namespace

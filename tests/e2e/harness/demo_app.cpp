// A tiny window for proving the end-to-end harness: a button that asks a question in a message
// box, a label that shows the answer, an edit box and a menu.
#include <windows.h>

namespace {

constexpr int kButton = 100;
constexpr int kAnswer = 101;
constexpr int kEdit = 102;
constexpr int kMenuShow = 200;
constexpr int kMenuExit = 201;

HWND gAnswer = nullptr;
HWND gEdit = nullptr;

void setFont(HWND w) { SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE); }

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      HINSTANCE inst = reinterpret_cast<LPCREATESTRUCTW>(lp)->hInstance;
      HWND button = CreateWindowW(L"Button", L"押してください(&P)", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 200, 32, w,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButton)), inst, nullptr);
      gAnswer = CreateWindowW(L"Static", L"まだ押されていません", WS_CHILD | WS_VISIBLE, 20, 70, 320, 24, w,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAnswer)), inst, nullptr);
      gEdit = CreateWindowW(L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 20, 110, 320, 24, w,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEdit)), inst, nullptr);
      setFont(button);
      setFont(gAnswer);
      setFont(gEdit);
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kButton: {
          const int answer = MessageBoxW(w, L"ボタンが押されました。続けますか？", L"確認", MB_YESNO | MB_ICONQUESTION);
          SetWindowTextW(gAnswer, answer == IDYES ? L"答え：はい" : L"答え：いいえ");
          return 0;
        }
        case kMenuShow: {
          wchar_t text[256] = {};
          GetWindowTextW(gEdit, text, 256);
          SetWindowTextW(gAnswer, text);
          return 0;
        }
        case kMenuExit:
          DestroyWindow(w);
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"PaginaHarnessDemo";
  RegisterClassW(&wc);

  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kMenuShow, L"表示(&S)\tCtrl+S");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kMenuExit, L"終了(&X)");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");

  HWND w = CreateWindowW(L"PaginaHarnessDemo", L"ハーネス確認", WS_OVERLAPPEDWINDOW, 100, 100, 400, 240, nullptr, bar, inst,
                         nullptr);
  ShowWindow(w, show);
  UpdateWindow(w);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

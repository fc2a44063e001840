// Start-up baseline: a window class, one captioned window with an edit box,
// shown, and a message loop. Nothing else, so the gap between this and
// Quadsum.exe is what the program itself adds before it can be seen.
// Built with SAME_CONTROLS it has Quadsum's eight controls instead (classes,
// styles, places at 96 DPI, Tahoma 8.25 pt) and none of their behaviour: the
// least a window that looks like Quadsum's costs.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"MinimalWindow";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  HWND hwnd = CreateWindowExW(0, kClassName, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 300, 100, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
#ifdef SAME_CONTROLS
  struct Place { int left, top, width, height; };
  struct Row { DWORD exStyle; const wchar_t* cls; const wchar_t* text; DWORD style; Place at; };
  constexpr Row kRows[] = {
      {0, L"STATIC", L"IP &Address:", SS_LEFTNOWORDWRAP, {8, 13, 57, 17}},
      {WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER, {72, 8, 177, 21}},
      {0, L"BUTTON", L"...", WS_TABSTOP, {255, 8, 18, 17}},
      {0, L"STATIC", L"IP &Integer:", SS_LEFTNOWORDWRAP, {8, 35, 57, 17}},
      {WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER | ES_READONLY, {72, 32, 177, 21}},
      {0, L"BUTTON", L"&Open", WS_TABSTOP | WS_DISABLED, {96, 64, 73, 25}},
      {0, L"BUTTON", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, {176, 64, 73, 25}},
      {0, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, {8, 64, 32, 32}},
  };
  static const HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma");
  for (const Row& r : kRows) {
    HWND c = CreateWindowExW(r.exStyle, r.cls, r.text, WS_CHILD | WS_VISIBLE | r.style, r.at.left, r.at.top,
                             r.at.width, r.at.height, hwnd, nullptr, instance, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
#else
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                  10, 10, 260, 24, hwnd, reinterpret_cast<HMENU>(1), instance, nullptr);
#endif
  return hwnd;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  if (!RegisterWindowClass(instance)) return 1;
  HWND hwnd = CreateMainWindow(instance);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// A helper for the scripts that show Quadsum on a private display: X cannot
// see windows inside a Wine virtual desktop, so this small Windows program
// reports where they are, what a box holds, and closes a window.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

HWND WaitForWindow(const wchar_t* caption) {
  for (int i = 0; i < 600; ++i, Sleep(50)) {
    HWND hwnd = FindWindowW(nullptr, caption);
    if (hwnd && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

int PrintRect(HWND hwnd) {
  RECT r{};
  if (!hwnd || !GetWindowRect(hwnd, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

// Lines of a multi-line box come joined by blanks, as a command line gives them.
std::wstring TextOf(HWND box) {
  wchar_t text[256] = {};
  DWORD_PTR unused = 0;
  SendMessageTimeoutW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000, &unused);
  std::wstring joined;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c != L'\r') joined += *c == L'\n' ? L' ' : *c;
  }
  return joined;
}

// Waits for the text, then lets the window finish what it queued since.
int WaitForText(HWND hwnd, HWND box, const wchar_t* expected) {
  std::wstring text;
  for (int i = 0; i < 200 && (text = TextOf(box)) != expected; ++i) Sleep(50);
  std::printf("%ls\n", text.c_str());
  DWORD_PTR unused = 0;
  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &unused);
  return text == expected ? 0 : 1;
}

}  // namespace

// probe rect CAPTION [ID] | probe text CAPTION ID EXPECTED | probe close CAPTION
int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring command = argv[1];
  if (command == L"close") return PostMessageW(FindWindowW(nullptr, argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  HWND hwnd = WaitForWindow(argv[2]);
  if (!hwnd) return 1;
  if (command == L"rect") return PrintRect(argc > 3 ? GetDlgItem(hwnd, _wtoi(argv[3])) : hwnd);
  if (command == L"text" && argc > 4) return WaitForText(hwnd, GetDlgItem(hwnd, _wtoi(argv[3])), argv[4]);
  return 2;
}

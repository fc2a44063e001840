#include "tests/gui/harness.h"

#include <commctrl.h>

#include <cstring>

#include "ui/form.h"

namespace harness {

void InitUi() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ui::RegisterFormClass(GetModuleHandleW(nullptr));
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ui::Deliver(msg);
}

void Type(std::wstring_view text) {
  for (wchar_t c : text) {
    PostMessageW(GetFocus(), WM_CHAR, c, 1);
    Pump();
  }
}

void Hold(UINT vk, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[vk] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

void CopyToClipboard(std::wstring_view text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  memcpy(GlobalLock(memory), text.data(), text.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

void Press(UINT vk, bool shift) {
  if (shift) Hold(VK_SHIFT, true);
  PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
  Pump();
  PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
  Pump();
  if (shift) Hold(VK_SHIFT, false);
}

void Alt(wchar_t letter) {
  // Bit 29: the Alt key is down, as for a real Alt+letter.
  PostMessageW(GetFocus(), WM_SYSCHAR, letter, 0x20000001);
  Pump();
}

RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

Recorder::Recorder() {
  ui::seams().shellExecute = [this](HWND owner, const char* operation, const char* file,
                                    const char* parameters, const char* directory, int show) {
    shell.push_back({owner, operation == nullptr, parameters == nullptr, directory == nullptr,
                     file ? file : "<null>", show});
  };
  ui::seams().messageBox = [this](std::wstring_view text, ui::MessageIcon icon) {
    messages.push_back({std::wstring(text), icon});
  };
  ui::seams().endProgram = [this] { ++ends; };
}

}  // namespace harness

#include "tests/gui/harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace harness {

void InitUi() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ui::RegisterFormClass(GetModuleHandleW(nullptr));
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return PostQuitMessage(static_cast<int>(msg.wParam));  // for the test
    ui::Deliver(msg);
  }
}

void Post(UINT msg, WPARAM wParam, LPARAM lParam) {
  PostMessageW(GetFocus(), msg, wParam, lParam);
  Pump();
}

void HoldControl(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

void Press(UINT vk) {
  Post(WM_KEYDOWN, vk, 1);
  Post(WM_KEYUP, vk, 0xC0000001);
}

void Play(std::wstring_view keys) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const wchar_t c = keys[i];
    if (c == L'\t' || c == L'\r' || c == L'\x1b') {
      Press(c == L'\t' ? VK_TAB : c == L'\r' ? VK_RETURN : VK_ESCAPE);
    } else if (c == L' ') {
      Press(VK_SPACE);  // a blank in a text box, a click on a button
    } else if (c == L'\x01') {
      Post(WM_SYSCHAR, keys[++i], 0x20000001);  // bit 29: Alt is down
    } else if (c == L'\x11') {
      HoldControl(true);
      Post(WM_CHAR, 0x16, 1);
      HoldControl(false);
    } else if (c == L'\n') {  // Enter as Windows may bring it, default button disabled or not
      SendMessageW(GetAncestor(GetFocus(), GA_ROOT), WM_COMMAND, IDOK, 0);
    } else if (c == L'\x18') {
      SendMessageW(GetAncestor(GetFocus(), GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      Pump();
    } else {
      Post(WM_CHAR, c, 1);
    }
  }
}

void CopyToClipboard(std::wstring_view text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  std::memcpy(GlobalLock(memory), text.data(), text.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int FocusId() { return GetFocus() ? GetDlgCtrlID(GetFocus()) : 0; }

void ChangeDpi(ui::Form& form, int dpi) {
  RECT r{};
  GetWindowRect(form.hWnd(), &r);
  r.right = r.left + MulDiv(r.right - r.left, dpi, form.Dpi());
  r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, form.Dpi());
  SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

void ExpectLayout(const ui::Form& form, const char* name) {
  const int dpi = form.Dpi();
  for (const ui::ControlRow& row : form.Rows()) {
    SCOPED_TRACE(testing::Message() << name << " at " << dpi << " dpi, control " << row.id);
    const RECT r = ClientRectOf(form.Item(row.id));
    const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    EXPECT_EQ(r.left, px(row.at.left));
    EXPECT_EQ(r.top, px(row.at.top));
    EXPECT_EQ(r.right - r.left, px(row.at.width));
    EXPECT_EQ(r.bottom - r.top, px(row.at.height));
    if (!row.ownFont || row.kind == ui::Kind::Picture) continue;  // an icon has no text
    // The face the font mapper really chose, not the one asked for.
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(form.Item(row.id), WM_GETFONT, 0, 0));
    ui::ScopedGetDC dc(nullptr);
    SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    EXPECT_STREQ(face, L"Tahoma");
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(825, dpi, 7200));
  }
}

Recorder::Recorder() {
  ui::seams().shellExecute = [this](HWND owner, const char* operation, const char* file,
                                    const char* parameters, const char* directory, int show) {
    const bool plain = !owner && !operation && !parameters && !directory && show == SW_SHOWNORMAL;
    urls.push_back(plain && file ? file : "(not a plain open)");
  };
  ui::seams().messageBox = [this](std::wstring_view text, ui::MessageIcon) {
    messages.emplace_back(text);
  };
  ui::seams().endProgram = [this] { ++ends; };
}

}  // namespace harness

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

void Post(UINT msg, WPARAM wParam, LPARAM lParam = 1) {
  PostMessageW(GetFocus(), msg, wParam, lParam);
  Pump();
}

void Press(UINT vk) {
  Post(WM_KEYDOWN, vk);
  Post(WM_KEYUP, vk, 0xC0000001);
}

void SetControlKey(BYTE state) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = state;
  SetKeyboardState(keys);
}

void Play(std::wstring_view keys) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const HWND root = GetAncestor(GetFocus(), GA_ROOT);
    switch (const wchar_t c = keys[i]) {
      case L'\t': Press(VK_TAB); break;
      case L'\r': Press(VK_RETURN); break;
      case L'\x1b': Press(VK_ESCAPE); break;
      case L' ': Press(VK_SPACE); break;  // a blank in a text box, a click on a button
      case L'\x01': Post(WM_SYSCHAR, keys[++i], 0x20000001); break;  // bit 29: Alt is down
      case L'\n': SendMessageW(root, WM_COMMAND, IDOK, 0); break;
      case L'\x18': SendMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0); break;
      case L'\x11':
        SetControlKey(0x80);
        Post(WM_CHAR, 0x16);
        SetControlKey(0);
        break;
      default: Post(WM_CHAR, c);
    }
    Pump();
  }
}

void CopyToClipboard(std::wstring_view text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(wchar_t));
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

void ExpectLayout(const ui::Form& form) {
  const auto px = [dpi = form.Dpi()](int twips) { return MulDiv(twips, dpi, 1440); };
  for (const ui::ControlRow& row : form.Rows()) {
    SCOPED_TRACE(testing::Message() << "at " << form.Dpi() << " dpi, control " << row.id);
    const RECT r = ClientRectOf(form.Item(row.id));
    EXPECT_EQ(r.left, px(row.at.left));
    EXPECT_EQ(r.top, px(row.at.top));
    EXPECT_EQ(r.right - r.left, px(row.at.width));
    EXPECT_EQ(r.bottom - r.top, px(row.at.height));
    if (!row.ownFont || row.kind == ui::Kind::Picture) continue;  // an icon has no text
    // The face and size the font mapper really chose, not the ones asked for.
    ui::ScopedGetDC dc(nullptr);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(form.Item(row.id), WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    EXPECT_STREQ(face, L"Tahoma");
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, px(165));  // 8.25 pt
  }
}

Recorder::Recorder() {
  ui::seams().shellExecute = [this](HWND owner, const char* operation, const char* file,
                                    const char* parameters, const char* directory, int show) {
    const bool plain = !owner && !operation && !parameters && !directory && show == SW_SHOWNORMAL;
    urls.push_back(plain && file ? file : "(not a plain open)");
  };
  ui::seams().messageBox = [this](std::wstring_view, ui::MessageIcon) { ++messages; };
  ui::seams().endProgram = [this] { ++ends; };
}

}  // namespace harness

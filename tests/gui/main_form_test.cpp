// The main window driven through its real message loop filter.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "app/MainForm.h"
#include "lookup/RevDNSForm.h"
#include "tests/gui/harness.h"

using harness::Alt;
using harness::ClientRectOf;
using harness::Press;
using harness::TextOf;
using harness::Type;

namespace {

class MainFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { harness::InitUi(); }
  void SetUp() override {
    form.Load(nullptr);
    form.Show();
    SetForegroundWindow(form.hWnd());
    harness::Pump();
  }
  HWND Focus() const { return GetFocus(); }
  void Paste(const wchar_t* text) {
    SendMessageW(form.Text1().hWnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    harness::Pump();
  }

  harness::Recorder rec;
  MainForm form;
};

struct Place {
  int id;
  int left, top, width, height;  // pixels
};

void ExpectPlaces(const MainForm& form, std::initializer_list<Place> places) {
  for (const Place& p : places) {
    const RECT r = ClientRectOf(form.Item(p.id));
    EXPECT_EQ(r.left, p.left) << "control " << p.id;
    EXPECT_EQ(r.top, p.top) << "control " << p.id;
    EXPECT_EQ(r.right - r.left, p.width) << "control " << p.id;
    EXPECT_EQ(r.bottom - r.top, p.height) << "control " << p.id;
  }
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf;
}

TEST_F(MainFormTest, StartsCentredEmptyWithOpenDisabledAndCaretInAddressBox) {
  EXPECT_EQ(TextOf(form.hWnd()), L"Quadsum");
  EXPECT_EQ(form.Text1().Text(), L"");
  EXPECT_EQ(form.Text2().Text(), L"");
  EXPECT_FALSE(form.Command3().Enabled());
  EXPECT_EQ(Focus(), form.Text1().hWnd());
  const SIZE client = harness::ClientSize(form.hWnd());
  EXPECT_EQ(client.cx, 277);  // 4155 twips
  EXPECT_EQ(client.cy, 97);   // 1455 twips

  MONITORINFO mi{sizeof(mi)};
  GetMonitorInfoW(MonitorFromWindow(form.hWnd(), MONITOR_DEFAULTTOPRIMARY), &mi);
  RECT w{};
  GetWindowRect(form.hWnd(), &w);
  EXPECT_NEAR((w.left + w.right) / 2, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
  EXPECT_NEAR((w.top + w.bottom) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);
}

TEST_F(MainFormTest, FrameHasMinimizeButNoMaximizeBox) {
  const LONG style = GetWindowLongW(form.hWnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(MainFormTest, ControlsSitAtTheirPlacesAt96Dpi) {
  ExpectPlaces(form, {{MainForm::kLabel1, 8, 13, 57, 17},
                      {MainForm::kText1, 72, 8, 177, 21},
                      {MainForm::kCommand2, 255, 8, 18, 17},
                      {MainForm::kLabel2, 8, 35, 57, 17},
                      {MainForm::kText2, 72, 32, 177, 21},
                      {MainForm::kCommand3, 96, 64, 73, 25},
                      {MainForm::kCommand1, 176, 64, 73, 25},
                      {MainForm::kImage1, 8, 64, 32, 32}});
  const LOGFONTW tahoma = FontOf(form.Text1().hWnd());
  EXPECT_STREQ(tahoma.lfFaceName, L"Tahoma");
  EXPECT_EQ(tahoma.lfHeight, -11);  // 8.25 pt
  EXPECT_EQ(tahoma.lfWeight, FW_NORMAL);
  EXPECT_FALSE(tahoma.lfItalic || tahoma.lfUnderline || tahoma.lfStrikeOut);
}

TEST_F(MainFormTest, ControlsAndFontsFollowADpiChangeTo144) {
  RECT suggested{100, 100, 100 + 430, 100 + 190};
  SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ExpectPlaces(form, {{MainForm::kLabel1, 12, 20, 86, 26},
                      {MainForm::kText1, 108, 12, 266, 32},
                      {MainForm::kCommand2, 383, 12, 27, 26},
                      {MainForm::kLabel2, 12, 52, 86, 26},
                      {MainForm::kText2, 108, 48, 266, 32},
                      {MainForm::kCommand3, 144, 96, 110, 38},
                      {MainForm::kCommand1, 264, 96, 110, 38},
                      {MainForm::kImage1, 12, 96, 48, 48}});
  EXPECT_EQ(FontOf(form.Text1().hWnd()).lfHeight, -17);
  RECT w{};
  GetWindowRect(form.hWnd(), &w);
  EXPECT_EQ(w.left, 100);
  EXPECT_EQ(w.right - w.left, 430);
}

TEST_F(MainFormTest, ResizingLeavesEveryControlInPlace) {
  std::map<HWND, RECT> before;
  for (HWND c : form.Controls()) before[c] = ClientRectOf(c);
  SetWindowPos(form.hWnd(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
  for (HWND c : form.Controls()) {
    const RECT after = ClientRectOf(c);
    EXPECT_TRUE(EqualRect(&before[c], &after));
  }
}

TEST_F(MainFormTest, TooltipsNameWhatTheControlsDo) {
  HWND tip = nullptr;
  struct Find {
    static BOOL CALLBACK Tooltip(HWND h, LPARAM out) {
      wchar_t name[64] = {};
      GetClassNameW(h, name, 64);
      if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(out) = h;
      return TRUE;
    }
  };
  EnumThreadWindows(GetCurrentThreadId(), Find::Tooltip, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  const std::map<int, std::wstring> expected = {
      {MainForm::kCommand2, L"Obtain IP address from a host"},
      {MainForm::kCommand3, L"Open the IP Integer in your web browser"},
      {MainForm::kImage1, L"Quadsum v1.0 by Tessary"}};
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
  for (const auto& [id, text] : expected) {
    wchar_t buffer[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = form.hWnd();
    tool.uId = reinterpret_cast<UINT_PTR>(form.Item(id));
    tool.lpszText = buffer;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(buffer), text);
  }
}

TEST_F(MainFormTest, DotsButtonIsAPlainPushButtonOnceLoaded) {
  const LONG style = GetWindowLongW(form.Command2().hWnd(), GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(MainFormTest, IntegerBoxIsReadOnlyAndGrey) {
  EXPECT_TRUE(GetWindowLongW(form.Text2().hWnd(), GWL_STYLE) & ES_READONLY);
  HDC dc = GetDC(form.Text2().hWnd());
  EXPECT_NE(SendMessageW(form.hWnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(form.Text2().hWnd())), 0);
  EXPECT_EQ(GetBkColor(dc), RGB(192, 192, 192));
  ReleaseDC(form.Text2().hWnd(), dc);
  Type(L"1.2.3.4");
  form.Text2().SetFocus();
  Type(L"99");
  EXPECT_EQ(form.Text2().Text(), L"16909060");
}

TEST_F(MainFormTest, TypingPassesOnlyDigitsPeriodsAndBackspace) {
  struct Row {
    const wchar_t* typed;
    const wchar_t* address;
    const wchar_t* integer;
  } rows[] = {
      {L"192.168.0.1", L"192.168.0.1", L"3232235521"},
      {L"192.168.0.", L"192.168.0.", L"3232235520"},
      {L"192.168.0", L"192.168.0", L""},
      {L"1 2,3-4a.B.c.\x00e9", L"1234...", L"20703084544"},
      {L"1.2.3.4\b\b", L"1.2.3", L""},
      {L"1.2.3.45\b", L"1.2.3.4", L"16909060"},
      {L"\xff11.2.3.4", L".2.3.4", L"131844"},  // a full-width digit is not a digit
      {L"\t\r\x1b\x16" L"7...", L"7...", L"117440512"},
  };
  for (const Row& row : rows) {
    form.Text1().SetText(L"");
    form.Text1().SetFocus();
    Type(row.typed);
    EXPECT_EQ(form.Text1().Text(), row.address) << "typed: " << testing::PrintToString(std::wstring(row.typed));
    EXPECT_EQ(form.Text2().Text(), row.integer) << "typed: " << testing::PrintToString(std::wstring(row.typed));
  }
}

TEST_F(MainFormTest, SixteenthCharacterCannotBeEntered) {
  Type(L"255.255.255.2559");
  EXPECT_EQ(form.Text1().Text(), L"255.255.255.255");
  EXPECT_EQ(form.Text2().Text(), L"4294967295");
  form.Text1().SetText(L"");
  Paste(L"1234567890.2.3.4.5.6");
  EXPECT_EQ(form.Text1().Text(), L"1234567890.2.3.");
}

TEST_F(MainFormTest, PastedTextIsConvertedUnfiltered) {
  struct Row {
    const wchar_t* pasted;
    const wchar_t* integer;
  } rows[] = {
      {L"a.b.c.d", L"0"},
      {L"10.0.0.1a", L"167772161"},
      {L"99999999.0.0.0", L"1.67772158322278E+15"},
      {L"1.2.3.4.5", L"16909060.5"},
      {L"\x0661.\x0662.3.4", L"772"},  // Arabic-Indic digits read as nothing
      {L"1.2.3", L""},
  };
  for (const Row& row : rows) {
    form.Text1().SetText(L"");
    Paste(row.pasted);
    EXPECT_EQ(form.Text1().Text(), row.pasted);
    EXPECT_EQ(form.Text2().Text(), row.integer) << testing::PrintToString(std::wstring(row.pasted));
    EXPECT_TRUE(rec.messages.empty());
  }
}

TEST_F(MainFormTest, CtrlVPastesWhileATypedControlCodeIsDropped) {
  harness::CopyToClipboard(L"10.0.0.1a");
  harness::Hold(VK_CONTROL, true);
  Type(L"\x16");
  harness::Hold(VK_CONTROL, false);
  EXPECT_EQ(form.Text1().Text(), L"10.0.0.1a");
  EXPECT_EQ(form.Text2().Text(), L"167772161");
  form.Text1().SetText(L"");
  Type(L"\x16");  // the same character without Ctrl held
  EXPECT_EQ(form.Text1().Text(), L"");
}

TEST_F(MainFormTest, OpenIsEnabledExactlyWhileTheIntegerBoxHoldsText) {
  const std::pair<const wchar_t*, bool> steps[] = {
      {L"1.2.3", false}, {L".", true}, {L"4", true}, {L"\b\b", false}, {L"..", true}};
  for (const auto& [typed, enabled] : steps) {
    Type(typed);
    EXPECT_EQ(form.Command3().Enabled(), enabled) << "after " << testing::PrintToString(std::wstring(typed));
  }
  form.Text1().SetText(L"");
  EXPECT_FALSE(form.Command3().Enabled());
}

TEST_F(MainFormTest, OpenHandsTheIntegerUrlToTheShell) {
  Type(L"192.168.0.1");
  SendMessageW(form.Command3().hWnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(rec.shell.size(), 1u);
  const harness::ShellCall& call = rec.shell[0];
  EXPECT_EQ(call.file, "http://3232235521/");
  EXPECT_EQ(call.owner, nullptr);
  EXPECT_TRUE(call.nullOperation && call.nullParameters && call.nullDirectory);
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
  EXPECT_EQ(rec.ends, 0);
}

TEST_F(MainFormTest, OpenUrlKeepsTheExponentForm) {
  Paste(L"999999999999...");
  form.Command3_Click();
  ASSERT_EQ(rec.shell.size(), 1u);
  EXPECT_EQ(rec.shell[0].file, "http://1.67772159999832E+19/");
}

TEST_F(MainFormTest, EnterInEitherBoxEndsTheProgram) {
  for (int box : {MainForm::kText1, MainForm::kText2}) {
    harness::Recorder local;
    MainForm other;
    other.Load(nullptr);
    other.Show();
    SetForegroundWindow(other.hWnd());
    ui::Control(other.Item(box)).SetFocus();
    Type(L"1.2.3.4");
    Press(VK_RETURN);
    EXPECT_EQ(local.ends, 1) << "box " << box;
    EXPECT_FALSE(other.IsLoaded());
  }
}

bool gDialogShown;

void CALLBACK CloseLookupDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gDialogShown = RevDNSForm::Instance().IsLoaded();
  RevDNSForm::Instance().Command2_Click();
}

TEST_F(MainFormTest, EnterOnTheDotsButtonClicksItNotClose) {
  gDialogShown = false;
  SetTimer(nullptr, 0, 20, CloseLookupDialog);
  form.Command2().SetFocus();
  Press(VK_RETURN);
  EXPECT_TRUE(gDialogShown);
  EXPECT_EQ(rec.ends, 0);
  EXPECT_TRUE(form.IsLoaded());
}

TEST_F(MainFormTest, EscDoesNothing) {
  Type(L"1.2.3.4");
  Press(VK_ESCAPE);
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(rec.ends, 0);
  EXPECT_EQ(form.Text1().Text(), L"1.2.3.4");
}

TEST_F(MainFormTest, CloseButtonAndTitleBarBothEndTheProgram) {
  SendMessageW(form.Command1().hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(rec.ends, 1);
  EXPECT_FALSE(form.IsLoaded());

  MainForm other;
  other.Load(nullptr);
  other.Show();
  SendMessageW(other.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  harness::Pump();
  EXPECT_EQ(rec.ends, 2);
  EXPECT_FALSE(other.IsLoaded());
}

TEST_F(MainFormTest, TabVisitsControlsInOrderSkippingADisabledOpen) {
  const HWND withoutOpen[] = {form.Command2().hWnd(), form.Text2().hWnd(), form.Command1().hWnd(),
                              form.Text1().hWnd()};
  for (HWND expected : withoutOpen) {
    Press(VK_TAB);
    EXPECT_EQ(Focus(), expected);
  }
  Type(L"1.2.3.4");
  const HWND withOpen[] = {form.Command2().hWnd(), form.Text2().hWnd(), form.Command3().hWnd(),
                           form.Command1().hWnd(), form.Text1().hWnd()};
  for (HWND expected : withOpen) {
    Press(VK_TAB);
    EXPECT_EQ(Focus(), expected);
  }
  Press(VK_TAB, /*shift=*/true);
  EXPECT_EQ(Focus(), form.Command1().hWnd());
}

TEST_F(MainFormTest, AccessKeysMoveFocusOrClick) {
  Alt(L'i');
  EXPECT_EQ(Focus(), form.Text2().hWnd());
  Alt(L'a');
  EXPECT_EQ(Focus(), form.Text1().hWnd());
  Alt(L'o');  // Open is disabled: nothing happens
  EXPECT_TRUE(rec.shell.empty());
  Type(L"127.0.0.1");
  Alt(L'o');
  ASSERT_EQ(rec.shell.size(), 1u);
  EXPECT_EQ(rec.shell[0].file, "http://2130706433/");
}

}  // namespace

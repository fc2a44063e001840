// Both windows in process, driven through the program's own message loop
// filter; the shell, the message box and the end of the program are
// recorded, and a fake resolver can look at the dialog while it blocks it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "lookup/RevDNSForm.h"
#include "lookup/XButtonMod.h"
#include "tests/resolve/fake_winsock.h"

namespace {

const bool kUiReady = [] {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  return InitCommonControlsEx(&controls) && (ui::RegisterFormClass(GetModuleHandleW(nullptr)), true);
}();

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

// Plays a key script at the focused control: '\t', '\r', '\x1b' and ' ' are
// the Tab, Enter, Esc and Space keys, '\x01' + letter is Alt+letter, '\x11'
// is Ctrl+V, '\n' is IDOK as Windows sends it for Enter even when the default
// button is disabled, '\x18' is the title bar's Close and '\x04' the end of
// the session; any other character is typed.
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
      case L'\x04': SendMessageW(root, WM_ENDSESSION, TRUE, 0); break;
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

RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int FocusId() { return GetFocus() ? GetDlgCtrlID(GetFocus()) : 0; }

// How many buttons are drawn as the default.
std::ptrdiff_t DefaultButtons(const ui::Form& form) {
  return std::ranges::count_if(form.Controls(),
                               [](HWND c) { return (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0; });
}

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
    EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
              std::tuple(px(row.at.left), px(row.at.top), px(row.at.width), px(row.at.height)));
    if (!row.ownFont || row.kind == ui::Kind::Picture) continue;  // an icon has no text
    // The face and size the font mapper really chose, not the ones asked for.
    ui::ScopedGetDC dc(nullptr);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(form.Item(row.id), WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    EXPECT_EQ(face + std::to_wstring(metrics.tmHeight - metrics.tmInternalLeading),
              L"Tahoma" + std::to_wstring(px(165)));  // 8.25 pt
  }
}

// Replaces the seams for one test and records what reaches them.
struct Recorder {
  std::vector<std::string> urls;  // files handed to the shell, if the call was plain
  int messages = 0, ends = 0;
  std::wstring message;  // the last one
  ui::ScopedSeams restore;

  Recorder() {
    ui::seams().shellExecute = [this](HWND owner, const char* operation, const char* file,
                                      const char* parameters, const char* directory, int show) {
      const bool plain = !owner && !operation && !parameters && !directory && show == SW_SHOWNORMAL;
      urls.push_back(plain && file ? file : "(not a plain open)");
    };
    ui::seams().messageBox = [this](std::wstring_view text, ui::MessageIcon) {
      ++messages;
      message = text;
    };
    ui::seams().endProgram = [this] { ++ends; };
  }
};


// Main window

using M = MainForm;

// Keys from a fresh window (see Play) and what the user sees after.
struct KeyRow {
  const wchar_t* keys;
  int focus;
  const wchar_t *address, *integer;
  bool open, ended;
  const char* url;  // handed to the shell, "" for none
};

constexpr KeyRow kKeyRows[] = {
    {L"192.168.0.1", M::kText1, L"192.168.0.1", L"3232235521", true, false, ""},
    {L"1 2,3-4a.B.c.\xe9+E", M::kText1, L"1234...", L"20703084544", true, false, ""},
    {L"\xff11.2.3.4", M::kText1, L".2.3.4", L"131844", true, false, ""},  // full-width 1
    {L"1.2.3.4\b\b", M::kText1, L"1.2.3", L"", false, false, ""},
    {L"255.255.255.2559", M::kText1, L"255.255.255.255", L"4294967295", true, false, ""},
    {L"\x11", M::kText1, L"-2.526.0.0.11\xe9", L"917504.11", true, false, ""},  // Ctrl+V: unfiltered
    {L"\x16\x03\x1a" L"7...", M::kText1, L"7...", L"117440512", true, false, ""},  // bare codes dropped
    {L"1.2.3.4\x1b", M::kText1, L"1.2.3.4", L"16909060", true, false, ""},         // Esc does nothing
    {L"1.2.3.4\x01i99", M::kText2, L"1.2.3.4", L"16909060", true, false, ""},      // read-only
    {L"\t\t\t", M::kCommand1, L"", L"", false, false, ""},  // a disabled Open is skipped
    {L"1.2.3.4\t\t\t", M::kCommand3, L"1.2.3.4", L"16909060", true, false, ""},
    {L"\x01i\x01o\x01" L"a", M::kText1, L"", L"", false, false, ""},  // Alt+O on a disabled Open
    {L"127.0.0.1\x01o", M::kCommand3, L"127.0.0.1", L"2130706433", true, false, "http://2130706433/"},
    {L"999999999999...\t\t\t\r", M::kCommand3, L"999999999999...", L"1.67772159999832E+19", true,
     false, "http://1.67772159999832E+19/"},
    {L"1.2.3.4\r", 0, L"", L"", false, true, ""},  // Enter: Close is the default button
    {L"1.2.3.4\t\t\t\x01" L"a\r", 0, L"", L"", false, true, ""},
    {L"1.2.3.4\x01i\r", 0, L"", L"", false, true, ""},
    {L"\x18", 0, L"", L"", false, true, ""},
    {L"\x04", 0, L"", L"", false, true, ""},
};

// The tooltip windows a form owns.
using TooltipSearch = std::pair<HWND, std::vector<HWND>>;
BOOL CALLBACK CollectTooltip(HWND w, LPARAM p) {
  auto& [owner, found] = *reinterpret_cast<TooltipSearch*>(p);
  wchar_t name[32] = {};
  GetClassNameW(w, name, 32);
  if (GetWindow(w, GW_OWNER) == owner && lstrcmpW(name, TOOLTIPS_CLASSW) == 0) found.push_back(w);
  return TRUE;
}

std::vector<HWND> TooltipsOf(HWND form) {
  TooltipSearch search{form, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

std::wstring TooltipText(HWND tooltip, HWND form, int id) {
  wchar_t text[80] = {};
  TTTOOLINFOW tool{.cbSize = sizeof(tool), .hwnd = form, .uId = reinterpret_cast<UINT_PTR>(GetDlgItem(form, id)),
                   .lpszText = text};
  SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

// Pumps messages for the given time, timers included.
void PumpFor(DWORD ms) {
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
}

// Made a little after the window is shown; shown twice, as a caller may,
// it still has one tooltip.
TEST(MainForm, Tooltips) {
  MainForm form;
  form.Load(nullptr);
  form.Show();
  form.Show();
  PumpFor(400);
  const std::vector<HWND> tooltips = TooltipsOf(form.hWnd());
  ASSERT_EQ(tooltips.size(), 1u);
  const std::pair<int, std::wstring> tips[] = {
      {M::kCommand2, L"Obtain IP address from a host"},
      {M::kCommand3, L"Open the IP Integer in your web browser"},
      {M::kImage1, L"Quadsum v1.0 by Tessary"},
      {M::kText1, L""},
      {M::kCommand1, L""},
  };
  for (const auto& [id, text] : tips) EXPECT_EQ(TooltipText(tooltips[0], form.hWnd(), id), text) << "control " << id;
}

TEST(MainForm, KeyScripts) {
  // On the clipboard as another program's Copy would leave it.
  const HWND source = CreateWindowW(WC_EDITW, L"-2.526.0.0.11\xe9", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  SendMessageW(source, EM_SETSEL, 0, -1);
  SendMessageW(source, WM_COPY, 0, 0);
  DestroyWindow(source);
  for (const KeyRow& row : kKeyRows) {
    SCOPED_TRACE(testing::Message() << "keys " << testing::PrintToString(std::wstring(row.keys)));
    Recorder rec;
    MainForm form;
    form.Load(nullptr);
    form.Show();
    Play(row.keys);
    EXPECT_EQ(FocusId(), row.focus);
    EXPECT_EQ(form.Text1().Text(), row.address);
    EXPECT_EQ(form.Text2().Text(), row.integer);
    EXPECT_EQ(form.IsLoaded() && form.Command3().Enabled(), row.open);
    EXPECT_EQ(!form.IsLoaded() && rec.ends == 1, row.ended);
    EXPECT_EQ(rec.urls.empty() ? "" : rec.urls.back(), row.url);
    EXPECT_EQ(rec.messages, 0);
    if (form.IsLoaded()) EXPECT_EQ(DefaultButtons(form), 1) << "one button is drawn as the default";
  }
}

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

// The window class is registered already (a test did it), which is no
// failure; a window that cannot be made is told and ends the program with 1.
TEST(MainForm, StartUp) {
  for (const bool refuse : {false, true}) {
    SCOPED_TRACE(refuse ? "window refused" : "class registered already");
    Recorder rec;
    const HHOOK hook = refuse ? SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId()) : nullptr;
    PostQuitMessage(5);  // ends the message loop at once, should it be reached
    const int exitCode = RunQuadsum(GetModuleHandleW(nullptr));
    if (hook) UnhookWindowsHookEx(hook);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(exitCode, refuse ? 1 : 5);
    EXPECT_EQ(rec.messages, refuse ? 1 : 0);
    if (refuse) EXPECT_TRUE(rec.message.starts_with(L"Quadsum cannot start: creating its window failed.")) << rec.message;
  }
}

// Lookup dialog

using D = RevDNSForm;
enum Shown { kClosed, kCollapsed, kExpanded, kCutOff };

// Collapsed hides the list below the client area, expanded shows all of it;
// the toggle's caption says which.
Shown ShownOf(const RevDNSForm& dlg) {
  if (!dlg.IsLoaded()) return kClosed;
  RECT client{};
  GetClientRect(dlg.hWnd(), &client);
  const RECT list = ClientRectOf(dlg.Text2().hWnd());
  const std::wstring caption = dlg.Command3().Text();
  if (client.bottom <= list.top && caption == L"&IP List >>") return kCollapsed;
  if (client.bottom >= list.bottom && caption == L"&IP List <<") return kExpanded;
  return kCutOff;
}

struct DialogRow {
  const wchar_t* keys;  // see Play
  bool found;           // the resolver answers 1.2.3.4 and 5.6.7.8, or nothing
  const char* looked;   // the last name handed to the resolver, nullptr for none
  const wchar_t* list;
  Shown shown;
  int focus;
};

constexpr DialogRow kDialogRows[] = {
    {L"", true, nullptr, L"", kCollapsed, D::kText1},
    {L"\r\n", true, nullptr, L"", kCollapsed, D::kText1},  // Lookup is disabled
    {L"a\b\r\n", true, nullptr, L"", kCollapsed, D::kText1},
    {L" \r", true, " ", L"1.2.3.4\r\n5.6.7.8", kExpanded, D::kCommand1},
    {L"host\r\r", true, "host", L"1.2.3.4\r\n5.6.7.8", kExpanded, D::kCommand1},
    {L"host\r\x01i", true, "host", L"1.2.3.4\r\n5.6.7.8", kCollapsed, D::kCommand3},
    {L"host\r", false, "host", L"", kExpanded, D::kCommand1},
    {L"\t", true, nullptr, L"", kCollapsed, D::kCommand2},
    {L"x\t", true, nullptr, L"", kCollapsed, D::kCommand1},
    {L"\t\t\t", true, nullptr, L"", kCollapsed, D::kText1},  // the hidden list is skipped
    {L"\t\t \t", true, nullptr, L"", kExpanded, D::kText2},
    {L"\t\t  \t", true, nullptr, L"", kCollapsed, D::kText1},
    {L"\x01i\x01i\x01i", true, nullptr, L"", kExpanded, D::kCommand3},
    {L"host\x1b", true, nullptr, L"", kClosed, 0},
    {L"\t\r", true, nullptr, L"", kClosed, 0},
    {L"\x18", true, nullptr, L"", kClosed, 0},
};

TEST(LookupDialog, KeyScriptsAt96And144Dpi) {
  for (int dpi : {96, 144}) {
    for (const DialogRow& row : kDialogRows) {
      SCOPED_TRACE(testing::Message() << dpi << " dpi, keys " << testing::PrintToString(std::wstring(row.keys)));
      fake::FakeWinsock resolver;
      if (row.found) resolver.answer = fake::Answer{{{1, 2, 3, 4}, {5, 6, 7, 8}}};
      RevDNSForm dlg;
      dlg.Load(nullptr);
      ChangeDpi(dlg, dpi);
      dlg.Show();
      Play(row.keys);
      EXPECT_EQ(resolver.names.empty() ? "(none)" : resolver.names.back(), row.looked ? row.looked : "(none)");
      EXPECT_EQ(ShownOf(dlg), row.shown);
      EXPECT_EQ(FocusId(), row.focus);
      EXPECT_EQ(dlg.IsLoaded() ? dlg.Text2().Text() : L"", row.list);
      EXPECT_EQ(resolver.boxes.size(), row.looked && !row.found ? 1u : 0u);
      for (HWND c : row.looked ? dlg.Controls() : std::vector<HWND>{}) EXPECT_TRUE(IsWindowEnabled(c));
    }
  }
}

TEST(Layout, BothWindowsAt96And144Dpi) {
  MainForm main;
  RevDNSForm dlg;
  for (ui::Form* form : std::initializer_list<ui::Form*>{&main, &dlg}) {
    form->Load(nullptr);
    ExpectLayout(*form);
    // The manifest's common controls 6, for the processor the exe was built
    // for: only their buttons know an ideal size.
    for (const ui::ControlRow& row : form->Rows()) {
      SIZE ideal{};
      if (row.kind == ui::Kind::Button)
        EXPECT_TRUE(SendMessageW(form->Item(row.id), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) << row.id;
    }
    ChangeDpi(*form, 144);
    ExpectLayout(*form);
  }
}

// Where an item of the system menu is, and its state bits.
using Item = std::pair<int, UINT>;
constexpr UINT kChecked = MF_CHECKED;
Item MenuItem(HWND window, UINT id) {
  HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (GetMenuItemID(menu, i) == id) return {i, GetMenuState(menu, i, MF_BYPOSITION)};
  }
  return {-1, 0};
}

TEST(LookupDialog, LookupLocksEverythingWhileTheResolverWorks) {
  fake::FakeWinsock resolver;
  RevDNSForm dlg;
  dlg.Load(nullptr);
  dlg.Show();
  const auto [closeAt, state] = MenuItem(dlg.hWnd(), SC_CLOSE);
  ASSERT_GE(closeAt, 0);
  CheckMenuItem(GetSystemMenu(dlg.hWnd(), FALSE), SC_CLOSE, MF_CHECKED);  // a bit that must survive
  resolver.duringLookup = [&] {
    for (HWND c : dlg.Controls()) EXPECT_FALSE(IsWindowEnabled(c));
    EXPECT_EQ(MenuItem(dlg.hWnd(), SC_CLOSE).first, -1);
    EXPECT_EQ(MenuItem(dlg.hWnd(), XButtonMod::kLockedCloseId), Item(closeAt, state | kChecked | 3u));
    SendMessageW(dlg.hWnd(), WM_CLOSE, 0, 0);  // Alt+F4
    SendMessageW(dlg.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(dlg.IsLoaded());
  };
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  Play(L"host\r");
  ASSERT_EQ(resolver.names.size(), 1u);
  EXPECT_EQ(MenuItem(dlg.hWnd(), SC_CLOSE), Item(closeAt, state | kChecked));
}

// The title bar as drawn: a pixel of its caption, and its Close button.
struct TitleBar {
  COLORREF caption;
  std::vector<COLORREF> close;
  bool operator==(const TitleBar&) const = default;
};

TitleBar TitleBarOf(HWND window) {
  Pump();
  RECT r{};
  GetWindowRect(window, &r);
  const int frame = GetSystemMetrics(SM_CYFIXEDFRAME), button = GetSystemMetrics(SM_CYSIZE);
  ui::ScopedGetDC screen(nullptr);
  TitleBar bar{GetPixel(screen, r.left + 60, r.top + frame + 4), {}};
  for (int y = r.top + frame; y < r.top + frame + button; ++y) {
    for (int x = r.right - frame - button; x < r.right - frame; ++x) bar.close.push_back(GetPixel(screen, x, y));
  }
  return bar;
}

// Locking redraws the title bar with Close greyed, and with the activation
// it has: inactive while another window is active.
TEST(LookupDialog, LockRedrawsTheTitleBarAsItIs) {
  fake::FakeWinsock resolver;
  RevDNSForm dlg;
  dlg.Load(nullptr);
  dlg.Show();
  const HWND other = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
  SetActiveWindow(other);
  ASSERT_EQ(GetActiveWindow(), other);
  const TitleBar before = TitleBarOf(dlg.hWnd());
  dlg.EnableControls(false);
  const TitleBar locked = TitleBarOf(dlg.hWnd());
  dlg.EnableControls(true);
  EXPECT_EQ(locked.caption, before.caption) << "the caption changed its activation";
  EXPECT_NE(locked.close, before.close) << "Close not redrawn greyed";
  EXPECT_TRUE(TitleBarOf(dlg.hWnd()) == before) << "not drawn as before the lock";
  DestroyWindow(other);
}

// "..." in the main window: the dialog runs modally over a disabled owner,
// centred on it, one at a time, and a WM_QUIT that ends its loop reaches the
// program's.
HWND gMain;
bool gSawModalDialog, gStillOneDialog;

bool CentredOn(HWND window, const RECT& area) {
  RECT r{};
  GetWindowRect(window, &r);
  return std::abs(r.left + r.right - area.left - area.right) <= 1 &&
         std::abs(r.top + r.bottom - area.top - area.bottom) <= 1;
}

void CALLBACK InspectAfterClicks(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND dlg = FindWindowW(nullptr, L"Reverse DNS Lookup");
  gStillOneDialog = dlg && !FindWindowExW(nullptr, dlg, nullptr, L"Reverse DNS Lookup") && !IsWindowEnabled(gMain);
  PostQuitMessage(7);
}

void CALLBACK InspectModalDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND dlg = GetAncestor(GetFocus(), GA_ROOT);
  RECT main{};
  GetWindowRect(gMain, &main);
  gSawModalDialog = dlg != gMain && GetWindow(dlg, GW_OWNER) == gMain && !IsWindowEnabled(gMain) &&
                    GetDlgCtrlID(GetFocus()) == D::kText1 && CentredOn(dlg, main);
  // Clicks by a program (UI Automation's Invoke) reach buttons of a disabled window.
  for (int button : {M::kCommand2, M::kCommand1}) PostMessageW(GetDlgItem(gMain, button), BM_CLICK, 0, 0);
  SetTimer(nullptr, 0, 50, InspectAfterClicks);
}

TEST(MainWindowDots, EnterShowsTheDialogModallyCentredOnItsOwner) {
  Recorder rec;
  MainForm main;
  main.Load(nullptr);
  main.Show();
  gMain = main.hWnd();
  MONITORINFO screen{sizeof(screen), {}, {}, 0};
  GetMonitorInfoW(MonitorFromWindow(gMain, MONITOR_DEFAULTTOPRIMARY), &screen);
  EXPECT_TRUE(CentredOn(gMain, screen.rcWork));
  SetWindowPos(gMain, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the screen's centre
  SetTimer(nullptr, 0, 50, InspectModalDialog);
  Play(L"\t\r");  // Enter on a focused "..." clicks it, not Close
  EXPECT_TRUE(gSawModalDialog);
  EXPECT_TRUE(gStillOneDialog) << "a click on \"...\" or Close got past the dialog";
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_EQ(FindWindowW(nullptr, L"Reverse DNS Lookup"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main.hWnd()));
  EXPECT_EQ(rec.ends, 0);
}

}  // namespace

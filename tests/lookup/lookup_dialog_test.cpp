// The lookup dialog in process, with a fake resolver that can look at the
// dialog while the lookup blocks it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "lookup/RevDNSForm.h"
#include "lookup/XButtonMod.h"
#include "tests/gui/harness.h"
#include "tests/resolve/fake_winsock.h"

namespace {

using D = RevDNSForm;
enum Shown { kClosed, kCollapsed, kExpanded, kCutOff };

// Collapsed hides the list below the client area, expanded shows all of it;
// the toggle's caption says which.
Shown ShownOf(const RevDNSForm& dlg) {
  if (!dlg.IsLoaded()) return kClosed;
  RECT client{};
  GetClientRect(dlg.hWnd(), &client);
  const RECT list = harness::ClientRectOf(dlg.Text2().hWnd());
  const std::wstring caption = dlg.Command3().Text();
  if (client.bottom <= list.top && caption == L"&IP List >>") return kCollapsed;
  if (client.bottom >= list.bottom && caption == L"&IP List <<") return kExpanded;
  return kCutOff;
}

struct Row {
  const wchar_t* keys;  // see harness::Play
  bool found;           // the resolver answers 1.2.3.4 and 5.6.7.8, or nothing
  const char* looked;   // the last name handed to the resolver, nullptr for none
  const wchar_t* list;
  Shown shown;
  int focus;
};

constexpr Row kRows[] = {
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
  harness::InitUi();
  for (int dpi : {96, 144}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(testing::Message() << dpi << " dpi, keys " << testing::PrintToString(std::wstring(row.keys)));
      fake::FakeWinsock resolver;
      if (row.found) resolver.answer = fake::Answer{{{1, 2, 3, 4}, {5, 6, 7, 8}}};
      RevDNSForm dlg;
      dlg.Load(nullptr);
      harness::ChangeDpi(dlg, dpi);
      dlg.Show();
      harness::Play(row.keys);
      EXPECT_EQ(resolver.names.empty() ? "(none)" : resolver.names.back(), row.looked ? row.looked : "(none)");
      EXPECT_EQ(ShownOf(dlg), row.shown);
      EXPECT_EQ(harness::FocusId(), row.focus);
      EXPECT_EQ(dlg.IsLoaded() ? dlg.Text2().Text() : L"", row.list);
      const bool failed = row.looked && !row.found;
      EXPECT_EQ(resolver.boxes.size(), failed ? 1u : 0u);
      for (HWND c : row.looked ? dlg.Controls() : std::vector<HWND>{}) EXPECT_TRUE(IsWindowEnabled(c));
    }
  }
}

TEST(LookupDialog, LayoutFollowsTheDpi) {
  harness::InitUi();
  RevDNSForm dlg;
  dlg.Load(nullptr);
  harness::ExpectLayout(dlg, "lookup dialog");
  harness::ChangeDpi(dlg, 144);
  harness::ExpectLayout(dlg, "lookup dialog");
}

// Where an item of the system menu is, and its state bits.
using Item = std::pair<int, UINT>;
constexpr UINT kChecked = MF_CHECKED;
Item CloseItem(HWND window, UINT id) {
  HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (GetMenuItemID(menu, i) == id) return {i, GetMenuState(menu, i, MF_BYPOSITION)};
  }
  return {-1, 0};
}

UINT gNcActivates;
LRESULT CALLBACK CountNcActivate(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  gNcActivates += m == WM_NCACTIVATE && w == static_cast<WPARAM>(-1);
  return DefSubclassProc(h, m, w, l);
}

TEST(LookupDialog, LookupLocksEverythingWhileTheResolverWorks) {
  harness::InitUi();
  fake::FakeWinsock resolver;
  RevDNSForm dlg;
  dlg.Load(nullptr);
  dlg.Show();
  const auto [closeAt, state] = CloseItem(dlg.hWnd(), SC_CLOSE);
  ASSERT_GE(closeAt, 0);
  CheckMenuItem(GetSystemMenu(dlg.hWnd(), FALSE), SC_CLOSE, MF_CHECKED);  // a bit that must survive
  SetWindowSubclass(dlg.hWnd(), CountNcActivate, 1, 0);
  gNcActivates = 0;
  resolver.duringLookup = [&] {
    for (HWND c : dlg.Controls()) EXPECT_FALSE(IsWindowEnabled(c));
    EXPECT_EQ(CloseItem(dlg.hWnd(), SC_CLOSE).first, -1);
    EXPECT_EQ(CloseItem(dlg.hWnd(), XButtonMod::kLockedCloseId), Item(closeAt, state | kChecked | 3u));
    SendMessageW(dlg.hWnd(), WM_CLOSE, 0, 0);  // Alt+F4
    SendMessageW(dlg.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(dlg.IsLoaded());
    EXPECT_EQ(gNcActivates, 1u);
  };
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  harness::Play(L"host\r");
  ASSERT_EQ(resolver.names.size(), 1u);
  EXPECT_EQ(CloseItem(dlg.hWnd(), SC_CLOSE), Item(closeAt, state | kChecked));
  EXPECT_EQ(gNcActivates, 2u);
  for (HWND c : dlg.Controls()) EXPECT_TRUE(IsWindowEnabled(c));
  RemoveWindowSubclass(dlg.hWnd(), CountNcActivate, 1);
}

// "..." in the main window: the dialog runs modally over a disabled owner,
// centred on it, and a WM_QUIT that ends its loop reaches the program's.
HWND gMain;
bool gSawModalDialog;

void CALLBACK InspectModalDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND dlg = GetAncestor(GetFocus(), GA_ROOT);
  RECT d{}, m{};
  GetWindowRect(dlg, &d);
  GetWindowRect(gMain, &m);
  gSawModalDialog = dlg != gMain && GetWindow(dlg, GW_OWNER) == gMain && !IsWindowEnabled(gMain) &&
                    GetDlgCtrlID(GetFocus()) == D::kText1 &&
                    std::abs(d.left + d.right - m.left - m.right) <= 1 &&
                    std::abs(d.top + d.bottom - m.top - m.bottom) <= 1;
  PostQuitMessage(7);
}

TEST(MainWindowDots, EnterShowsTheDialogModallyCentredOnItsOwner) {
  harness::InitUi();
  harness::Recorder rec;
  MainForm main;
  main.Load(nullptr);
  main.Show();
  gMain = main.hWnd();
  MONITORINFO screen{sizeof(screen)};
  GetMonitorInfoW(MonitorFromWindow(gMain, MONITOR_DEFAULTTOPRIMARY), &screen);
  RECT m{};
  GetWindowRect(gMain, &m);
  EXPECT_NEAR(m.left + m.right, screen.rcWork.left + screen.rcWork.right, 1);
  EXPECT_NEAR(m.top + m.bottom, screen.rcWork.top + screen.rcWork.bottom, 1);
  gSawModalDialog = false;
  SetTimer(nullptr, 0, 50, InspectModalDialog);
  harness::Play(L"\t\r");  // Enter on a focused "..." clicks it, not Close
  EXPECT_TRUE(gSawModalDialog);
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_EQ(FindWindowW(nullptr, L"Reverse DNS Lookup"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main.hWnd()));
  EXPECT_EQ(rec.ends, 0);
}

}  // namespace

// The lookup dialog in process, with a fake resolver that can look at the
// dialog while the lookup blocks it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "lookup/RevDNSForm.h"
#include "lookup/XButtonMod.h"
#include "tests/gui/harness.h"
#include "tests/resolve/fake_winsock.h"

using harness::Press;
using harness::Type;

namespace {

struct MenuItem {
  UINT id;
  UINT state;
  std::wstring text;
};

std::vector<MenuItem> SystemMenu(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    items.push_back({info.wID, info.fState, text});
  }
  return items;
}

int PositionOf(const std::vector<MenuItem>& items, UINT id) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

int OuterHeight(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

// Records the WM_NCACTIVATE messages that reach a window.
struct NcActivateSpy {
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
    if (m == WM_NCACTIVATE) reinterpret_cast<NcActivateSpy*>(self)->seen.push_back({w, l});
    return DefSubclassProc(h, m, w, l);
  }
  explicit NcActivateSpy(HWND h) : hwnd(h) { SetWindowSubclass(h, Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
  ~NcActivateSpy() {
    if (IsWindow(hwnd)) RemoveWindowSubclass(hwnd, Proc, 1);
  }
  HWND hwnd;
  std::vector<std::pair<WPARAM, LPARAM>> seen;
};

class LookupDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { harness::InitUi(); }
  void SetUp() override {
    main.Load(nullptr);
    main.Show();
    Open();
  }
  void TearDown() override { dlg.Unload(); }
  void Open() {
    dlg.Load(main.hWnd());
    dlg.Show();
    SetForegroundWindow(dlg.hWnd());
    harness::Pump();
  }
  void LookUp(const wchar_t* host) {
    dlg.Text1().SetText(host);
    dlg.Text1().SetFocus();
    Press(VK_RETURN);
  }

  harness::Recorder rec;
  fake::FakeWinsock resolver;  // after rec: message boxes go to resolver.boxes
  MainForm main;
  RevDNSForm& dlg = RevDNSForm::Instance();
};

TEST_F(LookupDialogTest, OpensCollapsedEmptyWithLookupDisabledAndCaretInHostBox) {
  EXPECT_EQ(harness::TextOf(dlg.hWnd()), L"Reverse DNS Lookup");
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 98);  // 1470 twips
  EXPECT_EQ(dlg.Command3().Text(), L"&IP List >>");
  EXPECT_FALSE(dlg.Command1().Enabled());
  EXPECT_EQ(dlg.Text1().Text(), L"");
  EXPECT_EQ(dlg.Text2().Text(), L"");
  EXPECT_EQ(GetFocus(), dlg.Text1().hWnd());
  EXPECT_EQ(GetWindow(dlg.hWnd(), GW_OWNER), main.hWnd());
  const LONG style = GetWindowLongW(dlg.hWnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_SYSMENU);
  // The list lies below the visible client area.
  RECT client{};
  GetClientRect(dlg.hWnd(), &client);
  EXPECT_LE(client.bottom, harness::ClientRectOf(dlg.Text2().hWnd()).top);
}

TEST_F(LookupDialogTest, ControlsSitAtTheirPlacesAt96Dpi) {
  struct Place {
    int id, left, top, width, height;
  } places[] = {{RevDNSForm::kLabel1, 8, 11, 33, 17},    {RevDNSForm::kText1, 48, 8, 265, 21},
                {RevDNSForm::kCommand1, 80, 40, 73, 25}, {RevDNSForm::kCommand2, 160, 40, 73, 25},
                {RevDNSForm::kCommand3, 240, 40, 73, 25}, {RevDNSForm::kText2, 8, 88, 305, 121}};
  for (const Place& p : places) {
    const RECT r = harness::ClientRectOf(dlg.Item(p.id));
    EXPECT_EQ(r.left, p.left) << p.id;
    EXPECT_EQ(r.top, p.top) << p.id;
    EXPECT_EQ(r.right - r.left, p.width) << p.id;
    EXPECT_EQ(r.bottom - r.top, p.height) << p.id;
  }
  RECT w{};
  GetWindowRect(dlg.hWnd(), &w);
  EXPECT_EQ(w.right - w.left, 327);  // 4905 twips
}

TEST_F(LookupDialogTest, LookupIsEnabledExactlyWhileTheHostBoxHoldsText) {
  const std::pair<const wchar_t*, bool> steps[] = {{L"a", true}, {L"\b", false}, {L" ", true}, {L"\b", false}};
  for (const auto& [typed, enabled] : steps) {
    Type(typed);
    EXPECT_EQ(dlg.Command1().Enabled(), enabled) << testing::PrintToString(std::wstring(typed));
  }
}

TEST_F(LookupDialogTest, HostBoxTakesAt255Characters) {
  const std::wstring longName(300, L'x');
  SendMessageW(dlg.Text1().hWnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(longName.c_str()));
  EXPECT_EQ(dlg.Text1().Text().size(), 255u);
}

TEST_F(LookupDialogTest, TabSkipsDisabledLookupAndTheHiddenList) {
  const HWND collapsed[] = {dlg.Command2().hWnd(), dlg.Command3().hWnd(), dlg.Text1().hWnd()};
  for (HWND expected : collapsed) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), expected);
  }
  Type(L"host");
  dlg.Command3_Click();
  const HWND expanded[] = {dlg.Command1().hWnd(), dlg.Command2().hWnd(), dlg.Command3().hWnd(),
                           dlg.Text2().hWnd(), dlg.Text1().hWnd()};
  for (HWND expected : expanded) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), expected);
  }
}

TEST_F(LookupDialogTest, EnterLooksUpOnlyWithAHostName) {
  Press(VK_RETURN);
  EXPECT_TRUE(resolver.names.empty());
  EXPECT_TRUE(dlg.IsLoaded());
  resolver.answer = fake::Answer{{{192, 168, 0, 1}}};
  LookUp(L"  spaced host  ");
  ASSERT_EQ(resolver.names.size(), 1u);
  EXPECT_EQ(resolver.names[0], "  spaced host  ");  // handed over untrimmed
  EXPECT_EQ(dlg.Text2().Text(), L"192.168.0.1");
}

TEST_F(LookupDialogTest, EscAndTheTitleBarCloseTheDialog) {
  Press(VK_ESCAPE);
  EXPECT_FALSE(dlg.IsLoaded());
  Open();
  SendMessageW(dlg.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  harness::Pump();
  EXPECT_FALSE(dlg.IsLoaded());
  Open();
  SendMessageW(dlg.Command2().hWnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(dlg.IsLoaded());
}

TEST_F(LookupDialogTest, ListsAddressesOnePerLineInTheResolversOrder) {
  struct Row {
    fake::Bytes addresses;
    const wchar_t* list;
  } rows[] = {
      {{{10, 0, 0, 1}}, L"10.0.0.1"},
      {{{127, 0, 0, 13}, {127, 0, 0, 11}, {200, 255, 0, 12}}, L"127.0.0.13\r\n127.0.0.11\r\n200.255.0.12"},
  };
  for (const Row& row : rows) {
    resolver.answer = fake::Answer{row.addresses};
    LookUp(L"host");
    EXPECT_EQ(dlg.Text2().Text(), row.list);
    EXPECT_EQ(GetFocus(), dlg.Command1().hWnd());
  }
  EXPECT_TRUE(resolver.boxes.empty());
}

TEST_F(LookupDialogTest, LookupExpandsACollapsedDialogAndNeverCollapsesIt) {
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  LookUp(L"host");
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 242);  // 3630 twips
  EXPECT_EQ(dlg.Command3().Text(), L"&IP List <<");
  RECT client{};
  GetClientRect(dlg.hWnd(), &client);
  EXPECT_GE(client.bottom, harness::ClientRectOf(dlg.Text2().hWnd()).bottom);
  LookUp(L"host");
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 242);
  EXPECT_EQ(dlg.Command3().Text(), L"&IP List <<");
}

TEST_F(LookupDialogTest, ToggleKeepsTheListAndTheTopLeftCorner) {
  resolver.answer = fake::Answer{{{1, 2, 3, 4}, {5, 6, 7, 8}}};
  LookUp(L"host");
  RECT before{};
  GetWindowRect(dlg.hWnd(), &before);
  SendMessageW(dlg.Command3().hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 98);
  EXPECT_EQ(dlg.Command3().Text(), L"&IP List >>");
  EXPECT_FALSE(GetWindowLongW(dlg.Text2().hWnd(), GWL_STYLE) & WS_TABSTOP);
  harness::Alt(L'i');
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 242);
  EXPECT_EQ(dlg.Text2().Text(), L"1.2.3.4\r\n5.6.7.8");
  RECT after{};
  GetWindowRect(dlg.hWnd(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(LookupDialogTest, ToggleIgnoresAnyOtherCaption) {
  dlg.Command3().SetText(L"&ip list >>");
  dlg.Command3_Click();
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 98);
  EXPECT_EQ(dlg.Command3().Text(), L"&ip list >>");
}

TEST_F(LookupDialogTest, AFailedLookupEmptiesTheListAndUnlocks) {
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  LookUp(L"host");
  resolver.answer.reset();
  LookUp(L"nowhere");
  EXPECT_EQ(dlg.Text2().Text(), L"");
  const std::vector<fake::Box> expected{{L"Error looking up requested host.", ui::MessageIcon::Warning}};
  EXPECT_EQ(resolver.boxes, expected);
  for (HWND c : dlg.Controls()) EXPECT_TRUE(IsWindowEnabled(c));
  EXPECT_EQ(GetFocus(), dlg.Command1().hWnd());
}

TEST_F(LookupDialogTest, ReopeningStartsAfresh) {
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  LookUp(L"host");
  dlg.Command2_Click();
  ASSERT_FALSE(dlg.IsLoaded());
  Open();
  EXPECT_EQ(dlg.Text1().Text(), L"");
  EXPECT_EQ(dlg.Text2().Text(), L"");
  EXPECT_EQ(dlg.Command3().Text(), L"&IP List >>");
  EXPECT_EQ(OuterHeight(dlg.hWnd()), 98);
  EXPECT_FALSE(dlg.Command1().Enabled());
}

TEST_F(LookupDialogTest, LookupLocksEverythingWhileTheResolverWorks) {
  const std::vector<MenuItem> before = SystemMenu(dlg.hWnd());
  const int closeAt = PositionOf(before, SC_CLOSE);
  ASSERT_GE(closeAt, 0);
  NcActivateSpy spy(dlg.hWnd());
  bool looked = false;
  resolver.duringLookup = [&] {
    looked = true;
    for (HWND c : dlg.Controls()) EXPECT_FALSE(IsWindowEnabled(c));
    const std::vector<MenuItem> locked = SystemMenu(dlg.hWnd());
    EXPECT_EQ(PositionOf(locked, SC_CLOSE), -1);
    ASSERT_EQ(PositionOf(locked, XButtonMod::kLockedCloseId), closeAt);
    EXPECT_EQ(locked[closeAt].state & 3u, 3u);
    EXPECT_EQ(locked[closeAt].text, before[closeAt].text);
    SendMessageW(dlg.hWnd(), WM_CLOSE, 0, 0);        // Alt+F4 and the title bar
    SendMessageW(dlg.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(dlg.IsLoaded());
    EXPECT_EQ(spy.seen.size(), 1u);
  };
  resolver.answer = fake::Answer{{{1, 2, 3, 4}}};
  LookUp(L"host");
  ASSERT_TRUE(looked);
  const std::vector<MenuItem> after = SystemMenu(dlg.hWnd());
  EXPECT_EQ(PositionOf(after, XButtonMod::kLockedCloseId), -1);
  ASSERT_EQ(PositionOf(after, SC_CLOSE), closeAt);
  EXPECT_EQ(after[closeAt].state & 3u, 0u);
  EXPECT_EQ(after[closeAt].state & ~3u, before[closeAt].state & ~3u);
  EXPECT_EQ(after[closeAt].text, before[closeAt].text);
  const std::vector<std::pair<WPARAM, LPARAM>> activate(2, {static_cast<WPARAM>(-1), 0});
  EXPECT_EQ(spy.seen, activate);
  for (HWND c : dlg.Controls()) EXPECT_TRUE(IsWindowEnabled(c));
}

TEST_F(LookupDialogTest, UnlockingOrLockingOutOfTurnResetsTheItemState) {
  const int closeAt = PositionOf(SystemMenu(dlg.hWnd()), SC_CLOSE);
  // Mark the item checked so we can see which state bits survive.
  CheckMenuItem(GetSystemMenu(dlg.hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_CHECKED);
  XButtonMod::SetSystemCloseEnabled(dlg.hWnd(), true);
  std::vector<MenuItem> items = SystemMenu(dlg.hWnd());
  EXPECT_EQ(items[closeAt].id, static_cast<UINT>(SC_CLOSE));
  EXPECT_EQ(items[closeAt].state, 0u);  // every state bit cleared

  CheckMenuItem(GetSystemMenu(dlg.hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_CHECKED);
  XButtonMod::SetSystemCloseEnabled(dlg.hWnd(), false);
  items = SystemMenu(dlg.hWnd());
  EXPECT_EQ(items[closeAt].id, XButtonMod::kLockedCloseId);
  EXPECT_EQ(items[closeAt].state, MFS_CHECKED | 3u);
  XButtonMod::SetSystemCloseEnabled(dlg.hWnd(), false);
  items = SystemMenu(dlg.hWnd());
  EXPECT_EQ(items[closeAt].id, XButtonMod::kLockedCloseId);
  EXPECT_EQ(items[closeAt].state, 3u);  // only the greyed bits
  XButtonMod::SetSystemCloseEnabled(dlg.hWnd(), true);
}

// "..." in the main window: the dialog runs modally over a disabled owner.
HWND gMainWindow;
bool gSawModalDialog;

void CALLBACK InspectModalDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RevDNSForm& dlg = RevDNSForm::Instance();
  gSawModalDialog = dlg.IsLoaded() && !IsWindowEnabled(gMainWindow) &&
                    GetWindow(dlg.hWnd(), GW_OWNER) == gMainWindow && GetFocus() == dlg.Text1().hWnd();
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST(MainWindowDots, ShowsTheDialogModallyOverTheMainWindow) {
  harness::InitUi();
  harness::Recorder rec;
  MainForm main;
  main.Load(nullptr);
  main.Show();
  gMainWindow = main.hWnd();
  gSawModalDialog = false;
  SetTimer(nullptr, 0, 50, InspectModalDialog);
  main.Command2().SetFocus();
  Press(VK_SPACE);  // a focused button clicks on key up
  EXPECT_TRUE(gSawModalDialog);
  EXPECT_FALSE(RevDNSForm::Instance().IsLoaded());
  EXPECT_TRUE(IsWindowEnabled(main.hWnd()));
  EXPECT_TRUE(main.IsLoaded());
  EXPECT_EQ(rec.ends, 0);
}

}  // namespace

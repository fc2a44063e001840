#include "lookup/RevDNSForm.h"

#include "lookup/XButtonMod.h"
#include "resolve/DNS_Mod.h"

namespace {

using ui::Kind;

constexpr wchar_t kCollapsed[] = L"&IP List >>";
constexpr wchar_t kExpanded[] = L"&IP List <<";
constexpr int kCollapsedHeight = 1470;  // outer twips: buttons and a margin
constexpr int kExpandedHeight = 3630;   // outer twips: the address list too

constexpr ui::WindowLayout kWindow{
    L"Reverse DNS Lookup", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
    4905, kCollapsedHeight, true};  // outer size, twips

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// Tab order is the order of the rows. The list box lies below the collapsed
// client area, so only expanding shows it.
constexpr ui::ControlRow kControls[] = {
    {.id = RevDNSForm::kLabel1, .kind = Kind::Label, .text = L"&Host:", .at = {120, 165, 495, 255}},
    {.id = RevDNSForm::kText1, .kind = Kind::TextBox, .at = {720, 120, 3975, 315}, .style = kTab,
     .maxLength = 255},
    {.id = RevDNSForm::kCommand1, .kind = Kind::Button, .text = L"&Lookup", .at = {1200, 600, 1095, 375},
     .style = kTab | BS_DEFPUSHBUTTON | WS_DISABLED},
    {.id = RevDNSForm::kCommand2, .kind = Kind::Button, .text = L"Close", .at = {2400, 600, 1095, 375},
     .style = kTab},
    {.id = RevDNSForm::kCommand3, .kind = Kind::Button, .text = kCollapsed, .at = {3600, 600, 1095, 375},
     .style = kTab},
    {.id = RevDNSForm::kText2, .kind = Kind::TextBox, .at = {120, 1320, 4575, 1815},
     .style = WS_GROUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY},
};

}  // namespace

RevDNSForm::RevDNSForm() : Form(kWindow, kControls) {}

RevDNSForm& RevDNSForm::Instance() {
  static RevDNSForm instance;
  return instance;
}

void RevDNSForm::OnCommand(int id, int code) {
  if (id == kText1 && code == EN_CHANGE) return Text1_Change();
  if (code != BN_CLICKED) return;
  // Enter and Esc arrive as IDOK and IDCANCEL even when the button is
  // disabled; a disabled button is never clicked.
  if (!IsWindowEnabled(Item(id))) return;
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kCommand2: Command2_Click(); break;
    case kCommand3: Command3_Click(); break;
    default: break;
  }
}

bool RevDNSForm::CanClose() {
  // While a lookup holds the window, its system menu has no SC_CLOSE item.
  return GetMenuState(GetSystemMenu(hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

void RevDNSForm::Text1_Change() {
  if (Text1().Text().empty()) Command1().SetEnabled(false);
  if (!Text1().Text().empty()) Command1().SetEnabled(true);
}

void RevDNSForm::Command3_Click() {
  const std::wstring caption = Command3().Text();
  if (caption == kCollapsed) {
    SetOuterHeight(kExpandedHeight);
    Text2().SetTabStop(true);
    Command3().SetText(kExpanded);
  } else if (caption == kExpanded) {
    SetOuterHeight(kCollapsedHeight);
    Text2().SetTabStop(false);
    Command3().SetText(kCollapsed);
  }
}

void RevDNSForm::Command1_Click() {
  if (Command3().Text() == kCollapsed) Command3_Click();
  EnableControls(false);
  // The resolver blocks this thread: show the locked window before it does.
  RedrawWindow(hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Text2().SetText(L"");
  AddressList list;
  DNS_Mod::ResolveHostAddresses(Text1().Text(), list);
  Text2().SetText(ui::FromUtf8(JoinLines(list)));  // built once: linear in the addresses
  EnableControls(true);
  Command1().SetFocus();
}

void RevDNSForm::Command2_Click() { Unload(); }

void RevDNSForm::EnableControls(bool bOption) {
  for (HWND control : Controls()) EnableWindow(control, bOption ? TRUE : FALSE);
  XButtonMod::SetSystemCloseEnabled(hWnd(), bOption);
}

#include "app/MainForm.h"

#include <commctrl.h>

#include <string>

#include "app/CButtonMod.h"
#include "core/conversion.h"
#include "lookup/RevDNSForm.h"
#include "ui/seams.h"

namespace {

using ui::Kind;

constexpr ui::WindowLayout kWindow{
    L"Quadsum",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    0,
    4155, 1455, false};  // client area, twips

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// Tooltips that also name their controls for screen readers.
constexpr wchar_t kLookupTip[] = L"Obtain IP address from a host";
constexpr wchar_t kAboutTip[] = L"Quadsum v1.0 by Tessary";

// Tab order is the order of the rows.
constexpr ui::ControlRow kControls[] = {
    {.id = MainForm::kLabel1, .kind = Kind::Label, .text = L"IP &Address:",
     .at = {120, 200, 855, 255}, .ownFont = true},
    {.id = MainForm::kText1, .kind = Kind::TextBox, .at = {1080, 120, 2655, 315},
     .style = kTab | ES_CENTER, .ownFont = true,
     .maxLength = 15},  // four parts of three digits and three dots
    {.id = MainForm::kCommand2, .kind = Kind::Button, .text = L"...", .at = {3830, 120, 270, 255},
     .style = kTab | BS_OWNERDRAW, .ownFont = true, .tooltip = kLookupTip,
     .accessibleName = kLookupTip},
    {.id = MainForm::kLabel2, .kind = Kind::Label, .text = L"IP &Integer:",
     .at = {120, 520, 855, 255}, .ownFont = true},
    {.id = MainForm::kText2, .kind = Kind::TextBox, .at = {1080, 480, 2655, 315},
     .style = kTab | ES_CENTER | ES_READONLY, .ownFont = true},
    {.id = MainForm::kCommand3, .kind = Kind::Button, .text = L"&Open", .at = {1440, 960, 1095, 375},
     .style = kTab | WS_DISABLED, .tooltip = L"Open the IP Integer in your web browser"},
    {.id = MainForm::kCommand1, .kind = Kind::Button, .text = L"Close", .at = {2640, 960, 1095, 375},
     .style = kTab | BS_DEFPUSHBUTTON, .ownFont = true},
    {.id = MainForm::kImage1, .kind = Kind::Picture, .at = {120, 960, 480, 480}, .ownFont = true,
     .tooltip = kAboutTip, .accessibleName = kAboutTip},
};

constexpr COLORREF kLockedBoxColor = RGB(192, 192, 192);

}  // namespace

MainForm::MainForm() : Form(kWindow, kControls) { hasIcon_ = true; }

void MainForm::OnCommand(int id, int code) {
  if (code == EN_CHANGE) {
    if (id == kText1) Text1_Change();
    if (id == kText2) Text2_Change();
    return;
  }
  // While the lookup dialog holds the window disabled, a program can still
  // click its buttons (BM_CLICK, accessibility Invoke); the window takes no
  // input then: one dialog at a time, and no Close under it.
  if (code != BN_CLICKED || !IsWindowEnabled(hWnd())) return;
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kCommand2: Command2_Click(); break;
    case kCommand3: Command3_Click(); break;
    default: break;  // IDCANCEL from Esc: the window has no cancel button
  }
}

void MainForm::OnKeyPress(int id, short& keyAscii) {
  if (id == kText1) Text1_KeyPress(keyAscii);
}

COLORREF MainForm::ControlBackColor(int id) {
  return id == kText2 ? kLockedBoxColor : CLR_INVALID;
}

void MainForm::Form_Load() { CButtonMod::SetPlainButtonStyle(Command2()); }

void MainForm::Form_Unload(bool& /*cancel*/) { ui::seams().endProgram(); }

void MainForm::Command1_Click() { Unload(); }

// A dialog of its own for every showing: each opening starts afresh.
void MainForm::Command2_Click() {
  RevDNSForm dialog;
  ui::ShowModal(dialog, hWnd());
}

void MainForm::Text1_KeyPress(short& keyAscii) {
  if (!quadsum::IsAddressKey(keyAscii)) keyAscii = 0;
}

void MainForm::Text1_Change() {
  // Whatever goes wrong, the integer box is emptied and nobody is bothered.
  try {
    Text2().SetText(ui::FromUtf8(quadsum::DottedToIntegerText(ui::ToUtf8(Text1().Text()))));
  } catch (...) {
    Text2().SetText(L"");
  }
}

void MainForm::Text2_Change() { Command3().SetEnabled(!Text2().Text().empty()); }

void MainForm::Command3_Click() { LaunchURL(L"http://" + Text2().Text() + L"/"); }

void MainForm::LaunchURL(std::wstring_view url) {
  const std::string file = ui::ToAnsi(url);
  ui::seams().shellExecute(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

// The system's text for an error code, or its number where it has none.
std::wstring SystemErrorText(DWORD error) {
  wchar_t text[512] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                           text, static_cast<DWORD>(std::size(text)), nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n')) --n;
  return n > 0 ? std::wstring(text, n) : L"System error " + ui::FromUtf8(std::to_string(error)) + L".";
}

// Without a window there is nothing to run: say why and end with 1.
int FailedStart(const wchar_t* what, DWORD error) {
  ui::ShowMessage(L"Quadsum cannot start: " + std::wstring(what) + L" failed.\n\n" + SystemErrorText(error),
                  ui::MessageIcon::Warning);
  return 1;
}

}  // namespace

int RunQuadsum(HINSTANCE instance) {
  // Tooltips are the only common control the program makes; edit, button and
  // static come in their version 6 form through the manifest.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (!ui::RegisterFormClass(instance)) return FailedStart(L"registering its window class", GetLastError());
  MainForm mainForm;
  mainForm.Load(nullptr);
  if (!mainForm.IsLoaded()) return FailedStart(L"creating its window", GetLastError());
  mainForm.Show();
  return ui::RunMessageLoop();
}

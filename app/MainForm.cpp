#include "app/MainForm.h"

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

// Tab order is the order of the rows; positions in twips.
constexpr ui::ControlRow kControls[] = {
    // id                  kind           text          left   top  width height style  own font tooltip
    {MainForm::kLabel1,   Kind::Label,   L"IP &Address:", 120,  200,  855, 255, 0, true, nullptr},
    {MainForm::kText1,    Kind::TextBox, L"",           1080,  120, 2655, 315, kTab | ES_CENTER, true, nullptr,
     15},  // four parts of three digits and three dots
    {MainForm::kCommand2, Kind::Button,  L"...",        3830,  120,  270, 255, kTab | BS_OWNERDRAW, true,
     L"Obtain IP address from a host"},
    {MainForm::kLabel2,   Kind::Label,   L"IP &Integer:", 120,  520,  855, 255, 0, true, nullptr},
    {MainForm::kText2,    Kind::TextBox, L"",           1080,  480, 2655, 315, kTab | ES_CENTER | ES_READONLY,
     true, nullptr},
    {MainForm::kCommand3, Kind::Button,  L"&Open",      1440,  960, 1095, 375, kTab | WS_DISABLED, false,
     L"Open the IP Integer in your web browser"},
    {MainForm::kCommand1, Kind::Button,  L"Close",      2640,  960, 1095, 375, kTab | BS_DEFPUSHBUTTON, true,
     nullptr},
    {MainForm::kImage1,   Kind::Picture, L"",            120,  960,  480, 480, 0, true,
     L"Quadsum v1.0 by Tessary"},
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
  if (code != BN_CLICKED) return;
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

void MainForm::Form_Load() {
  SendMessageW(hWnd(), DM_SETDEFID, kCommand1, 0);
  CButtonMod::SetPlainButtonStyle(Command2());
}

void MainForm::Form_Unload(bool& /*cancel*/) { ui::seams().endProgram(); }

void MainForm::Command1_Click() { Unload(); }

void MainForm::Command2_Click() { ui::ShowModal(RevDNSForm::Instance(), hWnd()); }

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

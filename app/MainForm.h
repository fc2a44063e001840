// The main window: a dotted address in, its integer out, while the user types.
#pragma once

#include <string_view>

#include "resources/resource_ids.h"
#include "ui/form.h"

class MainForm : public ui::Form {
 public:
  enum Id : int {
    kCommand1 = IDOK,  // "Close", the default button: Enter ends the program
    kLabel1 = IDC_MAIN_LABEL1,
    kText1 = IDC_MAIN_TEXT1,
    kCommand2 = IDC_MAIN_COMMAND2,
    kLabel2 = IDC_MAIN_LABEL2,
    kText2 = IDC_MAIN_TEXT2,
    kCommand3 = IDC_MAIN_COMMAND3,
    kImage1 = IDC_MAIN_IMAGE1,
  };

  MainForm();

  ui::TextBox Text1() const { return ui::TextBox(Item(kText1)); }
  ui::TextBox Text2() const { return ui::TextBox(Item(kText2)); }
  ui::Button Command1() const { return ui::Button(Item(kCommand1)); }
  ui::Button Command2() const { return ui::Button(Item(kCommand2)); }
  ui::Button Command3() const { return ui::Button(Item(kCommand3)); }

  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Text1_Change();
  void Text1_KeyPress(short& keyAscii);
  void Text2_Change();

  // Hands a URL to the shell's default handler, in the ANSI code page.
  void LaunchURL(std::wstring_view url);

 protected:
  void OnCommand(int id, int code) override;
  void OnKeyPress(int id, short& keyAscii) override;
  COLORREF ControlBackColor(int id) override;
};

// Starts the program with its main window and runs it to the end; returns the
// exit code.
int RunQuadsum(HINSTANCE instance);

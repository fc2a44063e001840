// The lookup dialog: a host name in, every IPv4 address of the host out.
#pragma once

#include "resources/resource_ids.h"
#include "ui/form.h"

class RevDNSForm : public ui::Form {
 public:
  enum Id : int {
    kCommand1 = IDOK,      // "&Lookup", the default button
    kCommand2 = IDCANCEL,  // "Close", the cancel button: Esc
    kLabel1 = IDC_LOOKUP_LABEL1,
    kText1 = IDC_LOOKUP_TEXT1,
    kCommand3 = IDC_LOOKUP_COMMAND3,
    kText2 = IDC_LOOKUP_TEXT2,
  };

  RevDNSForm();

  // The one dialog of the program; its window exists only while it is shown.
  static RevDNSForm& Instance();

  ui::TextBox Text1() const { return ui::TextBox(Item(kText1)); }
  ui::TextBox Text2() const { return ui::TextBox(Item(kText2)); }
  ui::Button Command1() const { return ui::Button(Item(kCommand1)); }
  ui::Button Command2() const { return ui::Button(Item(kCommand2)); }
  ui::Button Command3() const { return ui::Button(Item(kCommand3)); }

  void Text1_Change();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

  // Locks (false) or unlocks (true) every control and the Close item of the
  // system menu, for the time a lookup blocks the window.
  void EnableControls(bool bOption);

 protected:
  void OnCommand(int id, int code) override;
  bool CanClose() override;
};

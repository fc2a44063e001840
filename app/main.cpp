#include <windows.h>
#include <commctrl.h>

#include "app/MainForm.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Tooltips are the only common control the program makes; edit, button and
  // static come in their version 6 form through the manifest.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  ui::RegisterFormClass(instance);
  MainForm mainForm;
  mainForm.Load(nullptr);
  mainForm.Show();
  return ui::RunMessageLoop();
}

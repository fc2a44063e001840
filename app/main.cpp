#include <windows.h>
#include <commctrl.h>

#include "app/MainForm.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ui::RegisterFormClass(instance);
  MainForm mainForm;
  mainForm.Load(nullptr);
  mainForm.Show();
  return ui::RunMessageLoop();
}

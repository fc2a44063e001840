// Drives real windows in process: keys go through the same message loop
// filter as in the program, and the outside world is replaced by recorders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/seams.h"

namespace harness {

// Common controls and the form class, once per test program.
void InitUi();
// Runs every message that is waiting, as the program's loop would.
void Pump();

// Plays a key script at the focused control: '\t', '\r' and '\x1b' are the
// Tab, Enter and Esc keys, '\n' is IDOK as Windows sends it for Enter even
// when the default button is disabled, '\x01' + letter is Alt+letter, '\x11'
// is Ctrl+V, '\x18' is the title bar's Close; any other character is typed.
void Play(std::wstring_view keys);
void Press(UINT vk);
// Puts text on the clipboard, as another program's Copy would.
void CopyToClipboard(std::wstring_view text);

// A window's rectangle in its parent's client coordinates, in pixels.
RECT ClientRectOf(HWND control);
// The ID of the focused control, 0 for none.
int FocusId();
// A Form as a new DPI would leave it: WM_DPICHANGED with the rectangle
// Windows suggests, the frame scaled from the form's DPI.
void ChangeDpi(ui::Form& form, int dpi);
// Every control sits at MulDiv(twips, dpi, 1440) of its layout row, and the
// controls that ask for it are in Tahoma 8.25 pt.
void ExpectLayout(const ui::Form& form, const char* name);

// Replaces the seams for one test and records what reaches them.
struct Recorder {
  Recorder();
  std::vector<std::string> urls;  // files handed to the shell, if the call was plain
  std::vector<std::wstring> messages;
  int ends = 0;
  ui::ScopedSeams restore;
};

}  // namespace harness

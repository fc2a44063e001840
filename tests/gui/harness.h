// Drives real windows in process: keys go through the same message loop
// filter as in the program, and the outside world is replaced by recorders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/seams.h"

namespace harness {

// Common controls and the form class, once per test program.
void InitUi();

// Runs every message that is waiting, as the program's loop would.
void Pump();

// What a user does with the keyboard, delivered to the focused control.
void Type(std::wstring_view text);
void Press(UINT vk, bool shift = false);
void Alt(wchar_t letter);
// Holds a modifier (VK_SHIFT, VK_CONTROL) down or lets it go.
void Hold(UINT vk, bool down);
// Puts text on the clipboard, as another program's Copy would.
void CopyToClipboard(std::wstring_view text);

// A window's rectangle in its parent's client coordinates, in pixels.
RECT ClientRectOf(HWND control);
SIZE ClientSize(HWND window);
std::wstring TextOf(HWND hwnd);

struct ShellCall {
  HWND owner;
  bool nullOperation, nullParameters, nullDirectory;
  std::string file;
  int show;
};
struct MessageCall {
  std::wstring text;
  ui::MessageIcon icon;
};

// Replaces the seams for one test and records what reaches them.
class Recorder {
 public:
  Recorder();
  std::vector<ShellCall> shell;
  std::vector<MessageCall> messages;
  int ends = 0;

 private:
  ui::ScopedSeams restore_;
};

}  // namespace harness

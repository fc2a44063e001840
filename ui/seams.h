// The few places where the program touches the world outside its windows:
// the message box, the shell launch and the end of the program. Tests swap
// them for recorders so nothing blocks and nothing leaves the process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/scoped_restore.h"

namespace ui {

enum class MessageIcon { None, Warning };

struct Seams {
  // Application message box: caption "Quadsum", OK only, modal; answer ignored.
  std::function<void(std::wstring_view text, MessageIcon icon)> messageBox;
  // ShellExecuteA with exactly the caller's arguments; result ignored.
  std::function<void(HWND owner, const char* operation, const char* file,
                     const char* parameters, const char* directory, int show)>
      shellExecute;
  // Asks the program to end: posts WM_QUIT and returns; the message loop
  // ends the program when it takes the quit.
  std::function<void()> endProgram;
};

// The seams in force; the real functions unless a test replaced them.
Seams& seams();

// Puts the real functions back when a test scope ends.
struct ScopedSeams : ScopedRestore<Seams> {
  ScopedSeams() : ScopedRestore(seams()) {}
};

// Convenience for callers: the application's message box through the seam.
void ShowMessage(std::wstring_view text, MessageIcon icon);

}  // namespace ui

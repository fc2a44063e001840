#pragma once

#include <windows.h>

namespace XButtonMod {

// Greys out (false) or restores (true) the Close item of a window's system
// menu. A locked item carries the command ID -10 instead of SC_CLOSE, so
// neither the menu nor the title bar button can close the window.
void SetSystemCloseEnabled(HWND window, bool enable);

// The command ID that marks a locked Close item.
inline constexpr UINT kLockedCloseId = static_cast<UINT>(-10);

}  // namespace XButtonMod

#include "lookup/XButtonMod.h"

#include <cstddef>

namespace XButtonMod {
namespace {

// The record as the ANSI menu functions took it before hbmpItem was added;
// 44 bytes in a 32-bit program.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
constexpr UINT kGreyedAndDisabled = 3;  // MFS_GRAYED, the same bits as MFS_DISABLED

}  // namespace

void SetSystemCloseEnabled(HWND window, bool enable) {
  HMENU menu = GetSystemMenu(window, FALSE);
  MENUITEMINFOA info{};
  info.cbSize = kMenuItemInfoSize;
  info.fMask = MIIM_STATE;
  const UINT oldId = enable ? kLockedCloseId : SC_CLOSE;
  const UINT newId = enable ? SC_CLOSE : kLockedCloseId;

  // No result is tested: a missing item leaves the state read as 0, and the
  // next steps go ahead regardless.
  GetMenuItemInfoA(menu, oldId, FALSE, &info);

  info.fMask = MIIM_ID;
  info.wID = newId;
  SetMenuItemInfoA(menu, oldId, FALSE, &info);

  info.fState = enable ? (info.fState & ~kGreyedAndDisabled) : (info.fState | kGreyedAndDisabled);
  info.fMask = MIIM_STATE;
  SetMenuItemInfoA(menu, newId, FALSE, &info);

  // Redraw the frame so the title bar's Close button shows the new state.
  // WM_NCACTIVATE would paint it active even while another window is.
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace XButtonMod

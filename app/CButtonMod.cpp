#include "app/CButtonMod.h"

namespace CButtonMod {

void SetPlainButtonStyle(const ui::Button& button) {
  // lParam 1 redraws the button at once; the result carries nothing useful.
  SendMessageA(button.hWnd(), BM_SETSTYLE, BS_PUSHBUTTON, 1);
}

}  // namespace CButtonMod

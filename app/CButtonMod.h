#pragma once

#include "ui/controls.h"

namespace CButtonMod {

// Redraws a button that was created in the graphical (owner-drawn) style as
// the system's plain push button.
void SetPlainButtonStyle(const ui::Button& button);

}  // namespace CButtonMod

// Names for screen readers where a control's caption does not say what it
// does ("...", a picture). Every other name is left to the system: labels
// name the boxes after them, buttons are named by their captions.
#pragma once

#include <windows.h>

namespace ui {

// From now on the control's client object, as screen readers ask for it
// (WM_GETOBJECT, OBJID_CLIENT), is named `name`; everything else about it is
// the system's standard object. `name` must outlive the control.
void SetAccessibleName(HWND control, const wchar_t* name);

}  // namespace ui

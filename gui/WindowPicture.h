#pragma once
// A top-level window's picture: its background and every control in it, drawn in one pass
// into one bitmap and copied to the screen at once; the controls drawn there are not asked
// to draw again. And the mark of the controller's focus, drawn over it.
#include "gui/Object.h"

#include <windows.h>

namespace VellGui {

// The update region of `window`, on WM_PAINT; `markedControl` (or none) framed as the
// controller's focus.
void paintPicture(IObject& window, HWND markedControl);
// The background of `window` into `dc`.
void fillBackground(HWND window, HDC dc);
// Where the frame around `control` lies, in the client coordinates of `window`.
RECT focusMarkArea(const IObject& window, HWND control);

} // namespace VellGui

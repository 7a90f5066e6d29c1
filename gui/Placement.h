#pragma once
// Where a top-level window without an owner opens: centred in the work area of the
// monitor that holds the mouse cursor, or, when the launcher was started from a window
// that is in front, the monitor of that window.
#include <windows.h>

namespace VellGui {

// The point whose monitor the window opens on.
POINT placementPoint();

// Top-left corner of a window of the given outer size centred in `workArea`.
POINT centreIn(const RECT& workArea, int outerWidth, int outerHeight);

} // namespace VellGui

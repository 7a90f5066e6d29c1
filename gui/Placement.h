#pragma once
// Where a top-level window without an owner opens: centred in the work area of the
// monitor that holds the mouse cursor, or, when the launcher was started from a window
// that is in front, the monitor of that window.
#include <windows.h>

namespace VellGui {

// Work area of the monitor that holds `point`, or of the nearest one.
RECT monitorWorkArea(POINT point);

// How the work area is found; tests put a fake monitor layout here, since Wine offers
// only the one display it runs on.
using WorkAreaLookup = RECT (*)(POINT point);
inline WorkAreaLookup workAreaLookup = monitorWorkArea;

// The point whose monitor the window opens on.
POINT placementPoint();

// Top-left corner of a window of the given outer size centred in `workArea`.
POINT centreIn(const RECT& workArea, int outerWidth, int outerHeight);

} // namespace VellGui

#pragma once
// Where a top-level window without an owner opens: centred in the work area of the
// monitor that holds the mouse cursor, or, when the launcher was started from a window
// that is in front, the monitor of that window.
#include <windows.h>

#include <optional>

namespace VellGui {

// The centre of the foreground window when it belongs to the program that started this
// one (a folder window, another launcher); empty otherwise. It asks nothing of the
// display, so any thread can find it out.
std::optional<POINT> startingWindowCentre();
// The same for the program of that process id (0: none).
std::optional<POINT> startingWindowCentre(DWORD parentId);

// The point whose monitor the window opens on: the starting window's centre, else the
// mouse cursor.
POINT placementPoint(const std::optional<POINT>& startingWindow);
POINT placementPoint();

// Top-left corner of a window of the given outer size centred in `workArea`.
POINT centreIn(const RECT& workArea, int outerWidth, int outerHeight);
// `window` moved, unchanged in size, to lie within `area`; one larger than the area keeps
// its top left corner in it.
RECT keepInside(RECT window, const RECT& area);
// `window` moved, unchanged in size, as little as it takes for its centre to lie on
// `monitor`, so that most of it is there.
RECT keepCentreIn(RECT window, const RECT& monitor);

} // namespace VellGui

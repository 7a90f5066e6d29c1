#pragma once
// The scale a top-level window is laid out at, and its outer size there: sizes are laid
// out at 96 DPI and scaled for the monitor the window is on.
#include <windows.h>

namespace VellGui {

// A window as laid out: its client size at 96 DPI and its window style.
struct WindowDesign {
    int width = 0;
    int height = 0;
    DWORD style = 0;
};

// The outer size for the client area of the design scaled to `dpi`.
SIZE outerSize(const WindowDesign& design, UINT dpi);
// The DPI asked for on a monitor of `monitorDpi`: the monitor's, at least 144 on a handheld.
UINT wantedDpi(UINT monitorDpi);
// The DPI the window is laid out for on a monitor of `monitorDpi` whose work area is
// `workArea`: the wanted one, and at most the largest at which the whole window fits in the
// work area (never below 96).
UINT scaleFor(const WindowDesign& design, UINT monitorDpi, const RECT& workArea);

} // namespace VellGui

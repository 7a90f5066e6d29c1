#include "gui/Placement.h"

#include "platform/Processes.h"

namespace VellGui {

std::optional<POINT> startingWindowCentre() {
    // Started from a window that is in front (a shortcut in an open folder, another
    // launcher): open on that window's monitor rather than where the mouse happens to be.
    DWORD parentId = getParentProcessId();
    HWND parentWindow = parentId ? findProcessWindow(parentId) : nullptr;
    RECT rect;
    if (parentWindow && GetTopWindow(GetForegroundWindow()) == GetTopWindow(parentWindow) &&
        GetWindowRect(parentWindow, &rect))
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return std::nullopt;
}

POINT placementPoint(const std::optional<POINT>& startingWindow) {
    if (startingWindow)
        return *startingWindow;
    POINT point = {0, 0};
    GetCursorPos(&point);
    return point;
}

POINT placementPoint() {
    return placementPoint(startingWindowCentre());
}

POINT centreIn(const RECT& workArea, int outerWidth, int outerHeight) {
    return {(workArea.left + workArea.right - outerWidth) / 2,
            (workArea.top + workArea.bottom - outerHeight) / 2};
}

} // namespace VellGui

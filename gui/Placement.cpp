#include "gui/Placement.h"

#include "platform/Processes.h"

namespace VellGui {

std::optional<POINT> startingWindowCentre() {
    return startingWindowCentre(getParentProcessId());
}

std::optional<POINT> startingWindowCentre(DWORD parentId) {
    // Started from a window that is in front (a shortcut in an open folder, another
    // launcher): open on that window's monitor rather than where the mouse happens to be.
    // In front means the foreground window is the starting program's, or is owned by one
    // of its windows (a dialog of another process that it opened).
    HWND front = GetForegroundWindow();
    if (!parentId || !front)
        return std::nullopt;
    auto processOf = [](HWND window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        return id;
    };
    RECT rect;
    if ((processOf(front) == parentId || processOf(GetAncestor(front, GA_ROOTOWNER)) == parentId) &&
        GetWindowRect(front, &rect))
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

namespace {

// How far a span [from, to) must move to lie within [low, high); a longer one starts at low.
int shiftInto(int from, int to, int low, int high) {
    if (to - from > high - low || from < low)
        return low - from;
    return to > high ? high - to : 0;
}

// How far a point must move to lie within [low, high).
int shiftOnto(int at, int low, int high) {
    if (at < low)
        return low - at;
    return at >= high ? high - 1 - at : 0;
}

} // namespace

RECT keepInside(RECT window, const RECT& area) {
    OffsetRect(&window, shiftInto(window.left, window.right, area.left, area.right),
               shiftInto(window.top, window.bottom, area.top, area.bottom));
    return window;
}

RECT keepCentreIn(RECT window, const RECT& monitor) {
    OffsetRect(&window, shiftOnto((window.left + window.right) / 2, monitor.left, monitor.right),
               shiftOnto((window.top + window.bottom) / 2, monitor.top, monitor.bottom));
    return window;
}

} // namespace VellGui

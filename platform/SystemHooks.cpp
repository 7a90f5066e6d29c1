#include "platform/SystemHooks.h"

#include "platform/SystemFunctions.h"

namespace {

// The monitor that holds `point`, or the nearest one; false when the system cannot say.
bool monitorAt(POINT point, MONITORINFO& info) {
    info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    return monitor && GetMonitorInfoW(monitor, &info);
}

} // namespace

RECT systemWorkArea(POINT point) {
    MONITORINFO info;
    if (monitorAt(point, info))
        return info.rcWork;
    RECT primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
    return primary;
}

RECT systemMonitorArea(POINT point) {
    MONITORINFO info;
    if (monitorAt(point, info))
        return info.rcMonitor;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

MMRESULT WINAPI readSystemJoystick(UINT id, JOYINFOEX* info) {
    auto read = systemFunctions::joyGetPosEx.get();
    return read ? read(id, info) : JOYERR_UNPLUGGED;
}

MMRESULT WINAPI readSystemJoystickCaps(UINT id, JOYCAPSW* caps, UINT size) {
    auto read = systemFunctions::joyGetDevCaps.get();
    return read ? read(id, caps, size) : JOYERR_UNPLUGGED;
}

DWORD WINAPI readSystemXInput(DWORD slot, XINPUT_STATE* state) {
    auto read = systemFunctions::xinputGetState.get();
    if (!read)
        read = systemFunctions::xinputGetStateOlder.get();
    return read ? read(slot, state) : ERROR_DEVICE_NOT_CONNECTED;
}

HTHEME WINAPI systemOpenThemeData(HWND window, LPCWSTR classList) {
    auto open = systemFunctions::openThemeData.get();
    return open ? open(window, classList) : nullptr;
}

HRESULT WINAPI systemDrawThemeBackground(HTHEME theme, HDC dc, int part, int state,
                                         const RECT* rect, const RECT* clip) {
    auto draw = systemFunctions::drawThemeBackground.get();
    return draw ? draw(theme, dc, part, state, rect, clip) : E_NOTIMPL;
}

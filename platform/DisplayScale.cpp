#include "platform/DisplayScale.h"

#include "platform/GdiObjects.h"
#include "platform/SystemFunctions.h"

// Halves away from zero: a 25-pixel icon is 38 pixels at 150 %, an offset of -4 is -5 at
// 125 %, and whole sizes stay whole.
static_assert(scalePixels(25, 144) == 38 && scalePixels(-4, 120) == -5 &&
              scalePixels(608, 120) == 760 && scalePixels(396, 192) == 792);

UINT monitorDpi(HMONITOR monitor) {
    UINT dpiX = 0, dpiY = 0;
    auto getDpiForMonitor = systemFunctions::getDpiForMonitor.get();
    if (monitor && getDpiForMonitor &&
        SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiY != 0)
        return dpiY;
    WindowDC screen;
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT windowDpi(HWND window) {
    auto getDpiForWindow = systemFunctions::getDpiForWindow.get();
    UINT dpi = window && getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : monitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

bool adjustWindowRectForDpi(RECT& client, DWORD style, UINT dpi) {
    if (auto adjust = systemFunctions::adjustWindowRectExForDpi.get())
        return adjust(&client, style, FALSE, 0, dpi) != 0;
    return AdjustWindowRect(&client, style, FALSE) != 0;
}

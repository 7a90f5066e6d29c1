#pragma once
// The display scale of a window: its DPI, from the monitor it is on, and the one rule by
// which every size laid out for a 96-DPI screen becomes pixels at another DPI.
#include <windows.h>

constexpr UINT kDefaultDpi = 96;

// `pixels` at 96 DPI in pixels at `dpi`, rounded to the nearest, halves away from zero
// (as MulDiv does). Sizes that must meet keep meeting when their edges go through here.
constexpr int scalePixels(int pixels, UINT dpi) {
    long long scaled = static_cast<long long>(pixels) * static_cast<long long>(dpi);
    long long half = kDefaultDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDefaultDpi
                                        : -((-scaled + half) / kDefaultDpi));
}

// The DPI of the monitor: its own where the system has a DPI per monitor (Windows 8.1 on),
// else the screen's, the one DPI of the whole desktop.
UINT monitorDpi(HMONITOR monitor);
// The DPI the system gives the window (Windows 10 on), else that of its monitor.
UINT windowDpi(HWND window);
// The outer rectangle of a window whose client area is `client`, with the frame the
// system draws at `dpi`. False when the system cannot say.
bool adjustWindowRectForDpi(RECT& client, DWORD style, UINT dpi);

#pragma once
// What the screen shows, for looking at the launcher as the player sees it.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra; // rows top-down, alpha 255
    int count(COLORREF colour) const;
    bool operator==(const ScreenPixels&) const = default;
};

// Copies the screen rectangle; empty when any step fails.
ScreenPixels captureScreen(const RECT& area);

// A window of this process shown in front, every message handled and everything painted,
// as the screen shows its outer rectangle. The mouse is moved out of its way first.
ScreenPixels windowPixels(HWND window);

// Copies the screen rectangle into a PNG file. False when any step fails.
bool saveScreenPng(const RECT& area, const std::wstring& path);

} // namespace testing_support

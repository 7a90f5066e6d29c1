#pragma once
// How a mode is shown to the player, when two modes are the same resolution, and which
// mode is recommended for a monitor given an adapter's video memory.
#include "display/DisplayInfo.h"

#include <cstdint>

// "1920 x 1080", or "Default" for the placeholder mode (width or height 0). The text
// lives in the narrow scratch pool (formatText) or is a constant.
const char* resolutionLabel(const ModeInfo& mode);

// Same width and height; refresh rate and the rest of the mode are ignored.
bool sameResolution(const ModeInfo& a, const ModeInfo& b);

// 1920 with more than 2048 MiB of dedicated video memory, otherwise 1280.
std::uint16_t recommendedWidthLimit(SIZE_T dedicatedVideoMemory);
// The width limit over the desktop's aspect ratio, rounded up; 0 for an empty desktop.
std::uint16_t recommendedHeightLimit(std::uint16_t widthLimit, const RECT& desktop);

// Index into monitor.modes of the first recommendable mode within both limits, or of
// the last mode when none is.
std::uint8_t recommendResolution(const AdapterInfo& adapter, const MonitorInfo& monitor);

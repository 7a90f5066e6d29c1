#pragma once
// Which of the modes an output reports the player may choose, and in which order.
// Pure functions over plain data, so they need no DXGI.
#include "display/DisplayInfo.h"

#include <cstdint>
#include <span>
#include <vector>

struct ModeSize {
    std::uint16_t width;
    std::uint16_t height;
};

// The last reported mode that is at least as wide and as high as every earlier
// candidate, in the system's order (not the maximum of each dimension); 0 x 0 for none.
ModeSize largestDominatingMode(std::span<const DXGI_MODE_DESC> reported);

// Filters (modes below 1280 x 720 go unless the monitor cannot show that size), keeps
// the first report of each size, orders widest then highest first, and appends a
// recommendable placeholder of the largest size when nothing is recommendable. Never
// empty: no reported modes give the single mode 0 x 0.
std::vector<ModeInfo> buildModeList(std::span<const DXGI_MODE_DESC> reported);

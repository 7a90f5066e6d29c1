#include "display/Resolution.h"

#include "platform/Text.h"

#include <cmath>

const char* resolutionLabel(const ModeInfo& mode) {
    if (mode.width == 0 || mode.height == 0)
        return "Default";
    return formatText("%u x %u", static_cast<unsigned>(mode.width),
                      static_cast<unsigned>(mode.height));
}

bool sameResolution(const ModeInfo& a, const ModeInfo& b) {
    return a.width == b.width && a.height == b.height;
}

std::uint16_t recommendedWidthLimit(SIZE_T dedicatedVideoMemory) {
    const SIZE_T mebibytes = dedicatedVideoMemory >> 20;
    return mebibytes > 2048 ? 1920 : 1280;
}

std::uint16_t recommendedHeightLimit(std::uint16_t widthLimit, const RECT& desktop) {
    const LONG width = desktop.right - desktop.left;
    const LONG height = desktop.bottom - desktop.top;
    if (width == 0 || height == 0)
        return 0;
    // The rule is defined in single precision, and near whole numbers it shows
    // (1152 x 1050 at 1920 gives 1751, not 1750). The x87 unit may keep excess
    // precision in registers; going through memory rounds each step.
    volatile float aspect = static_cast<float>(width) / static_cast<float>(height);
    volatile float quotient = static_cast<float>(widthLimit) / aspect;
    return static_cast<std::uint16_t>(static_cast<int>(std::ceil(static_cast<double>(quotient))));
}

std::uint8_t recommendResolution(const AdapterInfo& adapter, const MonitorInfo& monitor) {
    const std::uint16_t widthLimit = recommendedWidthLimit(adapter.desc.DedicatedVideoMemory);
    const std::uint16_t heightLimit =
        recommendedHeightLimit(widthLimit, monitor.desc.DesktopCoordinates);
    const auto& modes = monitor.modes;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].recommendable && modes[i].width <= widthLimit &&
            modes[i].height <= heightLimit)
            return static_cast<std::uint8_t>(i);
    }
    return static_cast<std::uint8_t>(modes.size() - 1);
}

#include "display/ModeFilter.h"

#include <algorithm>

namespace {

constexpr UINT kMinimumWidth = 1280;
constexpr UINT kMinimumHeight = 720;
constexpr UINT kRecommendableWidth = 2560;
constexpr UINT kRecommendableHeight = 1600;

} // namespace

ModeSize largestDominatingMode(std::span<const DXGI_MODE_DESC> reported) {
    ModeSize largest{0, 0};
    for (const DXGI_MODE_DESC& mode : reported) {
        if (mode.Width >= largest.width && mode.Height >= largest.height)
            largest = {static_cast<std::uint16_t>(mode.Width),
                       static_cast<std::uint16_t>(mode.Height)};
    }
    return largest;
}

std::vector<ModeInfo> buildModeList(std::span<const DXGI_MODE_DESC> reported) {
    std::vector<ModeInfo> modes;
    modes.reserve(16);
    const ModeSize largest = largestDominatingMode(reported);
    // A monitor that cannot show 1280 x 720 keeps everything it offers.
    const bool keepSmall = largest.width < kMinimumWidth || largest.height < kMinimumHeight;

    for (const DXGI_MODE_DESC& mode : reported) {
        if (!keepSmall && (mode.Width < kMinimumWidth || mode.Height < kMinimumHeight))
            continue;
        ModeInfo info{};
        info.desc = mode;
        info.width = static_cast<std::uint16_t>(mode.Width);
        info.height = static_cast<std::uint16_t>(mode.Height);
        info.recommendable =
            mode.Width <= kRecommendableWidth && mode.Height <= kRecommendableHeight ? 1 : 0;
        // The first reported refresh rate and format of a size win.
        bool seen = std::any_of(modes.begin(), modes.end(), [&](const ModeInfo& kept) {
            return kept.width == info.width && kept.height == info.height;
        });
        if (!seen)
            modes.push_back(info);
    }

    std::stable_sort(modes.begin(), modes.end(), [](const ModeInfo& a, const ModeInfo& b) {
        return a.width != b.width ? a.width > b.width : a.height > b.height;
    });

    bool anyRecommendable = std::any_of(modes.begin(), modes.end(),
                                        [](const ModeInfo& mode) { return mode.recommendable; });
    if (!anyRecommendable) {
        ModeInfo placeholder{};
        placeholder.width = largest.width;
        placeholder.height = largest.height;
        placeholder.recommendable = 1;
        modes.push_back(placeholder);
    }
    return modes;
}

#include "display/ModeFilter.h"
#include "display/Resolution.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigModel.h"
#include "tests/display/FakeDxgi.h"

#include <gtest/gtest.h>

using namespace fake_dxgi;

namespace {

constexpr SIZE_T kMiB = 1u << 20;

AdapterInfo adapterWith(SIZE_T videoMemory) {
    AdapterInfo adapter{};
    adapter.desc.DedicatedVideoMemory = videoMemory;
    return adapter;
}

MonitorInfo monitorWith(RECT desktop, std::vector<DXGI_MODE_DESC> reported) {
    MonitorInfo monitor{};
    monitor.desc.DesktopCoordinates = desktop;
    monitor.desc.AttachedToDesktop = TRUE;
    monitor.modes = buildModeList(reported);
    return monitor;
}

int indexOf(const MonitorInfo& monitor, int width, int height) {
    for (std::size_t i = 0; i < monitor.modes.size(); ++i)
        if (monitor.modes[i].width == width && monitor.modes[i].height == height)
            return static_cast<int>(i);
    return -1;
}

} // namespace

TEST(Resolution, LimitsFollowVideoMemoryAndAspectRatio) {
    EXPECT_EQ(recommendedWidthLimit(2048 * kMiB), 1280);
    EXPECT_EQ(recommendedWidthLimit(2048 * kMiB + kMiB - 1), 1280) << "whole MiB count";
    EXPECT_EQ(recommendedWidthLimit(2049 * kMiB), 1920);
    EXPECT_EQ(recommendedWidthLimit(3072 * kMiB), 1920);
    EXPECT_EQ(recommendedWidthLimit(0), 1280);

    struct Row {
        LONG width, height;
        int at1280, at1920;
    };
    const Row table[] = {{1920, 1080, 720, 1080},  {2560, 1440, 720, 1080}, {3840, 2160, 720, 1080},
                         {1600, 900, 720, 1080},   {1366, 768, 720, 1080},  {1360, 768, 723, 1085},
                         {1920, 1200, 800, 1200},  {2560, 1600, 800, 1200}, {1680, 1050, 800, 1200},
                         {1280, 1024, 1024, 1536}, {1024, 768, 960, 1440},  {2560, 1080, 540, 810},
                         {3440, 1440, 536, 804},   {1080, 1920, 2276, 3414}};
    for (const Row& row : table) {
        // Offset desktops: only the size counts.
        const RECT desktop{-row.width, 200, 0, 200 + row.height};
        EXPECT_EQ(recommendedHeightLimit(1280, desktop), row.at1280)
            << row.width << " x " << row.height;
        EXPECT_EQ(recommendedHeightLimit(1920, desktop), row.at1920)
            << row.width << " x " << row.height;
    }
    EXPECT_EQ(recommendedHeightLimit(1920, RECT{0, 0, 0, 0}), 0);
    EXPECT_EQ(recommendedHeightLimit(1920, RECT{0, 0, 1920, 0}), 0);
}

TEST(Resolution, RecommendsTheFirstRecommendableModeWithinTheLimits) {
    const MonitorInfo fullHd =
        monitorWith({0, 0, 1920, 1080}, {mode(1920, 1080), mode(1680, 1050), mode(1600, 900),
                                         mode(1440, 900), mode(1366, 768), mode(1280, 1024),
                                         mode(1280, 960), mode(1280, 800), mode(1280, 720)});
    EXPECT_EQ(recommendResolution(adapterWith(3072 * kMiB), fullHd), 0);
    EXPECT_EQ(recommendResolution(adapterWith(2048 * kMiB), fullHd), indexOf(fullHd, 1280, 720));

    const MonitorInfo qhd = monitorWith({0, 0, 2560, 1440}, {mode(2560, 1440), mode(2048, 1152),
                                                             mode(1920, 1080), mode(1600, 900)});
    EXPECT_EQ(recommendResolution(adapterWith(4095 * kMiB), qhd), indexOf(qhd, 1920, 1080));

    // Nothing fits: the last mode, although it is too wide.
    const MonitorInfo tooWide =
        monitorWith({0, 0, 2560, 1440}, {mode(1920, 1080), mode(2560, 1440)});
    EXPECT_EQ(recommendResolution(adapterWith(1024 * kMiB), tooWide), 1);

    // 16:10 with the 1280 limit: 1280 x 800 comes before 1280 x 720 and fits.
    const MonitorInfo wuxga = monitorWith(
        {0, 0, 1920, 1200}, {mode(1920, 1200), mode(1680, 1050), mode(1280, 800), mode(1280, 720)});
    EXPECT_EQ(recommendResolution(adapterWith(2048 * kMiB), wuxga), 2);

    // Portrait: a mode beyond 2560 x 1600 would fit the limits but is never proposed.
    const MonitorInfo portrait =
        monitorWith({0, 0, 1080, 1920}, {mode(1080, 2600), mode(1080, 1600), mode(1080, 720)});
    ASSERT_EQ(portrait.modes[0].recommendable, 0);
    EXPECT_EQ(recommendResolution(adapterWith(3072 * kMiB), portrait), 1);
    // ...unless it is the last mode.
    const MonitorInfo huge = monitorWith({0, 0, 5120, 2880}, {mode(5120, 2880), mode(3840, 2160)});
    EXPECT_EQ(recommendResolution(adapterWith(3072 * kMiB), huge), huge.modes.size() - 1);
}

TEST(Resolution, LabelsAndEquality) {
    ModeInfo fullHd{};
    fullHd.width = 1920;
    fullHd.height = 1080;
    EXPECT_STREQ(resolutionLabel(fullHd), "1920 x 1080");
    ModeInfo flat = fullHd;
    flat.height = 0;
    EXPECT_STREQ(resolutionLabel(flat), "Default");
    ModeInfo narrow = fullHd;
    narrow.width = 0;
    EXPECT_STREQ(resolutionLabel(narrow), "Default");

    ModeInfo otherRate = fullHd;
    otherRate.desc.RefreshRate = {144, 1};
    otherRate.recommendable = 1;
    EXPECT_TRUE(sameResolution(fullHd, otherRate));
    EXPECT_FALSE(sameResolution(fullHd, flat));
}

TEST(Resolution, PlaceholderMonitorRecommendsItsDefaultMode) {
    ConfigFile settings("unused-vantorra.ini");
    FactoryScript noDxgi;
    noDxgi.createResult = E_FAIL;
    ConfigModel model(settings, sourceFor(noDxgi));
    const MonitorInfo& monitor = model.monitorAt(0);
    EXPECT_EQ(model.recommendResolution(model.adapterAt(0), monitor), 0);
    EXPECT_STREQ(resolutionLabel(monitor.modes[0]), "Default");
}

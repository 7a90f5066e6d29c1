#include "display/ModeFilter.h"
#include "tests/display/FakeDxgi.h"

#include <gtest/gtest.h>

using namespace fake_dxgi;
using Sizes = std::vector<std::pair<int, int>>;

namespace {

// The modes listed for one attached output reporting `reported`.
std::vector<ModeInfo> listedFor(std::vector<DXGI_MODE_DESC> reported, HRESULT listResult = S_OK) {
    OutputScript output;
    output.desktop = {0, 0, 1920, 1080};
    output.modes = std::move(reported);
    output.modeListResult = listResult;
    FactoryScript script;
    script.adapters.push_back({});
    script.adapters[0].outputs.push_back(output);
    std::vector<AdapterInfo> adapters;
    enumerateDisplays(adapters, sourceFor(script));
    EXPECT_EQ(liveObjects(), 0) << "every factory, adapter and output must be released";
    return adapters.at(0).monitors.at(0).modes;
}

int recommendableCount(const std::vector<ModeInfo>& modes) {
    int count = 0;
    for (const ModeInfo& info : modes)
        count += info.recommendable;
    return count;
}

} // namespace

TEST(ModeList, SizesAreFilteredDeduplicatedAndOrderedWidestFirst) {
    auto modes = listedFor({mode(1280, 720, 60), mode(1920, 1080, 60), mode(800, 600),
                            mode(1600, 900, 60), mode(1280, 1024), mode(1024, 768),
                            mode(1920, 1080, 144), mode(1280, 720, 75), mode(1600, 900, 75)});
    EXPECT_EQ(sizes(modes), (Sizes{{1920, 1080}, {1600, 900}, {1280, 1024}, {1280, 720}}));
    EXPECT_EQ(recommendableCount(modes), 4);
    EXPECT_EQ(modes[0].desc.RefreshRate.Numerator, 60u) << "the first reported rate wins";
    EXPECT_EQ(modes[3].desc.RefreshRate.Numerator, 60u);
}

TEST(ModeList, MonitorThatCannotShow1280x720KeepsEverything) {
    EXPECT_EQ(sizes(listedFor({mode(800, 600), mode(1024, 768), mode(640, 480)})),
              (Sizes{{1024, 768}, {800, 600}, {640, 480}}));
    // Wide enough but not high enough is just as small.
    EXPECT_EQ(sizes(listedFor({mode(1024, 768), mode(1366, 700)})),
              (Sizes{{1366, 700}, {1024, 768}}));
}

TEST(ModeList, LargestModeDependsOnReportOrder) {
    const DXGI_MODE_DESC tall = mode(1280, 1024), wide = mode(1600, 900);
    const DXGI_MODE_DESC tallFirst[] = {tall, wide};
    const DXGI_MODE_DESC wideFirst[] = {wide, tall};
    ModeSize largest = largestDominatingMode(tallFirst);
    EXPECT_EQ(largest.width, 1280);
    EXPECT_EQ(largest.height, 1024);
    largest = largestDominatingMode(wideFirst);
    EXPECT_EQ(largest.width, 1600);
    EXPECT_EQ(largest.height, 900);
    // Both are at least 1280 x 720, so both are listed either way.
    EXPECT_EQ(sizes(buildModeList(tallFirst)), (Sizes{{1600, 900}, {1280, 1024}}));
    EXPECT_EQ(sizes(buildModeList(wideFirst)), (Sizes{{1600, 900}, {1280, 1024}}));

    // Not the maximum of each dimension: 2560 x 1080 is no reported mode.
    const DXGI_MODE_DESC mixed[] = {mode(1920, 1080), mode(2560, 1000), mode(800, 600)};
    largest = largestDominatingMode(mixed);
    EXPECT_EQ(largest.width, 1920);
    EXPECT_EQ(largest.height, 1080);
}

TEST(ModeList, ModesBeyond2560x1600GetARecommendableLargestEntry) {
    auto modes = listedFor({mode(3840, 2160), mode(5120, 2880), mode(3840, 2160, 30)});
    EXPECT_EQ(sizes(modes), (Sizes{{5120, 2880}, {3840, 2160}, {5120, 2880}}));
    EXPECT_EQ(modes[0].recommendable, 0);
    EXPECT_EQ(modes[1].recommendable, 0);
    EXPECT_EQ(modes[2].recommendable, 1);
    EXPECT_EQ(modes[2].desc.Width, 0u) << "the extra entry is not a reported mode";

    // 2560 x 1600 itself is recommendable, so no extra entry; one more pixel is not.
    modes = listedFor({mode(2560, 1600), mode(3840, 2400)});
    EXPECT_EQ(sizes(modes), (Sizes{{3840, 2400}, {2560, 1600}}));
    EXPECT_EQ(modes[1].recommendable, 1);
    modes = listedFor({mode(2561, 1440)});
    EXPECT_EQ(sizes(modes), (Sizes{{2561, 1440}, {2561, 1440}}));
}

TEST(ModeList, OutputWithoutModesGetsTheZeroPlaceholder) {
    for (HRESULT result : {S_OK, DXGI_ERROR_NOT_CURRENTLY_AVAILABLE}) {
        auto modes = listedFor({}, result);
        ASSERT_EQ(sizes(modes), (Sizes{{0, 0}}));
        EXPECT_EQ(modes[0].recommendable, 1);
    }
    // A failing mode list hides the modes it would have had.
    EXPECT_EQ(sizes(listedFor({mode(1920, 1080)}, E_FAIL)), (Sizes{{0, 0}}));
}

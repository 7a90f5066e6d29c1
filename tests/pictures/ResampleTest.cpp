// Resizing pictures for other DPIs: what must hold of the result whatever the sizes.
#include "pictures/Resample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

using VellGui::resamplePixels;

namespace {

uint32_t bgra(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
    return b | (g << 8) | (r << 16) | (a << 24);
}

// Source width and height, then the result's.
class Resample : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

} // namespace

TEST_P(Resample, FlatStaysFlatAndColourNeverExceedsAlpha) {
    auto [sourceWidth, sourceHeight, width, height] = GetParam();
    for (uint32_t colour : {bgra(200, 120, 40, 255), bgra(50, 25, 10, 128)}) {
        std::vector<uint32_t> flat(size_t(sourceWidth) * sourceHeight, colour);
        std::vector<uint32_t> result =
            resamplePixels(flat.data(), sourceWidth, sourceHeight, width, height);
        ASSERT_EQ(result.size(), size_t(width) * height);
        for (uint32_t pixel : result)
            ASSERT_EQ(pixel, colour);
    }
    // Opaque white squares on a transparent ground: the filter overshoots at every edge.
    std::vector<uint32_t> checker(size_t(sourceWidth) * sourceHeight);
    for (int y = 0; y < sourceHeight; ++y)
        for (int x = 0; x < sourceWidth; ++x)
            checker[size_t(y) * sourceWidth + x] = ((x / 3 + y / 3) % 2) ? 0xFFFFFFFFu : 0u;
    for (uint32_t pixel :
         resamplePixels(checker.data(), sourceWidth, sourceHeight, width, height)) {
        uint32_t alpha = pixel >> 24;
        for (int channel = 0; channel < 3; ++channel)
            ASSERT_LE((pixel >> (8 * channel)) & 0xFF, alpha);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Resample,
                         ::testing::Values(std::make_tuple(25, 25, 31, 31),   // 125 %
                                           std::make_tuple(50, 50, 38, 38),   // 2x at 150 %
                                           std::make_tuple(50, 50, 63, 63),   // 2x at 250 %
                                           std::make_tuple(457, 65, 686, 98), // logo at 150 %
                                           std::make_tuple(9, 9, 9, 9)));

TEST(ResampleSizes, SameSizeCopiesAndHalvingAverages) {
    std::vector<uint32_t> any = {bgra(1, 2, 3, 4),         bgra(90, 80, 70, 200), bgra(0, 0, 0, 0),
                                 bgra(255, 255, 255, 255), bgra(10, 20, 30, 40),  bgra(5, 6, 7, 8)};
    EXPECT_EQ(resamplePixels(any.data(), 3, 2, 3, 2), any);
    // Columns of 0 and 200 alternating: at half the size every pixel is between, and away
    // from the edges (where fewer columns have a say) the average.
    std::vector<uint32_t> stripes(16 * 16);
    for (size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = (i % 2) ? bgra(200, 200, 200, 255) : bgra(0, 0, 0, 255);
    std::vector<uint32_t> half = resamplePixels(stripes.data(), 16, 16, 8, 8);
    ASSERT_EQ(half.size(), 64u);
    for (size_t i = 0; i < half.size(); ++i) {
        double blue = half[i] & 0xFF;
        EXPECT_TRUE(blue > 0 && blue < 200) << i;
        if (i % 8 > 1 && i % 8 < 6) {
            EXPECT_NEAR(blue, 100.0, 1.0) << i;
        }
    }
    EXPECT_TRUE(resamplePixels(stripes.data(), 16, 16, 0, 8).empty());
}

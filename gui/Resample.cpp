#include "gui/Resample.h"

#include <algorithm>
#include <cmath>

namespace VellGui {

namespace {

constexpr double kSupport = 2.0;

// Catmull-Rom: sharp without the rings of wider filters.
double cubic(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x < 1.0)
        return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    if (x < 2.0)
        return (((x - 5.0) * x + 8.0) * x - 4.0) * a;
    return 0.0;
}

// For each output position along one axis, the first input position it reads and the
// weights of the inputs from there on, summing to one.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<double> weights; // `width` weights per output position
    int width = 0;
};

Taps taps(int inputSize, int outputSize) {
    double scale = static_cast<double>(inputSize) / outputSize;
    double stretch = std::max(scale, 1.0);
    double support = kSupport * stretch;
    Taps result;
    result.width = static_cast<int>(std::ceil(support)) * 2 + 1;
    result.first.resize(outputSize);
    result.count.resize(outputSize);
    result.weights.assign(static_cast<size_t>(outputSize) * result.width, 0.0);
    for (int out = 0; out < outputSize; ++out) {
        double centre = (out + 0.5) * scale;
        int from = std::max(static_cast<int>(centre - support + 0.5), 0);
        int to = std::min(static_cast<int>(centre + support + 0.5), inputSize);
        int count = std::min(to - from, result.width);
        double* weight = &result.weights[static_cast<size_t>(out) * result.width];
        double total = 0.0;
        for (int i = 0; i < count; ++i) {
            weight[i] = cubic((from + i - centre + 0.5) / stretch);
            total += weight[i];
        }
        for (int i = 0; i < count && total != 0.0; ++i)
            weight[i] /= total;
        result.first[out] = from;
        result.count[out] = count;
    }
    return result;
}

uint8_t toByte(double value, double ceiling) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, ceiling)));
}

} // namespace

std::vector<uint32_t> resamplePixels(const uint32_t* source, int sourceWidth, int sourceHeight,
                                     int width, int height) {
    if (!source || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return {};
    // Across first, into rows of the output's width and the input's height, four channels
    // each; then down.
    Taps across = taps(sourceWidth, width);
    std::vector<double> rows(static_cast<size_t>(width) * sourceHeight * 4);
    for (int y = 0; y < sourceHeight; ++y) {
        const uint32_t* in = source + static_cast<size_t>(y) * sourceWidth;
        double* out = &rows[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            const double* weight = &across.weights[static_cast<size_t>(x) * across.width];
            double sum[4] = {};
            for (int i = 0; i < across.count[x]; ++i) {
                uint32_t pixel = in[across.first[x] + i];
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += weight[i] * ((pixel >> (8 * channel)) & 0xFF);
            }
            std::copy(sum, sum + 4, out + static_cast<size_t>(x) * 4);
        }
    }

    Taps down = taps(sourceHeight, height);
    std::vector<uint32_t> result(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const double* weight = &down.weights[static_cast<size_t>(y) * down.width];
        for (int x = 0; x < width; ++x) {
            double sum[4] = {};
            for (int i = 0; i < down.count[y]; ++i) {
                const double* in = &rows[(static_cast<size_t>(down.first[y] + i) * width + x) * 4];
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += weight[i] * in[channel];
            }
            // The filter overshoots at hard edges; premultiplied colour must stay within
            // its alpha, or AlphaBlend would brighten it.
            uint8_t alpha = toByte(sum[3], 255.0);
            uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
            for (int channel = 0; channel < 3; ++channel)
                pixel |= static_cast<uint32_t>(toByte(sum[channel], alpha)) << (8 * channel);
            result[static_cast<size_t>(y) * width + x] = pixel;
        }
    }
    return result;
}

} // namespace VellGui

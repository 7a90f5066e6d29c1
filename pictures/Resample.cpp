#include "pictures/Resample.h"

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

// Weights in fixed point: a byte times the weights of one output sums within 32 bits.
constexpr int kPrecision = 14;
constexpr int32_t kOne = 1 << kPrecision;

// For each output position along one axis, the first input position it reads and the
// weights of the inputs from there on, summing to one.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int32_t> weights; // `width` weights per output position
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
    result.weights.assign(static_cast<size_t>(outputSize) * result.width, 0);
    std::vector<double> exact(result.width);
    for (int out = 0; out < outputSize; ++out) {
        double centre = (out + 0.5) * scale;
        int from = std::max(static_cast<int>(centre - support + 0.5), 0);
        int to = std::min(static_cast<int>(centre + support + 0.5), inputSize);
        int count = std::min(to - from, result.width);
        double total = 0.0;
        for (int i = 0; i < count; ++i) {
            exact[i] = cubic((from + i - centre + 0.5) / stretch);
            total += exact[i];
        }
        // Rounded so that they still sum to one exactly: a flat area stays flat.
        int32_t* weight = &result.weights[static_cast<size_t>(out) * result.width];
        int32_t sum = 0;
        int largest = 0;
        for (int i = 0; i < count; ++i) {
            weight[i] = static_cast<int32_t>(std::lround(exact[i] / total * kOne));
            sum += weight[i];
            if (weight[i] > weight[largest])
                largest = i;
        }
        weight[largest] += kOne - sum;
        result.first[out] = from;
        result.count[out] = count;
    }
    return result;
}

uint32_t clampToByte(int32_t value, int32_t ceiling) {
    return static_cast<uint32_t>(std::clamp(value, 0, ceiling));
}

// One pass along one axis: `lines` lines of `inputSize` pixels, `inputStep` apart within
// a line, become lines of `taps.first.size()` pixels, `outputStep` apart. Lines begin
// `inputLine` and `outputLine` apart.
void filter(const uint32_t* input, int lines, int inputLine, int inputStep, const Taps& taps,
            uint32_t* output, int outputLine, int outputStep, bool last) {
    const int outputSize = static_cast<int>(taps.first.size());
    for (int line = 0; line < lines; ++line) {
        const uint32_t* in = input + static_cast<size_t>(line) * inputLine;
        uint32_t* out = output + static_cast<size_t>(line) * outputLine;
        for (int o = 0; o < outputSize; ++o) {
            const int32_t* weight = &taps.weights[static_cast<size_t>(o) * taps.width];
            const uint32_t* from = in + static_cast<size_t>(taps.first[o]) * inputStep;
            int32_t b = kOne / 2, g = kOne / 2, r = kOne / 2, a = kOne / 2;
            for (int i = 0; i < taps.count[o]; ++i) {
                uint32_t pixel = from[static_cast<size_t>(i) * inputStep];
                b += weight[i] * static_cast<int32_t>(pixel & 0xFF);
                g += weight[i] * static_cast<int32_t>((pixel >> 8) & 0xFF);
                r += weight[i] * static_cast<int32_t>((pixel >> 16) & 0xFF);
                a += weight[i] * static_cast<int32_t>(pixel >> 24);
            }
            // The filter overshoots at hard edges; in the end, premultiplied colour must
            // stay within its alpha, or AlphaBlend would brighten it.
            uint32_t alpha = clampToByte(a >> kPrecision, 255);
            int32_t ceiling = last ? static_cast<int32_t>(alpha) : 255;
            out[static_cast<size_t>(o) * outputStep] =
                clampToByte(b >> kPrecision, ceiling) |
                (clampToByte(g >> kPrecision, ceiling) << 8) |
                (clampToByte(r >> kPrecision, ceiling) << 16) | (alpha << 24);
        }
    }
}

} // namespace

std::vector<uint32_t> resamplePixels(const uint32_t* source, int sourceWidth, int sourceHeight,
                                     int width, int height) {
    if (!source || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return {};
    // Across first, into lines of the output's width and the input's height; then down.
    std::vector<uint32_t> across(static_cast<size_t>(width) * sourceHeight);
    filter(source, sourceHeight, sourceWidth, 1, taps(sourceWidth, width), across.data(), width, 1,
           false);
    std::vector<uint32_t> result(static_cast<size_t>(width) * height);
    filter(across.data(), width, 1, width, taps(sourceHeight, height), result.data(), 1, width,
           true);
    return result;
}

} // namespace VellGui

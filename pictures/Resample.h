#pragma once
// Resizing a picture for a screen of another DPI, once, with a high-quality filter: the
// paint then copies it pixel for pixel. Plain C++ on pixel arrays, no system calls.
#include <cstdint>
#include <vector>

namespace VellGui {

// `source`: premultiplied BGRA pixels (blue in the low byte), rows top-down without gaps.
// The result has width × height pixels of the same kind. A bicubic (Catmull-Rom) filter,
// widened by the factor when shrinking so that every source pixel has its say; colour
// never exceeds alpha in the result. Empty when either size is not positive.
std::vector<uint32_t> resamplePixels(const uint32_t* source, int sourceWidth, int sourceHeight,
                                     int width, int height);

} // namespace VellGui

#pragma once
// FNV-1a, 64-bit: a quick hash for names and checksums, not for security. Units of any
// width (bytes, UTF-16 units, 32-bit words) go in one at a time.
#include <cstdint>

struct Fnv1a {
    std::uint64_t value = 14695981039346656037ull;

    void add(std::uint64_t unit) { value = (value ^ unit) * 1099511628211ull; }
};

#pragma once
// Varied vantorra.ini contents made from a fixed seed, and the checks a save of one must
// pass. Shared by the save sweep and the interference tests.
#include "settings/ConfigFormat.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace release_tests {

class Random {
public:
    explicit Random(uint32_t seed) : engine_(seed) {}
    // The engine's raw output is the same everywhere; the standard distributions are not.
    uint32_t below(uint32_t n) { return n == 0 ? 0 : engine_() % n; }
    bool chance(uint32_t percent) { return below(100) < percent; }

private:
    std::mt19937 engine_;
};

// File `index` of the corpus. Small ones mostly, every tenth 20 KB or more, a few far
// larger; line breaks CR LF, LF, CR or mixed; comments, blank and long lines, duplicate
// and differently cased managed keys, keys that merely begin like managed ones, a NUL.
std::string corpusFile(uint32_t seed, int index);

// Lines with their breaks; CR, LF and CR LF each end a line.
std::vector<std::string_view> splitLines(std::string_view text);

// What is wrong with `saved` as the result of one skip-mode save of `old`, or empty:
// it must be exactly the rewrite of `old` with the values read from it, every line the
// launcher does not own must be there in order and byte for byte, and each managed key
// that was read must have exactly one line, in the written form.
std::string checkOneSave(std::string_view old, std::string_view saved);

// A short printable excerpt of `text` around `at`, for failure messages.
std::string excerpt(std::string_view text, size_t at);

} // namespace release_tests

#pragma once
// UTF-8 inside, UTF-16 only at the Win32 call. Results live in rotating pools of
// eight static buffers (one wide, one narrow, each thread its own), so callers can convert
// several texts inline without owning memory; a result survives the next seven uses of
// its pool on the same thread.
#include <string>
#include <string_view>

constexpr int kScratchBuffers = 8;
constexpr int kScratchSize = 1024; // code units per buffer, terminator included

// Null gives null. Text longer than 1023 code units after conversion is cut at a
// character boundary so that the result always ends inside its buffer.
const wchar_t* toWide(const char* text);
// Empty strings give a static empty text (not a pool buffer).
const wchar_t* toWide(const std::string& text);
const char* toNarrow(const wchar_t* wide);
// Upper-cases through CharUpperW, so letters beyond ASCII are handled too.
const char* toUpper(const char* text);
// printf-style into the narrow pool; output beyond 1023 bytes is cut off.
const char* formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whole conversions into strings of their own, for the player's data (arguments, paths)
// that no pool buffer may cut. Invalid sequences become U+FFFD.
std::wstring toWideString(std::string_view text);
std::string toNarrowString(const wchar_t* wide);

#include "platform/Text.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// One set per thread: the start-up work beside the window's construction uses them too.
thread_local wchar_t widePool[kScratchBuffers][kScratchSize];
thread_local char narrowPool[kScratchBuffers][kScratchSize];
thread_local int wideIndex = kScratchBuffers - 1;
thread_local int narrowIndex = kScratchBuffers - 1;
const wchar_t emptyWide[1] = {L'\0'};

wchar_t* nextWide() {
    wideIndex = (wideIndex + 1) % kScratchBuffers;
    return widePool[wideIndex];
}

char* nextNarrow() {
    narrowIndex = (narrowIndex + 1) % kScratchBuffers;
    return narrowPool[narrowIndex];
}

// Length of the longest prefix of a UTF-8 text of `length` bytes that converts to at
// most `limit` UTF-16 units, ending on a sequence boundary.
int utf8PrefixFitting(const char* text, int length, int limit) {
    int units = 0;
    int i = 0;
    while (i < length) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int bytes = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        int needed = bytes == 4 ? 2 : 1;
        if (units + needed > limit || i + bytes > length)
            break;
        units += needed;
        i += bytes;
    }
    return i;
}

// Length of the longest prefix of a UTF-16 text that converts to at most `limit` bytes.
int utf16PrefixFitting(const wchar_t* wide, int length, int limit) {
    int bytes = 0;
    int i = 0;
    while (i < length) {
        unsigned unit = wide[i];
        bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && wide[i + 1] >= 0xDC00 &&
                    wide[i + 1] <= 0xDFFF;
        int needed = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes + needed > limit)
            break;
        bytes += needed;
        i += pair ? 2 : 1;
    }
    return i;
}

const wchar_t* convertToWide(const char* text, int length) {
    wchar_t* out = nextWide();
    int fitting = utf8PrefixFitting(text, length, kScratchSize - 1);
    int written =
        fitting > 0 ? MultiByteToWideChar(CP_UTF8, 0, text, fitting, out, kScratchSize - 1) : 0;
    out[written > 0 ? written : 0] = L'\0';
    return out;
}

} // namespace

const wchar_t* toWide(const char* text) {
    if (!text)
        return nullptr;
    return convertToWide(text, static_cast<int>(strlen(text)));
}

const wchar_t* toWide(const std::string& text) {
    if (text.empty())
        return emptyWide;
    // Stops at an embedded NUL like the terminated form would.
    return convertToWide(text.c_str(), static_cast<int>(strnlen(text.c_str(), text.size())));
}

const char* toNarrow(const wchar_t* wide) {
    if (!wide)
        return nullptr;
    char* out = nextNarrow();
    int length = static_cast<int>(wcslen(wide));
    int fitting = utf16PrefixFitting(wide, length, kScratchSize - 1);
    int written = fitting > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, fitting, out,
                                                    kScratchSize - 1, nullptr, nullptr)
                              : 0;
    out[written > 0 ? written : 0] = '\0';
    return out;
}

const char* toUpper(const char* text) {
    if (!text)
        return nullptr;
    // The wide result is a pool buffer of our own, so upper-casing it in place is safe.
    wchar_t* wide = const_cast<wchar_t*>(toWide(text));
    CharUpperW(wide);
    return toNarrow(wide);
}

const char* formatText(const char* format, ...) {
    char* out = nextNarrow();
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out, kScratchSize, format, args);
    va_end(args);
    if (n < 0)
        out[0] = '\0';
    return out;
}

std::wstring toWideString(std::string_view text) {
    if (text.empty())
        return {};
    int length = static_cast<int>(text.size());
    int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(units > 0 ? units : 0, L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), units);
    return wide;
}

std::string toNarrowString(const wchar_t* wide) {
    if (!wide || !*wide)
        return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 1 ? bytes : 1, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.pop_back(); // the terminator
    return text;
}

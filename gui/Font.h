#pragma once
// One font of the launcher, made from the executable's own font data, a font file or
// an installed face. Controls keep a pointer to it and draw with `font`.
#include <windows.h>

#include <string>

namespace VellGui {

class Font {
public:
    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // `from`: a "BINARY" resource id (MAKEINTRESOURCEA), a UTF-8 font file path, or null
    // for a face that is already installed. The font data is registered for this process
    // only. A font that cannot be made leaves `font` null, and controls then draw with
    // the context's default font.
    void load(const char* from, const char* faceName, int cellHeight, int fontWeight);

    HFONT font = nullptr;
    LOGFONTW logFont = {};
    std::string source;
    std::string face;
    int height = 0;
    int weight = 0;
    int charset = 0;
};

} // namespace VellGui

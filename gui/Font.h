#pragma once
// One font of the launcher, made from the executable's own font data, a font file or
// an installed face. Controls keep a pointer to it and draw with the handle for their
// window's DPI, so that text is always drawn from the outlines at the size it is shown.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace VellGui {

class Font {
public:
    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // `from`: a "BINARY" resource id (MAKEINTRESOURCEA), a UTF-8 font file path, or null
    // for a face that is already installed. The font data is registered for this process
    // only. `cellHeight` is in pixels at 96 DPI. A font that cannot be made leaves `font`
    // null, and controls then draw with the context's default font.
    void load(const char* from, const char* faceName, int cellHeight, int fontWeight);
    // The font at its cell height scaled to `dpi`: `font` at 96 DPI, otherwise made on
    // first use and kept. Null when it cannot be made.
    HFONT handle(UINT dpi) const;

    // At 96 DPI.
    HFONT font = nullptr;
    LOGFONTW logFont = {};
    std::string source;
    std::string face;
    int height = 0;
    int weight = 0;
    int charset = 0;

private:
    HFONT create(int cellHeight) const;

    mutable std::vector<std::pair<UINT, HFONT>> scaledFonts;
};

} // namespace VellGui

#include "gui/Font.h"

#include "pictures/ResourceData.h"
#include "platform/DisplayScale.h"
#include "platform/Text.h"

namespace VellGui {

Font::~Font() {
    if (font)
        DeleteObject(font);
    for (auto& [dpi, scaled] : scaledFonts)
        DeleteObject(scaled);
}

void Font::load(const char* from, const char* faceName, int cellHeight, int fontWeight) {
    source = IS_INTRESOURCE(from) ? formatText("%p", from) : from;
    face = faceName;
    height = cellHeight;
    weight = fontWeight;
    charset = DEFAULT_CHARSET;

    if (IS_INTRESOURCE(from) && from) {
        ResourceData data = findResourceData(from);
        DWORD count = 0;
        if (data.bytes)
            AddFontMemResourceEx(const_cast<void*>(data.bytes), data.size, nullptr, &count);
    } else if (from) {
        AddFontResourceExW(toWide(from), FR_PRIVATE, nullptr);
    }

    if (font)
        DeleteObject(font);
    for (auto& [dpi, scaled] : scaledFonts)
        DeleteObject(scaled);
    scaledFonts.clear();
    font = create(height);
    logFont = {};
    if (font)
        GetObjectW(font, sizeof(logFont), &logFont);
}

HFONT Font::handle(UINT dpi) const {
    if (dpi == kDefaultDpi || face.empty())
        return font;
    for (const auto& [madeFor, scaled] : scaledFonts) {
        if (madeFor == dpi)
            return scaled;
    }
    HFONT scaled = create(scalePixels(height, dpi));
    if (scaled)
        scaledFonts.emplace_back(dpi, scaled);
    return scaled;
}

HFONT Font::create(int cellHeight) const {
    // A positive height asks for that cell height in pixels.
    return CreateFontW(cellHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_NATURAL_QUALITY,
                       VARIABLE_PITCH | FF_DONTCARE, toWide(face));
}

} // namespace VellGui

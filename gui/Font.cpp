#include "gui/Font.h"

#include "gui/ResourceData.h"
#include "platform/Text.h"

namespace VellGui {

Font::~Font() {
    if (font)
        DeleteObject(font);
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
    // A positive height asks for that cell height in pixels.
    font = CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_NATURAL_QUALITY, VARIABLE_PITCH | FF_DONTCARE,
                       toWide(face));
    logFont = {};
    if (font)
        GetObjectW(font, sizeof(logFont), &logFont);
}

} // namespace VellGui

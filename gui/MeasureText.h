#pragma once
// Size of one line of text in a font on the screen; buttons and labels take their
// natural size from it.
#include "platform/DisplayScale.h"

#include <windows.h>

#include <string>

namespace VellGui {

class Font;

// In the font made for `dpi`. Without a font (or with one that could not be made) the
// screen's default font counts.
SIZE measureText(const Font* font, const std::string& text, UINT dpi = kDefaultDpi);

} // namespace VellGui

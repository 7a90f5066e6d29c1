#include "gui/MeasureText.h"

#include "gui/Font.h"
#include "platform/GdiObjects.h"
#include "platform/Text.h"

namespace VellGui {

SIZE measureText(const Font* font, const std::string& text, UINT dpi) {
    WindowDC screen;
    SelectedObject selected(screen.get(), font ? font->handle(dpi) : nullptr);
    RECT rect = {0, 0, 0, 0};
    DrawTextW(screen.get(), toWide(text), -1, &rect, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    return {rect.right, rect.bottom};
}

} // namespace VellGui

#include "gui/WindowScale.h"

#include "platform/DisplayScale.h"
#include "platform/StartupValues.h"

#include <algorithm>

namespace VellGui {

namespace {

// What a handheld's screen needs for its text to be read at arm's length.
constexpr UINT kHandheldDpi = 144;

bool fitsIn(SIZE outer, const RECT& area) {
    return outer.cx <= area.right - area.left && outer.cy <= area.bottom - area.top;
}

} // namespace

SIZE outerSize(const WindowDesign& design, UINT dpi) {
    RECT outer = {0, 0, scalePixels(design.width, dpi), scalePixels(design.height, dpi)};
    RECT client = outer;
    if (!adjustWindowRectForDpi(outer, design.style, dpi))
        outer = client;
    return {outer.right - outer.left, outer.bottom - outer.top};
}

UINT wantedDpi(UINT monitorDpi) {
    return startup::handheld ? std::max(monitorDpi, kHandheldDpi) : monitorDpi;
}

UINT scaleFor(const WindowDesign& design, UINT monitorDpi, const RECT& workArea) {
    UINT chosen = wantedDpi(monitorDpi);
    while (chosen > kDefaultDpi && !fitsIn(outerSize(design, chosen), workArea))
        --chosen;
    return chosen;
}

} // namespace VellGui

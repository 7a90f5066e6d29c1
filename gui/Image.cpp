#include "gui/Image.h"

#include "platform/GdiObjects.h"
#include "pictures/Picture.h"

namespace VellGui {

void Image::create(IObject* parentObject, Picture* shown, bool takesClicks,
                   const std::string& name) {
    picture = shown;
    clickable = takesClicks;
    style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;
    if (clickable)
        style |= SS_NOTIFY;
    inheritDpi(parentObject);
    fitPicture();
    createWindow(parentObject, 0, "Static", name.c_str());
    attach(parentObject);
}

void Image::fitPicture() {
    SIZE size = picture ? picture->sizeAt(dpi) : SIZE{0, 0};
    setNaturalSize(size.cx, size.cy);
}

void Image::rescale() {
    fitPicture();
    if (hwnd)
        MoveWindow(hwnd, x, y, width, height, TRUE);
}

void Image::setAlphaBlend(bool on) {
    if (on == alphaBlend)
        return;
    alphaBlend = on;
    redraw();
}

// A static with SS_NOTIFY reports clicks and double clicks to its parent as WM_COMMAND:
// https://learn.microsoft.com/windows/win32/controls/stn-clicked
LRESULT Image::handleMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return kNotHandled;
    switch (msg) {
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hwnd && onHover)
            onHover();
        return kNotHandled;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == hwnd && onClick)
            onClick();
        return kNotHandled;
    }
    return kNotHandled;
}

void Image::draw(const DRAWITEMSTRUCT& item) {
    // Made for this DPI beforehand, so that it is copied pixel for pixel at its own size.
    SizedBitmap shown = picture ? picture->bitmapAt(dpi) : SizedBitmap{};
    if (!shown.bitmap)
        return;
    MemoryDC memory(item.hDC);
    if (!memory)
        return;
    SelectedObject selected(memory.get(), shown.bitmap);
    if (alphaBlend) {
        // The picture holds premultiplied colours, as AC_SRC_ALPHA expects.
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(item.hDC, 0, 0, width, height, memory.get(), 0, 0, shown.width, shown.height,
                   blend);
    } else {
        BitBlt(item.hDC, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

} // namespace VellGui

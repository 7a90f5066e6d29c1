#include "gui/Button.h"

#include "gui/Font.h"
#include "platform/GdiObjects.h"
#include "gui/MeasureText.h"
#include "platform/Text.h"

namespace VellGui {

void Button::create(IObject* parentObject, Font* captionFont, const std::string& text,
                    uint8_t buttonKind) {
    font = captionFont;
    caption = text;
    kind = buttonKind;
    inheritDpi(parentObject);
    fitCaption();
    style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (kind != kPushButton)
        style |= BS_OWNERDRAW;
    createWindow(parentObject, 0, "Button", caption.c_str());
    attach(parentObject);
    if (hwnd)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->handle(dpi) : nullptr),
                     FALSE);
}

void Button::fitCaption() {
    SIZE margin = kind == kPushButton ? SIZE{scaled(30), scaled(10)} : SIZE{0, 0};
    SIZE size = measureText(font, caption, dpi);
    setNaturalSize(size.cx + margin.cx, size.cy + margin.cy);
}

void Button::rescale() {
    fitCaption();
    if (!hwnd)
        return;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->handle(dpi) : nullptr),
                 FALSE);
    MoveWindow(hwnd, x, y, width, height, TRUE);
}

void Button::setColors(COLORREF normal, COLORREF highlight) {
    if (normal == normalColor && highlight == highlightColor)
        return;
    normalColor = normal;
    highlightColor = highlight;
    redraw();
}

void Button::click() {
    if (onClick)
        onClick();
}

// https://learn.microsoft.com/windows/win32/controls/buttons
LRESULT Button::handleMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return kNotHandled;
    switch (msg) {
    case WM_SETCURSOR:
        // Seen from this button's window and from every ancestor's, so each hover button
        // notices the cursor leaving it for any other window of the screen.
        if (kind == kHoverTextButton) {
            bool over = reinterpret_cast<HWND>(wParam) == hwnd;
            if (over != hovered) {
                hovered = over;
                redraw();
            }
        }
        return kNotHandled;
    // The dialog handling of the loop asks the focused window for its dialog code with the
    // pressed key in wParam: https://learn.microsoft.com/windows/win32/dlgbox/wm-getdlgcode
    case WM_GETDLGCODE:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (hotKey != 0 && wParam == hotKey)
            click();
        return kNotHandled;
    case WM_COMMAND:
        // Any notification of this button's own window, double clicks included.
        if (reinterpret_cast<HWND>(lParam) == hwnd)
            click();
        // Escape with the focus on a list or another button: the dialog handling of the
        // loop turns it into IDCANCEL for the window instead of letting the key through,
        // and a short press is over before the loop could move the focus to the window.
        else if (lParam == 0 && wParam == IDCANCEL && hotKey == VK_ESCAPE)
            click();
        return kNotHandled;
    case WM_CTLCOLORBTN:
        // No button fills a background: the owner-drawn ones sit on a picture.
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return kNotHandled;
}

void Button::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    SelectedObject selected(dc, font ? font->handle(dpi) : nullptr);
    SetBkMode(dc, TRANSPARENT);
    bool lit = (item.itemState & (ODS_SELECTED | ODS_FOCUS)) || hovered;
    SetTextColor(dc, lit ? highlightColor : normalColor);
    RECT area = item.rcItem;
    DrawTextW(dc, toWide(caption), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

} // namespace VellGui

#include "gui/Label.h"

#include "gui/Font.h"
#include "platform/GdiObjects.h"
#include "gui/MeasureText.h"
#include "platform/Text.h"

namespace VellGui {

namespace {

constexpr UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;

} // namespace

void Label::create(IObject* parentObject, Font* textFont, const std::string& newText) {
    font = textFont;
    text = newText;
    style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;
    inheritDpi(parentObject);
    SIZE size = measureText(font, text, dpi);
    setNaturalSize(size.cx, size.cy);
    // The window text is what screen readers and other programs read; drawing is ours.
    createWindow(parentObject, 0, "Static", text.c_str());
    attach(parentObject);
}

void Label::setText(const std::string& newText) {
    if (newText == text)
        return;
    text = newText;
    if (hwnd)
        SetWindowTextW(hwnd, toWide(text));
    relayout();
}

void Label::setColors(COLORREF textColour, COLORREF backColour) {
    if (textColour == textColor && backColour == backColor)
        return;
    textColor = textColour;
    backColor = backColour;
    relayout();
}

void Label::setTransparent(bool on) {
    if (on == transparent)
        return;
    transparent = on;
    relayout();
}

void Label::relayout() {
    if (!hwnd)
        return;
    SIZE size = measureText(font, text, dpi);
    setNaturalSize(size.cx, size.cy);
    if (transparent) {
        createWindow(parent, 0, "Static", text.c_str());
    } else {
        SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        redraw();
    }
}

// The system sends WM_CANCELMODE to a window that is being disabled; setEnabled passes
// through a disabling on every change, so this is where a label notices it:
// https://learn.microsoft.com/windows/win32/winmsg/wm-cancelmode
LRESULT Label::handleMessage(HWND window, UINT msg, WPARAM, LPARAM) {
    if (!hwnd)
        return kNotHandled;
    if (msg == WM_CANCELMODE && window == hwnd) {
        relayout();
        return TRUE;
    }
    return kNotHandled;
}

void Label::draw(const DRAWITEMSTRUCT& item) {
    COLORREF colour = enabled ? textColor : kDisabledTextColor;
    HFONT textFont = font ? font->handle(dpi) : nullptr;
    RECT area = item.rcItem;
    if (transparent) {
        SelectedObject selected(item.hDC, textFont);
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, colour);
        DrawTextW(item.hDC, toWide(text), -1, &area, kTextFlags);
        return;
    }
    // Background and text reach the screen together, in one copy.
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(item.hDC, width, height));
    MemoryDC memory(item.hDC);
    if (!bitmap || !memory)
        return;
    {
        SelectedObject selectedBitmap(memory.get(), bitmap.get());
        SelectedObject selectedFont(memory.get(), textFont);
        SetBkColor(memory.get(), backColor);
        SetDCBrushColor(memory.get(), backColor);
        SetTextColor(memory.get(), colour);
        FillRect(memory.get(), &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        DrawTextW(memory.get(), toWide(text), -1, &area, kTextFlags);
        BitBlt(item.hDC, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

} // namespace VellGui

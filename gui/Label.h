#pragma once
// One line of text on an owner-drawn "Static" window: drawn straight onto whatever lies
// beneath (transparent), or on its own background through an off-screen bitmap.
#include "gui/Object.h"

#include <string>

namespace VellGui {

class Font;

// Text colour of a disabled label, whatever its own colour.
constexpr COLORREF kDisabledTextColor = RGB(0xAA, 0xAA, 0xAA);

class Label : public IObject {
public:
    Label() = default;
    ~Label() override = default;

    // Sized to the text; without SS_NOTIFY the mouse passes through to the window beneath.
    void create(IObject* parentObject, Font* textFont, const std::string& newText);
    void setText(const std::string& newText);
    void setColors(COLORREF textColour, COLORREF backColour);
    void setTransparent(bool on);
    // Takes the size of the text again (in the font for its DPI), keeping the anchors. A
    // transparent label gets a new window, so that its parent repaints what lay under the
    // old text; an opaque one keeps its top-left corner and only changes size.
    void relayout();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    bool paintsOverBackground() const override { return transparent; }

    Font* font = nullptr;
    std::string text;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(255, 255, 255);
    bool transparent = true;
};

} // namespace VellGui

#pragma once
// A system "Button": either a standard push button with visual styles, sized to its
// caption plus a margin, or an owner-drawn text button that draws nothing but its
// caption and, for kind 2, lights up while the mouse is over it.
#include "gui/Object.h"

#include <cstdint>
#include <functional>
#include <string>

namespace VellGui {

class Font;

// Button kinds. Any kind other than these two is owner-drawn without hover tracking.
constexpr uint8_t kPushButton = 1;
constexpr uint8_t kHoverTextButton = 2;

class Button : public IObject {
public:
    Button() = default;
    ~Button() override = default;

    // Takes its natural size from the caption (plus 30 × 10 for a push button) unless a
    // size was fixed with setSize before.
    void create(IObject* parentObject, Font* captionFont, const std::string& text,
                uint8_t buttonKind);
    void setColors(COLORREF normal, COLORREF highlight);
    // After a change of DPI: measures the caption again in the font for the new DPI and
    // takes that size (unless fixed) and the anchored place.
    void rescale();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    // Its caption lies on what is beneath it.
    bool paintsOverBackground() const override { return true; }

    Font* font = nullptr;
    std::string caption;
    uint8_t kind = 0;
    COLORREF normalColor = RGB(0, 0, 0);
    COLORREF highlightColor = RGB(255, 255, 255);
    // Virtual-key code whose key-down, reaching this button or any ancestor, clicks it.
    uint8_t hotKey = 0;
    bool hovered = false;
    std::function<void()> onClick;

private:
    void fitCaption();
    void click();
};

} // namespace VellGui

#pragma once
// A row of controller prompts on an owner-drawn "Static" window: each the pad's button
// as the pad shows it (a round coloured button with its letter, or the Menu button) and
// what it does here, drawn straight onto whatever lies beneath. Hidden until shown.
#include "gui/Object.h"
#include "platform/Gamepad.h"

#include <string>
#include <vector>

namespace VellGui {

class Font;

struct ButtonPrompt {
    PadInput button;
    std::string text;
};

class ButtonPrompts : public IObject {
public:
    ButtonPrompts() = default;
    ~ButtonPrompts() override = default;

    // Sized to its prompts; created hidden. `letterFont` draws the letters on the buttons.
    void create(IObject* parentObject, Font* textFont, Font* letterFont, COLORREF textColour,
                std::vector<ButtonPrompt> shownPrompts);
    // Shows or hides the row; hidden, what lies beneath is drawn again as it was.
    void show(bool on);
    // After a change of DPI: the size of the prompts in the fonts for the new DPI, at the
    // anchored place.
    void rescale();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    Font* font = nullptr;
    Font* letters = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    std::vector<ButtonPrompt> prompts;
    bool shown = false;

private:
    void fit();
    void draw(const DRAWITEMSTRUCT& item) const;
    void drawButton(HDC dc, PadInput button, int left, int top) const;
};

// The face of a pad button, `size` pixels square, as premultiplied BGRA rows: a disc in
// the button's colour (the Menu button with its three bars), smooth at the edge.
std::vector<uint32_t> padButtonPixels(PadInput button, int size);

} // namespace VellGui

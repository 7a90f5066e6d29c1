#pragma once
// A row of controller prompts on an owner-drawn "Static" window: each the pad's button
// as the pad of the family used last shows it (an Xbox pad's coloured letters, a
// PlayStation pad's shapes, a Nintendo-style pad's neutral letters) and what it does here,
// drawn straight onto whatever lies beneath. Hidden until shown.
#include "gui/Object.h"
#include "gui/PadNavigation.h"

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

    // One prompt for each binding, sized to them; created hidden. `letterFont` draws the
    // letters on the buttons.
    void create(IObject* parentObject, Font* textFont, Font* letterFont, COLORREF textColour,
                const std::vector<PadBinding>& bindings);
    // Shows or hides the row; hidden, what lies beneath is drawn again as it was.
    void show(bool on);
    // The buttons of another family of pads, sized anew.
    void setFamily(PadFamily shownFamily);
    // After a change of DPI: the size of the prompts in the fonts for the new DPI, at the
    // anchored place.
    void rescale();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    bool paintsOverBackground() const override { return true; }

    Font* font = nullptr;
    Font* letters = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    std::vector<ButtonPrompt> prompts;
    PadFamily family = PadFamily::Xbox;
    bool shown = false;

private:
    void fit();
    // The name a screen reader reads: each button as its family names it, and its text.
    void name();
    int faceWidth(PadInput button) const;
    void drawButton(HDC dc, PadInput button, int left, int top) const;
};

// The face of a pad button, `width` by `height` pixels, as premultiplied BGRA rows,
// smooth at every edge: a disc (for a word, a pill) in the family's colour for it, with
// the family's symbol where it is drawn rather than written.
std::vector<uint32_t> padButtonPixels(PadFamily family, PadInput button, int width, int height);

} // namespace VellGui

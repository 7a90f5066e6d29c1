#pragma once
// A drop-down list over the system "ComboBox": owner-drawn fixed-height entries whose
// texts the system control holds as well, entries that can be shown but not chosen, a closed face
// painted with the visual style of a push button and a combo arrow, and the mouse wheel handed to
// the parent instead of flipping through the entries.
#include "gui/Object.h"
#include "platform/ThemeHandle.h"

#include <functional>
#include <string>
#include <vector>

namespace VellGui {

class Font;

// Shared by every combo box: opened on the first face painted and kept for the run.
// Once a theme class cannot be opened, `usable` stays false and the system paints the
// faces, handing them to WM_DRAWITEM like an entry.
struct ComboThemes {
    bool usable = true;
    bool opened = false;
    ThemeHandle button;
    ThemeHandle combo;
};
inline ComboThemes comboThemes;

class ComboBox : public IObject {
public:
    struct Item {
        std::string text;
        bool enabled;
    };

    ComboBox() = default;
    ~ComboBox() override = default;

    // There is no natural size: call setSize first. The font is used for drawing only;
    // the system control keeps its own.
    void create(IObject* parentObject, Font* textFont);
    // The first entry of an empty list becomes the selection, without onChange.
    void addItem(const std::string& text, bool enabled = true);
    // Selection 0, no onChange, no repaint.
    void clear();
    // Sets the selection without onChange and repaints once.
    void select(int index);
    // Clamps to the entries, selects when the index differs, then calls onChange in any
    // case, so a screen can use it to re-run its handler.
    void setSelection(int index);
    int count() const { return static_cast<int>(items.size()); }
    // After a change of DPI: takes the size and place already set and the item heights
    // for the new DPI.
    void rescale();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // An entry of the list, or the face where no visual style draws it.
    void draw(const DRAWITEMSTRUCT& item) override;
    // With a visual style, the face as its own paint draws it.
    void printClient(HDC dc) override;

    Font* font = nullptr;
    std::vector<Item> items;
    int selected = 0; // valid whenever items is not empty
    bool hovered = false;
    std::function<void()> onChange;

private:
    void setItemHeights();
    LRESULT paintFace();
    void drawFace(HDC dc);
    void notified(WORD code);
};

} // namespace VellGui

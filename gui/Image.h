#pragma once
// A Picture on an owner-drawn "Static" window, copied or alpha-blended, as made for the
// window's DPI; stretched to the control's size only when that was fixed otherwise. A clickable
// image takes the mouse and reports clicks; any other lets the mouse through to the window beneath.
#include "gui/Object.h"

#include <functional>
#include <string>

namespace VellGui {

class Picture;

class Image : public IObject {
public:
    Image() = default;
    ~Image() override = default;

    // Sized to the picture unless a size was fixed with setSize before. `name` is the
    // window text a screen reader announces (a clickable image is named like the action
    // it stands for); it is never drawn.
    void create(IObject* parentObject, Picture* shown, bool takesClicks,
                const std::string& name = std::string());
    void setAlphaBlend(bool on);
    // After a change of DPI: takes the picture's size for the new DPI (unless fixed) and
    // the anchored place.
    void rescale();

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    bool paintsOverBackground() const override { return alphaBlend; }

    Picture* picture = nullptr;
    bool alphaBlend = true;
    bool clickable = false;
    // May run twice per cursor movement (from the image's window and its parent's).
    std::function<void()> onHover;
    std::function<void()> onClick;

private:
    void fitPicture();
};

} // namespace VellGui

#pragma once
// A bordered white panel that other controls are created in. As a control parent it
// lets the dialog handling of the message loop move the focus into them with Tab.
#include "gui/Object.h"

namespace VellGui {

class Group : public IObject {
public:
    Group() = default;
    ~Group() override = default;

    void create(IObject* parentObject);

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void draw(const DRAWITEMSTRUCT& item) override;
};

} // namespace VellGui

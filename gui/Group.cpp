#include "gui/Group.h"

namespace VellGui {

void Group::create(IObject* parentObject) {
    style = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_OWNERDRAW;
    // https://learn.microsoft.com/windows/win32/winmsg/extended-window-styles
    createWindow(parentObject, WS_EX_CONTROLPARENT, "Static", nullptr);
    attach(parentObject);
}

LRESULT Group::handleMessage(HWND, UINT, WPARAM, LPARAM) {
    return kNotHandled;
}

void Group::draw(const DRAWITEMSTRUCT& item) {
    // The border is the system's WS_BORDER.
    SetDCBrushColor(item.hDC, RGB(255, 255, 255));
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace VellGui

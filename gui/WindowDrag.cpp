#include "gui/WindowDrag.h"

#include <windowsx.h>

namespace VellGui {

void WindowDrag::handle(HWND window, UINT msg, LPARAM lParam, int width, int height) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        SetCapture(window);
        dragging = true;
        grabX = GET_X_LPARAM(lParam);
        grabY = GET_Y_LPARAM(lParam);
        break;
    case WM_LBUTTONUP:
        ReleaseCapture();
        dragging = false;
        grabX = grabY = 0;
        break;
    case WM_MOUSEMOVE:
        if (dragging) {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(window, &point);
            MoveWindow(window, point.x - grabX, point.y - grabY, width, height, TRUE);
        }
        break;
    }
}

POINT WindowDrag::rescale(UINT oldDpi, UINT newDpi) {
    grabX = MulDiv(grabX, static_cast<int>(newDpi), static_cast<int>(oldDpi));
    grabY = MulDiv(grabY, static_cast<int>(newDpi), static_cast<int>(oldDpi));
    return {grabX, grabY};
}

} // namespace VellGui

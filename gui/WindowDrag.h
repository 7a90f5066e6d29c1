#pragma once
// A borderless window dragged by its face: the left button held down on the window itself
// and the window following the cursor from the point where it went down.
#include <windows.h>

namespace VellGui {

class WindowDrag {
public:
    // A mouse message that reached the window itself; `width` and `height` are its size
    // (borderless: the outer size is the client size).
    void handle(HWND window, UINT msg, LPARAM lParam, int width, int height);
    bool active() const { return dragging; }
    // The window took another scale while dragged: the point held is as far into its face
    // as before. Returns the point held, in client coordinates.
    POINT rescale(UINT oldDpi, UINT newDpi);

private:
    // Where in the client area the left button went down; only one window can hold the
    // mouse capture at a time.
    bool dragging = false;
    int grabX = 0;
    int grabY = 0;
};

} // namespace VellGui

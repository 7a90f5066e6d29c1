#include "gui/WindowPicture.h"

#include "platform/GdiObjects.h"

namespace VellGui {

namespace {

// The controller's focus, marked to be seen from a sofa: a frame in the artwork's orange
// around the focused control, this far out and this thick at 96 DPI.
constexpr int kFocusMarkGap = 2;
constexpr int kFocusMarkWidth = 2;
constexpr COLORREF kFocusMarkColour = RGB(217, 104, 40);

// One control and those within it, into `dc` (client coordinates of `hwnd`), where they
// meet `area`.
void drawTree(HWND hwnd, IObject& control, HDC dc, const RECT& area) {
    if (!control.hwnd || !IsWindowVisible(control.hwnd))
        return;
    RECT outer = {};
    GetWindowRect(control.hwnd, &outer);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&outer), 2);
    RECT drawn = {};
    if (!IntersectRect(&drawn, &outer, &area))
        return;
    // The one frame the toolkit's controls have, as the system draws it.
    if (GetWindowLongW(control.hwnd, GWL_STYLE) & WS_BORDER)
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWFRAME));

    // The controls clip their drawing to their client rectangle at the context's origin:
    // each draws into a piece of its own, which holds what lies beneath it first.
    POINT origin = {0, 0};
    MapWindowPoints(control.hwnd, hwnd, &origin, 1);
    RECT client = {};
    GetClientRect(control.hwnd, &client);
    MemoryDC pieceDc(dc);
    GdiObject<HBITMAP> piece(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (pieceDc && piece && client.right > 0 && client.bottom > 0) {
        SelectedObject selected(pieceDc.get(), piece.get());
        BitBlt(pieceDc.get(), 0, 0, client.right, client.bottom, dc, origin.x, origin.y, SRCCOPY);
        control.printClient(pieceDc.get());
        BitBlt(dc, origin.x, origin.y, client.right, client.bottom, pieceDc.get(), 0, 0, SRCCOPY);
    }
    for (IObject* child : control.children)
        drawTree(hwnd, *child, dc, area);

    // Drawn already: the control's own paint of that part would only draw it again.
    OffsetRect(&drawn, -origin.x, -origin.y);
    RedrawWindow(control.hwnd, &drawn, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

void drawFocusMark(const IObject& window, HWND control, HDC dc) {
    if (!control || !IsWindowVisible(control))
        return;
    RECT outer = focusMarkArea(window, control);
    int thick = window.scaled(kFocusMarkWidth);
    GdiObject<HBRUSH> brush(CreateSolidBrush(kFocusMarkColour));
    if (!brush)
        return;
    const RECT sides[] = {{outer.left, outer.top, outer.right, outer.top + thick},
                          {outer.left, outer.bottom - thick, outer.right, outer.bottom},
                          {outer.left, outer.top, outer.left + thick, outer.bottom},
                          {outer.right - thick, outer.top, outer.right, outer.bottom}};
    for (const RECT& side : sides)
        FillRect(dc, &side, brush.get());
}

} // namespace

// Under Wine a window's pixels reach the screen whenever drawing on it has gone on for
// 50 ms, and whenever its thread waits; every control drawing itself in turn can show a
// window half drawn. So the window and its controls are drawn in one pass into one bitmap,
// copied at once, and the controls drawn there are not asked to draw again.
void paintPicture(IObject& window, HWND markedControl) {
    HWND hwnd = window.hwnd;
    PAINTSTRUCT painting;
    HDC dc = BeginPaint(hwnd, &painting);
    if (!dc)
        return;
    const RECT area = painting.rcPaint;
    MemoryDC memory(dc);
    GdiObject<HBITMAP> bitmap(
        CreateCompatibleBitmap(dc, area.right - area.left, area.bottom - area.top));
    if (!IsRectEmpty(&area) && memory && bitmap) {
        SelectedObject selected(memory.get(), bitmap.get());
        // Client coordinates in the bitmap, which holds the area alone.
        SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
        fillBackground(hwnd, memory.get());
        for (IObject* child : window.children)
            drawTree(hwnd, *child, memory.get(), area);
        drawFocusMark(window, markedControl, memory.get());
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               memory.get(), area.left, area.top, SRCCOPY);
    } else {
        // Without the bitmap, each control draws itself after this.
        fillBackground(hwnd, dc);
    }
    EndPaint(hwnd, &painting);
}

void fillBackground(HWND window, HDC dc) {
    RECT client = {};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
}

RECT focusMarkArea(const IObject& window, HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&area), 2);
    int out = window.scaled(kFocusMarkGap + kFocusMarkWidth);
    InflateRect(&area, out, out);
    return area;
}

} // namespace VellGui

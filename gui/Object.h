#pragma once
// Base of every control and of the top-level window. Each object owns at most one
// native window, subclassed to the toolkit's one window procedure, which offers every
// message of that window to the object's descendants (depth first, in attach order)
// and then to the object itself. Child controls notify their parent window, so this
// walk is how a control hears about its own clicks, drawing and hovering.
#include "platform/DisplayScale.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace VellGui {

// Results of handleMessage and dispatch: kNotHandled lets processing go on; kHandled
// makes the window procedure return 0; any other value becomes its result.
constexpr LRESULT kNotHandled = 0;
constexpr LRESULT kHandled = -1;

// Anchor codes per axis: the requested position is the left/top edge, the centre, or
// (any other code) the right/bottom edge.
constexpr uint8_t kAnchorStart = 0;
constexpr uint8_t kAnchorCentre = 1;
constexpr uint8_t kAnchorEnd = 2;

class IObject {
public:
    IObject() = default;
    virtual ~IObject();
    IObject(const IObject&) = delete;
    IObject& operator=(const IObject&) = delete;

    // Every message for this object's window or any ancestor's window comes here, so
    // implementations first check the handle that concerns them.
    virtual LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    // Places x, y from the anchor point and the current size; the native window stays.
    void layout();
    // The measured content size, for each axis not fixed with setSize.
    void setNaturalSize(int w, int h);
    void setPosition(int newX, int newY);
    // A size of 0 on an axis leaves that axis to the natural size.
    void setSize(int w, int h);
    // layout, and the native window moved to the result.
    void layoutAndMove();
    void setHAnchor(uint8_t code);
    void setVAnchor(uint8_t code);
    void setEnabled(bool on);
    // Repaints the control and, for transparent controls, what lies beneath it.
    void redraw();
    // Draws the control's owner-drawn face or entry; the control tree hands each
    // WM_DRAWITEM to the control it is for. Controls only draw.
    virtual void draw(const DRAWITEMSTRUCT& item);
    // Whether the control paints over its window's background (text without a background
    // of its own, a picture with alpha): then it is drawn in its top-level window's picture,
    // with what lies beneath it, and never over its own last picture, which would thicken
    // its edges.
    virtual bool paintsOverBackground() const { return false; }
    // The control's client area into `dc`, for its top-level window's picture.
    virtual void printClient(HDC dc);
    // A WM_DRAWITEM for this control: drawn, unless it paints over the background and its
    // own paint asked, when its top-level window draws that part anew.
    void drawItem(const DRAWITEMSTRUCT& item);
    // The object that has the window subclassed, or null.
    static IObject* fromHandle(HWND window);
    // A size laid out for 96 DPI, in pixels at this object's DPI.
    int scaled(int pixels) const { return scalePixels(pixels, dpi); }
    // The DPI of this object and all its descendants, as their top-level window has it.
    void setDpi(UINT newDpi);
    // A control about to be created in `parentObject` takes its DPI.
    void inheritDpi(const IObject* parentObject) {
        if (parentObject)
            dpi = parentObject->dpi;
    }

    // Creates the native window (replacing one that exists) and subclasses it. A failure
    // leaves the object without a window; operations that need one then do nothing.
    void createWindow(IObject* parentObject, DWORD exStyle, const char* windowClass,
                      const char* text);
    void destroyWindow();
    void subclass();
    void unsubclass();

    void attach(IObject* parentObject);
    void detach();

    // Offers the message to the descendants, then to handleMessage. A descendant's result
    // other than kNotHandled and kHandled ends the walk at once.
    LRESULT dispatch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    WNDPROC previousProc = nullptr;
    // For a top-level window: its owner.
    IObject* parent = nullptr;
    std::vector<IObject*> children; // not owned
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool enabled = true;
    uint8_t hAnchor = kAnchorStart;
    uint8_t vAnchor = kAnchorStart;
    DWORD style = 0;
    int anchorX = 0;
    int anchorY = 0;
    int fixedWidth = 0;
    int fixedHeight = 0;
    // That of the monitor the top-level window is on; controls take their parent's when
    // they are created. Fonts, pictures and the toolkit's own sizes follow it.
    UINT dpi = kDefaultDpi;
};

} // namespace VellGui

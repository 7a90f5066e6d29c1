#pragma once
// The toolkit's top-level window, base of the launcher's screens: its own window class,
// placement on the right monitor, a disabled owner while it is open, dragging by its
// face, the controller's presses while it is in front, and the dialog-style message loop.
#include "gui/ButtonPrompts.h"
#include "gui/Object.h"
#include "gui/PadNavigation.h"
#include "gui/Placement.h"
#include "gui/WindowDrag.h"
#include "gui/WindowScale.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace VellGui {

// Window kinds: a captioned window; a borderless window that is dragged by its face.
// Any other kind is borderless and stays where it is put.
constexpr uint8_t kCaptionedWindow = 1;
constexpr uint8_t kDraggableWindow = 2;

class Window : public IObject {
public:
    Window() = default;
    ~Window() override;

    // Set the client size with setSize first, in pixels at 96 DPI: the window takes the
    // DPI of the monitor it opens on (its owner's, or the one placement picks) and scales
    // that size for it (see WindowScale). With an owner, the window opens centred over it and
    // the owner is disabled until this window closes. The window is created hidden; run
    // shows it. Failures are reported and end start-up with an exception.
    void create(Window* owner, const char* titleText, uint8_t windowKind);
    // Shows the window and runs the message loop: without an owner until WM_QUIT, with
    // one until this window is gone; returns 0. While the window is in front, the
    // controller drives it.
    int run();
    // Re-enables and focuses the owner (the control a controller left the focus on, while
    // one is in use), destroys the window (which ends its loop; without an owner, the
    // thread's) and unregisters the class. Safe to call more than once.
    void close();
    // One controller input, as the pads' driver hands it over: a binding's control is
    // pressed, other inputs move through the window.
    void padInput(PadInput input);

    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The class's icon, large and small; set before create.
    HICON icon = nullptr;
    // Without an owner: the point whose monitor the window opens on, asked for by create.
    std::function<POINT()> openingPoint = [] { return placementPoint(); };
    std::string title;
    std::string className;
    uint8_t kind = 0;
    // Where the controller starts: the focus goes there when the controller is used and
    // the focus is on no control. Null: the first control in the focus order.
    IObject* padStart = nullptr;
    // The screen's controller buttons and their prompts' captions. A bound control is
    // pressed before the navigation common to every window is asked (never while a list is
    // open).
    std::vector<PadBinding> padBindings;
    // Shown while the player uses a controller, made from the bindings.
    ButtonPrompts* prompts = nullptr;
    // After the window moved to a monitor of another DPI (or the scale changed) and took
    // its new size: the screen lays its controls out again. Repainted afterwards.
    std::function<void()> onDpiChange;
    // The client size at 96 DPI.
    int designWidth = 0;
    int designHeight = 0;

private:
    // The client size at 96 DPI and the style, which decide the outer size at a DPI.
    WindowDesign design() const { return {designWidth, designHeight, style}; }
    void changeDpi(UINT newDpi, const RECT& suggested);
    // The prompts and the mark of the focus, shown while the player uses a controller.
    void showPrompts(bool on);
    void markFocus(bool on);

    WindowDrag drag;
    bool changingDpi = false;
    // The owner's focus when this window opened, and this window's when it last went to
    // the background.
    HWND ownerFocus = nullptr;
    HWND focusBeforeLeaving = nullptr;
    // The control marked as the controller's focus.
    HWND markedFocus = nullptr;
};

} // namespace VellGui

#include "gui/Window.h"

#include "gui/PadNavigation.h"
#include "gui/WindowPicture.h"
#include "gui/WindowScale.h"
#include "platform/DisplayScale.h"
#include "platform/PadDriver.h"
#include "platform/StartupValues.h"
#include "platform/SystemError.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"

#include <windowsx.h>

namespace VellGui {

namespace {

// WM_GETDPISCALEDSIZE, which the system's headers declare for Windows 10 only.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// Whether a message of the loop is the player at the mouse or the keyboard. A mouse move
// counts only when the pointer really moved: the system also sends one when a window
// appears under a pointer that stands still.
bool isMouseOrKeyboard(const MSG& msg) {
    static POINT lastPointer = {};
    static bool pointerSeen = false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        bool moved = pointerSeen && (msg.pt.x != lastPointer.x || msg.pt.y != lastPointer.y);
        lastPointer = msg.pt;
        pointerSeen = true;
        return moved;
    }
    }
    return false;
}

} // namespace

Window::~Window() {
    close();
}

void Window::create(Window* owner, const char* titleText, uint8_t windowKind) {
    title = titleText ? titleText : "";
    className = formatText("%s_window_class", title.c_str());
    kind = windowKind;

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    // The toolkit's procedure comes in by subclassing, once the window exists.
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = startup::instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // No brush: the window paints its background together with its controls (paint).
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = toWide(className);
    windowClass.hIconSm = icon;
    if (!RegisterClassExW(&windowClass))
        showSystemError("", true);

    style = kind == kCaptionedWindow ? WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                                     : WS_POPUP | WS_MINIMIZEBOX;

    // The monitor it opens on decides its scale.
    POINT reference =
        owner ? POINT{owner->x + owner->width / 2, owner->y + owner->height / 2} : openingPoint();
    designWidth = width;
    designHeight = height;
    RECT workArea = systemHooks.workArea(reference);
    setDpi(scaleFor(design(), monitorDpi(MonitorFromPoint(reference, MONITOR_DEFAULTTONEAREST)),
                    workArea));
    width = scaled(designWidth);
    height = scaled(designHeight);
    SIZE outer = outerSize(design(), dpi);

    // Centred over the owner or in the work area, and never outside the work area.
    POINT corner = owner ? POINT{owner->x + (owner->width - outer.cx) / 2,
                                 owner->y + (owner->height - outer.cy) / 2}
                         : centreIn(workArea, outer.cx, outer.cy);
    RECT place =
        keepInside({corner.x, corner.y, corner.x + outer.cx, corner.y + outer.cy}, workArea);
    x = place.left;
    y = place.top;

    hwnd = CreateWindowExW(0, toWide(className), toWide(title), style, x, y, outer.cx, outer.cy,
                           owner ? owner->hwnd : nullptr, nullptr, startup::instance, nullptr);
    if (!hwnd)
        showSystemError("", true);

    if (owner) {
        parent = owner;
        ownerFocus = GetFocus();
        owner->setEnabled(false);
    }
    subclass();
}

void Window::changeDpi(UINT systemDpi, const RECT& suggested) {
    // Our own SetWindowPos below must not start another change.
    if (changingDpi)
        return;
    changingDpi = true;
    UINT oldDpi = dpi;
    POINT middle = {(suggested.left + suggested.right) / 2, (suggested.top + suggested.bottom) / 2};
    RECT monitor = systemHooks.monitorArea(middle);
    RECT workArea = systemHooks.workArea(middle);
    setDpi(scaleFor(design(), systemDpi, workArea));
    RECT place = suggested;
    if (dpi != systemDpi) {
        // Larger on a handheld, or smaller to fit: the system suggested another size.
        SIZE outer = outerSize(design(), dpi);
        place.right = place.left + outer.cx;
        place.bottom = place.top + outer.cy;
    }
    if (drag.active()) {
        // The point held stays under the cursor: it is as far into the face as before, at
        // the new scale; but the window stays on the monitor the system chose, or its scale
        // would flip back at the next move of the mouse.
        POINT grab = drag.rescale(oldDpi, dpi);
        POINT cursor = {};
        GetCursorPos(&cursor);
        OffsetRect(&place, cursor.x - grab.x - place.left, cursor.y - grab.y - place.top);
        place = keepCentreIn(place, monitor);
    } else {
        place = keepInside(place, workArea);
    }
    SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out for the client area the window got: where the system scales the frame too
    // (per-monitor awareness of Windows 8.1), it differs from the design size scaled.
    RECT client = {};
    if (GetClientRect(hwnd, &client)) {
        width = client.right;
        height = client.bottom;
    } else {
        width = scaled(designWidth);
        height = scaled(designHeight);
    }
    if (onDpiChange)
        onDpiChange();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    changingDpi = false;
}

int Window::run() {
    PadPolling polling;
    ShowWindow(hwnd, startup::showCommand);
    // Opened by a controller (or on a handheld): the focus shows where the controller is.
    if (padInUse())
        ensureControlFocused(hwnd, padStart ? padStart->hwnd : nullptr);
    showPrompts(padInUse());
    UpdateWindow(hwnd);
    // A thread has one quit flag. An owned window's loop, nested in its owner's, ends with
    // its window, and hands on a WM_QUIT it takes, which is meant for the outer loop.
    const bool owned = parent != nullptr;
    MSG msg;
    while (!owned || hwnd) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0 && owned)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (padInUse() && isMouseOrKeyboard(msg)) {
            setPadInUse(false);
            showPrompts(false);
        }
        // Alt combinations must reach the system menu, not the dialog navigation.
        if (msg.message == WM_SYSKEYDOWN || !IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // Escape anywhere gives the focus to the window itself, from where key messages
        // reach every control's accelerator.
        if (hwnd && GetAsyncKeyState(VK_ESCAPE))
            SetFocus(hwnd);
    }
    return 0;
}

void Window::close() {
    // Before this window goes, so that the activation returns to the owner; once, so that a
    // second call (the destructor's) leaves the owner's focus where the first put it.
    if (parent && hwnd) {
        parent->setEnabled(true);
        // A controller goes on from the control it left.
        bool backToControl =
            padInUse() && ownerFocus && parent->hwnd && IsChild(parent->hwnd, ownerFocus);
        SetFocus(backToControl ? ownerFocus : parent->hwnd);
        ownerFocus = nullptr;
    }
    destroyWindow();
    if (!className.empty())
        UnregisterClassW(toWide(className), startup::instance);
}

void Window::padInput(PadInput input) {
    HWND focus = ensureControlFocused(hwnd, padStart ? padStart->hwnd : nullptr);
    if (!isOpenList(focus)) {
        for (const PadBinding& binding : padBindings) {
            if (binding.action == input && binding.control) {
                if (!binding.control->hwnd)
                    return;
                // As a click, which would take the focus to the control; the controller
                // stays where it was.
                SendMessageW(binding.control->hwnd, BM_CLICK, 0, 0);
                if (hwnd && focus && IsWindow(focus) && GetFocus() != focus)
                    SetFocus(focus);
                return;
            }
        }
    }
    navigate(hwnd, focus, input);
}

void Window::showPrompts(bool on) {
    if (!hwnd)
        return;
    if (prompts) {
        prompts->setFamily(padFamily());
        prompts->show(on);
    }
    markFocus(on);
}

void Window::markFocus(bool on) {
    HWND focus = GetFocus();
    HWND wanted = on && focus && IsChild(hwnd, focus) ? focus : nullptr;
    if (wanted == markedFocus)
        return;
    for (HWND control : {markedFocus, wanted}) {
        markedFocus = wanted;
        if (!control)
            continue;
        // The controls beneath the frame are drawn again in the window's picture.
        RECT area = focusMarkArea(*this, control);
        RedrawWindow(hwnd, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

// https://learn.microsoft.com/windows/win32/winmsg/window-notifications
LRESULT Window::handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!window || window != hwnd)
        return kNotHandled;
    switch (msg) {
    case WM_DESTROY:
        // Only the window without an owner ends the thread's loop.
        if (!parent)
            PostQuitMessage(0);
        break;
    case WM_MOVE:
        x = GET_X_LPARAM(lParam);
        y = GET_Y_LPARAM(lParam);
        break;
    case WM_SIZE:
        // The options window takes the main window along when it is minimised.
        if (wParam == SIZE_MINIMIZED && parent && parent->hwnd)
            ShowWindow(parent->hwnd, SW_SHOWMINIMIZED);
        else if (wParam == SIZE_RESTORED && enabled)
            SetFocus(window);
        break;
    case WM_CLOSE:
        close();
        break;
    case WM_PAINT:
        paintPicture(*this, markedFocus);
        return kHandled;
    case WM_ERASEBKGND:
        // Our own paint fills it with the rest. Asked with a control's context (a themed
        // button drawing what lies beneath it), the background is filled there.
        if (WindowFromDC(reinterpret_cast<HDC>(wParam)) != window)
            fillBackground(window, reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_PRINTCLIENT:
        fillBackground(window, reinterpret_cast<HDC>(wParam));
        return kHandled;
    case WM_ACTIVATE:
        // Back in front, a controller goes on from the control it left, as in a dialog; the
        // system would give the focus to the window itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            focusBeforeLeaving = focus && IsChild(window, focus) ? focus : nullptr;
            break;
        }
        if (padInUse() && !HIWORD(wParam) && focusBeforeLeaving &&
            IsChild(window, focusBeforeLeaving)) {
            SetFocus(focusBeforeLeaving);
            showPrompts(true);
            return kHandled;
        }
        showPrompts(padInUse());
        break;
    // https://learn.microsoft.com/windows/win32/hidpi/wm-dpichanged
    case WM_DPICHANGED:
        if (lParam)
            changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        break;
    // Asked before WM_DPICHANGED, so that the suggested size is exactly the scaled one:
    // https://learn.microsoft.com/windows/win32/hidpi/wm-getdpiscaledsize
    case kGetDpiScaledSize:
        if (lParam) {
            *reinterpret_cast<SIZE*>(lParam) =
                outerSize(design(), wantedDpi(static_cast<UINT>(wParam)));
            return TRUE;
        }
        break;
    case kPadPressMessage:
        padInput(static_cast<PadInput>(wParam));
        // Unless the press closed the window.
        showPrompts(padInUse());
        return kHandled;
    }
    if (kind == kDraggableWindow)
        drag.handle(window, msg, lParam, width, height);
    return kNotHandled;
}

} // namespace VellGui

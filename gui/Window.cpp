#include "gui/Window.h"

#include "platform/DisplayScale.h"
#include "platform/StartupValues.h"
#include "platform/SystemError.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"

#include <windowsx.h>

#include <utility>

namespace VellGui {

namespace {

// WM_GETDPISCALEDSIZE, which the system's headers declare for Windows 10 only.
constexpr UINT kGetDpiScaledSize = 0x02E4;

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
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
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
    setDpi(monitorDpi(MonitorFromPoint(reference, MONITOR_DEFAULTTONEAREST)));
    width = scaled(designWidth);
    height = scaled(designHeight);
    SIZE outer = outerSize(dpi);

    if (owner) {
        x = owner->x + (owner->width - outer.cx) / 2;
        y = owner->y + (owner->height - outer.cy) / 2;
    } else {
        POINT corner = centreIn(systemHooks.workArea(reference), outer.cx, outer.cy);
        x = corner.x;
        y = corner.y;
    }

    hwnd = CreateWindowExW(0, toWide(className), toWide(title), style, x, y, outer.cx, outer.cy,
                           owner ? owner->hwnd : nullptr, nullptr, startup::instance, nullptr);
    if (!hwnd)
        showSystemError("", true);

    if (owner) {
        parent = owner;
        owner->setEnabled(false);
    }
    subclass();
}

SIZE Window::outerSize(UINT forDpi) const {
    RECT outer = {0, 0, scalePixels(designWidth, forDpi), scalePixels(designHeight, forDpi)};
    RECT client = outer;
    if (!adjustWindowRectForDpi(outer, style, forDpi))
        outer = client;
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Window::changeDpi(UINT newDpi, const RECT& suggested) {
    UINT oldDpi = dpi;
    setDpi(newDpi);
    width = scaled(designWidth);
    height = scaled(designHeight);
    RECT place = suggested;
    if (dragging) {
        // The point held stays under the cursor: it is as far into the face as before,
        // at the new scale.
        grabX = MulDiv(grabX, static_cast<int>(newDpi), static_cast<int>(oldDpi));
        grabY = MulDiv(grabY, static_cast<int>(newDpi), static_cast<int>(oldDpi));
        POINT cursor = {};
        GetCursorPos(&cursor);
        place = {cursor.x - grabX, cursor.y - grabY,
                 cursor.x - grabX + suggested.right - suggested.left,
                 cursor.y - grabY + suggested.bottom - suggested.top};
    }
    SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (onDpiChange)
        onDpiChange();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Window::run() {
    ShowWindow(hwnd, startup::showCommand);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
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
    // Before this window goes, so that the activation returns to the owner.
    if (parent) {
        parent->setEnabled(true);
        SetFocus(parent->hwnd);
    }
    destroyWindow();
    if (!className.empty())
        UnregisterClassW(toWide(className), startup::instance);
}

void Window::setJoystickHandler(JoystickHandler handler) {
    onJoystick = std::move(handler);
}

// https://learn.microsoft.com/windows/win32/winmsg/window-notifications
LRESULT Window::handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!window || window != hwnd)
        return kNotHandled;
    switch (msg) {
    case WM_DESTROY:
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
    // https://learn.microsoft.com/windows/win32/hidpi/wm-dpichanged
    case WM_DPICHANGED:
        if (lParam)
            changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        break;
    // Asked before WM_DPICHANGED, so that the suggested size is exactly the scaled one:
    // https://learn.microsoft.com/windows/win32/hidpi/wm-getdpiscaledsize
    case kGetDpiScaledSize:
        if (lParam) {
            *reinterpret_cast<SIZE*>(lParam) = outerSize(static_cast<UINT>(wParam));
            return TRUE;
        }
        break;
    case WM_TIMER:
        // Screens start this timer with the window handle as its identifier.
        if (wParam == reinterpret_cast<WPARAM>(window) && onJoystick &&
            GetForegroundWindow() == window)
            pollJoysticks(onJoystick);
        break;
    }
    if (kind == kDraggableWindow)
        drag(window, msg, lParam);
    return kNotHandled;
}

void Window::drag(HWND window, UINT msg, LPARAM lParam) {
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
            // Borderless: the outer size is the client size.
            MoveWindow(window, point.x - grabX, point.y - grabY, width, height, TRUE);
        }
        break;
    }
}

} // namespace VellGui

#include "gui/Window.h"

#include "gui/Placement.h"
#include "platform/SystemHooks.h"
#include "platform/StartupValues.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

#include <windowsx.h>

#include <utility>

namespace VellGui {

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

    RECT outer = {0, 0, width, height};
    if (!AdjustWindowRect(&outer, style, FALSE))
        outer = {0, 0, width, height};
    int outerWidth = outer.right - outer.left;
    int outerHeight = outer.bottom - outer.top;

    if (owner) {
        x = owner->x + (owner->width - outerWidth) / 2;
        y = owner->y + (owner->height - outerHeight) / 2;
    } else {
        POINT corner = centreIn(systemHooks.workArea(placementPoint()), outerWidth, outerHeight);
        x = corner.x;
        y = corner.y;
    }

    hwnd =
        CreateWindowExW(0, toWide(className), toWide(title), style, x, y, outerWidth, outerHeight,
                        owner ? owner->hwnd : nullptr, nullptr, startup::instance, nullptr);
    if (!hwnd)
        showSystemError("", true);

    if (owner) {
        parent = owner;
        owner->setEnabled(false);
    }
    subclass();
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

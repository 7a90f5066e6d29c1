#pragma once
// Test doubles for the toolkit: an object whose handler a test supplies, a top-level
// window with a hook in front of its own handler, and a plain window class whose
// procedure counts what reaches it.
#include "gui/Object.h"
#include "gui/Window.h"
#include "platform/StartupValues.h"

#include <functional>
#include <map>

namespace gui_testing {

using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

class Probe : public VellGui::IObject {
public:
    Handler handler;
    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override {
        return handler ? handler(window, msg, wParam, lParam) : VellGui::kNotHandled;
    }
};

// The hook sees the window's messages first; a result other than 0 replaces the
// window's own handling.
class HookedWindow : public VellGui::Window {
public:
    Handler hook;
    LRESULT handleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (hook)
            if (LRESULT result = hook(window, msg, wParam, lParam))
                return result;
        return Window::handleMessage(window, msg, wParam, lParam);
    }
};

// "GuiTestPlain": a window class whose procedure counts every message it is given.
inline std::map<UINT, int> plainProcCalls;
inline LRESULT CALLBACK plainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++plainProcCalls[msg];
    return DefWindowProcW(window, msg, wParam, lParam);
}
inline void registerPlainClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = plainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"GuiTestPlain";
    RegisterClassExW(&windowClass); // a second registration fails harmlessly
}

// A closed top-level window posts WM_QUIT; take it away before the next loop runs.
inline void drainQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

inline void useThisModule() {
    startup::instance = GetModuleHandleW(nullptr);
}

} // namespace gui_testing

#include "gui/PadNavigation.h"

#include <cwchar>

namespace VellGui {

namespace {

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t className[32] = {};
    return window && GetClassNameW(window, className, 32) && _wcsicmp(className, name) == 0;
}

bool isList(HWND control) {
    return hasClass(control, L"ComboBox");
}

// A key as the keyboard delivers it to the control with the focus.
void key(HWND control, WPARAM virtualKey) {
    SendMessageW(control, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(control, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001));
}

// The system shows focus rectangles only once the keyboard was used in a window:
// https://learn.microsoft.com/windows/win32/menurc/wm-changeuistate
void showFocusCues(HWND window) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void moveFocus(HWND window, HWND from, bool backwards) {
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-getnextdlgtabitem
    HWND next = GetNextDlgTabItem(window, from, backwards);
    if (next)
        SetFocus(next);
}

} // namespace

HWND ensureControlFocused(HWND window, HWND start) {
    HWND focus = GetFocus();
    if (focus && focus != window && IsChild(window, focus))
        return focus;
    focus = start ? start : GetNextDlgTabItem(window, nullptr, FALSE);
    if (focus) {
        SetFocus(focus);
        showFocusCues(window);
    }
    return GetFocus() == focus ? focus : nullptr;
}

bool isOpenList(HWND control) {
    return isList(control) && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0);
}

void navigate(HWND window, HWND focus, PadInput input) {
    bool list = isList(focus);
    bool open = list && isOpenList(focus);
    switch (input) {
    case PadInput::Up:
    case PadInput::Down:
    case PadInput::Left:
    case PadInput::Right: {
        // Up and down go through an open list, left and right through any list; else each
        // moves the focus.
        bool vertical = input == PadInput::Up || input == PadInput::Down;
        bool back = input == PadInput::Up || input == PadInput::Left;
        if (vertical ? open : list)
            key(focus, back ? VK_UP : VK_DOWN);
        else if (focus)
            moveFocus(window, focus, back);
        break;
    }
    case PadInput::A:
        if (open)
            key(focus, VK_RETURN);
        else if (list)
            SendMessageW(focus, CB_SHOWDROPDOWN, TRUE, 0);
        else if (hasClass(focus, L"Button"))
            SendMessageW(focus, BM_CLICK, 0, 0);
        break;
    case PadInput::B:
        if (open)
            key(focus, VK_ESCAPE);
        break;
    default:
        break;
    }
}

} // namespace VellGui

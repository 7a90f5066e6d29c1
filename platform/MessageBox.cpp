#include "platform/MessageBox.h"

#include "platform/Gamepad.h"
#include "platform/VisualStyles.h"

#include <cwchar>
#include <utility>

namespace {

// A dialog box of this thread in front: the message box being shown.
bool isOwnDialog(HWND window) {
    wchar_t className[16] = {};
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() &&
           GetClassNameW(window, className, 16) && wcscmp(className, L"#32770") == 0;
}

BOOL CALLBACK countButton(HWND child, LPARAM found) {
    wchar_t className[16] = {};
    if (IsWindowVisible(child) && GetClassNameW(child, className, 16) &&
        _wcsicmp(className, L"Button") == 0) {
        auto* buttons = reinterpret_cast<std::pair<int, HWND>*>(found);
        ++buttons->first;
        buttons->second = child;
    }
    return TRUE;
}

HWND onlyButton(HWND box) {
    std::pair<int, HWND> buttons = {0, nullptr};
    EnumChildWindows(box, countButton, reinterpret_cast<LPARAM>(&buttons));
    return buttons.first == 1 ? buttons.second : nullptr;
}

// https://learn.microsoft.com/windows/win32/dlgbox/dm-getdefid
HWND defaultButton(HWND box) {
    LRESULT id = SendMessageW(box, DM_GETDEFID, 0, 0);
    HWND button = HIWORD(id) == DC_HASDEFID ? GetDlgItem(box, LOWORD(id)) : nullptr;
    return button ? button : onlyButton(box);
}

// The thread timer of a box that is shown: runs inside the box's own message loop.
void CALLBACK answerFromGamepad(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = GetForegroundWindow();
    if (!isOwnDialog(box))
        return;
    for (PadInput input : gamepad.poll(box, GetTickCount())) {
        HWND button = nullptr;
        if (input == PadInput::A)
            button = defaultButton(box);
        else if (input == PadInput::B)
            button = GetDlgItem(box, IDCANCEL) ? GetDlgItem(box, IDCANCEL) : onlyButton(box);
        if (button) {
            // As a click: the box closes with that button's answer.
            SendMessageW(button, BM_CLICK, 0, 0);
            return;
        }
    }
}

} // namespace

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    VisualStyles styles;
    UINT_PTR timer = SetTimer(nullptr, 0, kGamepadPollMs, answerFromGamepad);
    int answer = MessageBoxW(owner, text, caption, type);
    if (timer)
        KillTimer(nullptr, timer);
    return answer;
}

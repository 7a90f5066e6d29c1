#include "platform/PadDriver.h"

#include "platform/Gamepad.h"

#include <cwchar>
#include <utility>

namespace {

struct Driver {
    Gamepad pad;
    UINT_PTR timer = 0;
    int pollers = 0;
    // Counts the polls begun: a press that opened a loop of its own (which polled) leaves
    // the rest of what the outer poll read out of date.
    unsigned pollsBegun = 0;
};

Driver& driver() {
    static Driver state;
    return state;
}

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t className[16] = {};
    return GetClassNameW(window, className, 16) && _wcsicmp(className, name) == 0;
}

BOOL CALLBACK countButton(HWND child, LPARAM found) {
    if (IsWindowVisible(child) && hasClass(child, L"Button")) {
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

// A message box's buttons, as the keyboard answers it.
HWND boxButton(HWND box, PadInput input) {
    if (input == PadInput::A)
        return defaultButton(box);
    if (input == PadInput::B)
        return GetDlgItem(box, IDCANCEL) ? GetDlgItem(box, IDCANCEL) : onlyButton(box);
    return nullptr;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    pollPads();
}

} // namespace

PadPolling::PadPolling() {
    Driver& state = driver();
    if (state.pollers++ == 0) {
        state.pad.searchNow();
        state.timer = SetTimer(nullptr, 0, kGamepadPollMs, onTimer);
    }
}

PadPolling::~PadPolling() {
    Driver& state = driver();
    if (--state.pollers == 0 && state.timer) {
        KillTimer(nullptr, state.timer);
        state.timer = 0;
    }
}

void pollPads() {
    Driver& state = driver();
    HWND front = GetForegroundWindow();
    if (!front || GetWindowThreadProcessId(front, nullptr) != GetCurrentThreadId())
        return;
    unsigned poll = ++state.pollsBegun;
    bool box = hasClass(front, L"#32770");
    for (PadInput input : state.pad.poll(front, GetTickCount())) {
        if (GetForegroundWindow() != front || !IsWindow(front))
            break;
        if (box) {
            // As a click: the box closes with that button's answer.
            if (HWND button = boxButton(front, input)) {
                SendMessageW(button, BM_CLICK, 0, 0);
                break;
            }
        } else {
            SendMessageW(front, kPadPressMessage, static_cast<WPARAM>(input), 0);
        }
        if (state.pollsBegun != poll)
            break;
    }
}

bool padInUse() {
    return driver().pad.inUse;
}

void setPadInUse(bool on) {
    driver().pad.inUse = on;
}

PadFamily padFamily() {
    return driver().pad.family;
}

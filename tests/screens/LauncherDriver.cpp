#include "tests/screens/LauncherDriver.h"

#include "tests/support/Screenshot.h"

#include <cwchar>

namespace testing_support {

// Wine takes the cursor position from the X pointer, which SendInput alone does not always
// move: the pointer is warped first, as a real mouse would have moved it.
void mouse(DWORD flags, POINT screen) {
    if (flags & MOUSEEVENTF_MOVE) {
        SetCursorPos(screen.x, screen.y);
        waitFor(
            [&] {
                POINT now = {};
                GetCursorPos(&now);
                return now.x == screen.x && now.y == screen.y;
            },
            1000);
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    SendInput(1, &input, sizeof(INPUT));
}

RECT outer(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

namespace {

struct ChildSearch {
    const wchar_t* className;
    const wchar_t* text; // any text when null
    std::vector<HWND> found;
};

BOOL CALLBACK matchChild(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    wchar_t name[64] = {};
    wchar_t text[128] = {};
    GetClassNameW(child, name, 64);
    GetWindowTextW(child, text, 128);
    if (_wcsicmp(name, search->className) == 0 &&
        (!search->text || wcscmp(text, search->text) == 0))
        search->found.push_back(child);
    return TRUE;
}

} // namespace

::testing::AssertionResult endsWithZero(ChildProcess& launcher) {
    std::optional<DWORD> code = launcher.wait(kTimeoutMs);
    if (code == std::optional<DWORD>(0))
        return ::testing::AssertionSuccess();
    if (code)
        return ::testing::AssertionFailure() << "the launcher ended with exit code " << *code;
    std::string shown;
    findWindow(launcher.pid(), [&shown](HWND window) {
        wchar_t name[64] = {};
        wchar_t text[128] = {};
        GetClassNameW(window, name, 64);
        GetWindowTextW(window, text, 128);
        shown += " [" + narrow(name) + " \"" + narrow(text) + "\"" +
                 (IsWindowEnabled(window) ? "" : " disabled") + "]";
        return false;
    });
    return ::testing::AssertionFailure()
           << "the launcher still runs after " << kTimeoutMs << " ms; its shown windows:" << shown;
}

std::vector<HWND> children(HWND window, const wchar_t* className, const wchar_t* text) {
    ChildSearch search = {className, text, {}};
    EnumChildWindows(window, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND labelBeside(HWND window, HWND list) {
    RECT row = outer(list);
    int middle = (row.top + row.bottom) / 2;
    for (HWND label : children(window, L"Static")) {
        RECT rect = outer(label);
        if (rect.right <= row.left && rect.top <= middle && middle < rect.bottom)
            return label;
    }
    return nullptr;
}

int widthOf(HWND window) {
    RECT rect = outer(window);
    return rect.right - rect.left;
}

int countColour(RECT area, COLORREF colour) {
    return testing_support::captureScreen(area).count(colour);
}

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

AccountPageCatcher::AccountPageCatcher(const std::wstring& program) {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\https\\shell\\open\\command", 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    wchar_t old[1024] = {};
    DWORD size = sizeof(old);
    hadValue_ = RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                                 &size) == ERROR_SUCCESS;
    old_ = old;
    set(L"\"" + program + L"\" \"%1\"");
}

AccountPageCatcher::~AccountPageCatcher() {
    if (hadValue_)
        set(old_);
    else
        RegDeleteValueW(key_, nullptr);
    RegCloseKey(key_);
}

void AccountPageCatcher::set(const std::wstring& command) {
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   DWORD((command.size() + 1) * sizeof(wchar_t)));
}

HWND LauncherDriver::start(ChildProcess& launcher, const InstallFolder& folder,
                           const std::wstring& arguments) {
    launcher = ChildProcess(folder.launcher(), arguments, folder.path());
    HWND window = waitForWindow(launcher.pid(), L"Vantorra", kTimeoutMs);
    if (window) {
        SetForegroundWindow(window);
        waitFor([&] { return GetForegroundWindow() == window; }, 3000);
    }
    return window;
}

POINT LauncherDriver::at(HWND window, int x, int y) {
    RECT rect = outer(window);
    return {rect.left + x, rect.top + y};
}

POINT LauncherDriver::centre(HWND control) {
    RECT rect = outer(control);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND LauncherDriver::openOptions(const ChildProcess& launcher, HWND mainWindow) {
    HWND options = nullptr;
    clickUntil(at(mainWindow, 123 + 60, 196 + 17), [&] {
        return (options = waitForWindow(launcher.pid(), L"Einstellungen", 0)) != nullptr;
    });
    if (options)
        waitFor([&] { return GetForegroundWindow() == options; }, 3000);
    return options;
}

HWND LauncherDriver::startWithOptions(ChildProcess& launcher, const InstallFolder& folder,
                                      HWND& window) {
    window = start(launcher, folder);
    return window ? openOptions(launcher, window) : nullptr;
}

} // namespace testing_support

// Stand-in for the game in tests. On each start it appends one line to the file named
// by FAKEGAME_LOG:  pid=<id>|cwd=<working folder>|cmd=<command line>
// then behaves as FAKEGAME_MODE says:
//   window (default)  shows a window titled "FakeGame" until closed or FAKEGAME_LIFETIME_MS
//   hidden            creates a window but never shows it
//   windowless        creates no window at all
//   exit:N            exits at once with code N
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::wstring env(const wchar_t* name) {
    wchar_t buffer[2048];
    DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
    return n > 0 && n < 2048 ? std::wstring(buffer, n) : std::wstring();
}

void appendLog() {
    std::wstring logPath = env(L"FAKEGAME_LOG");
    if (logPath.empty())
        return;
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring line = L"pid=" + std::to_wstring(GetCurrentProcessId()) + L"|cwd=" + cwd +
                        L"|cmd=" + GetCommandLineW() + L"\n";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();
    // Several starts may race for the log: retry while another one holds it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    appendLog();
    std::wstring mode = env(L"FAKEGAME_MODE");
    if (mode.rfind(L"exit:", 0) == 0)
        return _wtoi(mode.c_str() + 5);

    std::wstring lifetime = env(L"FAKEGAME_LIFETIME_MS");
    UINT lifetimeMs = lifetime.empty() ? 60000 : static_cast<UINT>(_wtoi(lifetime.c_str()));
    if (mode == L"windowless") {
        Sleep(lifetimeMs);
        return 0;
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"FakeGameWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"FakeGameWindow", L"FakeGame", WS_OVERLAPPEDWINDOW, 100, 100,
                                320, 200, nullptr, nullptr, instance, nullptr);
    if (mode != L"hidden")
        ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, 1, lifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window) {
            DestroyWindow(window);
            continue;
        }
        DispatchMessageW(&msg);
    }
    return 0;
}

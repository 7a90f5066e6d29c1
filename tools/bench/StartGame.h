// What every skip-mode floor ends with: .\Vantorra.exe started as skip mode starts it.
#pragma once

#include <windows.h>

inline bool startGame() {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    wchar_t commandLine[] = L"\".\\Vantorra.exe\" -SKIP_LAUNCHER";
    if (!CreateProcessW(L".\\Vantorra.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

// The floor for the skip-mode benchmark: start .\Vantorra.exe and leave.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    wchar_t commandLine[] = L"\".\\Vantorra.exe\" -SKIP_LAUNCHER";
    if (!CreateProcessW(L".\\Vantorra.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return 1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return 0;
}

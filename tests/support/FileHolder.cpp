// Holds a file open the way another program might while the launcher saves:
// FileHolder PATH EVENT [read]. Without "read" nobody else may open the file at all;
// with it, others may read but neither write nor replace it. Signals EVENT once the
// file is held, then waits to be ended.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 3)
        return 2;
    bool readersWelcome = count > 3 && wcscmp(args[3], L"read") == 0;
    HANDLE file = CreateFileW(args[1], GENERIC_READ, readersWelcome ? FILE_SHARE_READ : 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, args[2]);
    if (!held || !SetEvent(held))
        return 4;
    Sleep(60000);
    return 0;
}

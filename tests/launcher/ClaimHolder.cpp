// A launcher stuck in its start with the claim of its folder held: with "starting" before
// it commits to show its window, with "committed" after. Once it holds the claim it writes
// the file "held" beside itself; then it waits for ever.
#include "launch/LauncherClaim.h"
#include "platform/Processes.h"
#include "platform/Text.h"

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int) {
    std::string folder = getProcessDirectory(0);
    LauncherClaim claim(folder);
    if (!claim.take())
        return 2;
    if (commandTail && wcsstr(commandTail, L"committed") && !claim.commitToShow())
        return 3;
    std::wstring held = toWideString(folder) + L"held";
    CloseHandle(CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (;;)
        Sleep(INFINITE);
}

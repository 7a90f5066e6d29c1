// A program that installs the launcher's last-resort handlers and then fails: with
// "fault" through a processor fault, otherwise through an exception nobody catches. With
// "exit-handler" it first registers an exit handler that ends the process with code 3,
// which the last resort must never run. With "threads" four threads fail at the same
// moment as the main one.
#include "launcher/Startup.h"

#include <cstdlib>
#include <cwchar>
#include <stdexcept>

namespace {

HANDLE go = nullptr;

DWORD WINAPI failTogether(void*) {
    WaitForSingleObject(go, INFINITE);
    throw std::runtime_error("uncaught on another thread");
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int) {
    installLastResortHandlers();
    if (commandTail && wcsstr(commandTail, L"exit-handler"))
        atexit([] { ExitProcess(3); });
    if (commandTail && wcsstr(commandTail, L"threads")) {
        go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        for (int i = 0; i < 4; ++i)
            CloseHandle(CreateThread(nullptr, 0, failTogether, nullptr, 0, nullptr));
        Sleep(100);
        SetEvent(go);
    }
    if (commandTail && wcsstr(commandTail, L"fault")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    throw std::runtime_error("uncaught");
}

// A program that installs the launcher's last-resort handlers and then fails: with
// "fault" through a processor fault, otherwise through an exception nobody catches. With
// "exit-handler" it first registers an exit handler that ends the process with code 3,
// which the last resort must never run.
#include "launcher/Startup.h"

#include <cstdlib>
#include <cwchar>
#include <stdexcept>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int) {
    installLastResortHandlers();
    if (commandTail && wcsstr(commandTail, L"exit-handler"))
        atexit([] { ExitProcess(3); });
    if (commandTail && wcsstr(commandTail, L"fault")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    throw std::runtime_error("uncaught");
}

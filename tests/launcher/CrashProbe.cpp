// A program that installs the launcher's last-resort handlers and then fails: with
// "fault" through a processor fault, otherwise through an exception nobody catches.
#include "launcher/Startup.h"

#include <cwchar>
#include <stdexcept>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int) {
    installLastResortHandlers();
    if (commandTail && wcsstr(commandTail, L"fault")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    throw std::runtime_error("uncaught");
}

#include "launcher/StartupChecks.h"

#include "gui/Placement.h"
#include "launch/GameLaunch.h"
#include "launch/RunningInstance.h"

StartupChecks::StartupChecks() {
    thread = Handle(CreateThread(nullptr, 0, check, this, 0, nullptr));
}

StartupChecks::~StartupChecks() {
    wait();
}

DWORD WINAPI StartupChecks::check(void* checks) {
    static_cast<StartupChecks*>(checks)->findOut();
    return 0;
}

// In the order the main window asks.
void StartupChecks::findOut() {
    startingWindow = VellGui::startingWindowCentre();
    version = ::gameVersion();
    takesOver = activateRunningInstance();
}

void StartupChecks::wait() {
    if (answered)
        return;
    if (thread)
        WaitForSingleObject(thread.get(), INFINITE);
    else
        findOut();
    answered = true;
}

bool StartupChecks::anotherLauncherTakesOver() {
    wait();
    return takesOver;
}

std::optional<POINT> StartupChecks::startingWindowCentre() {
    wait();
    return startingWindow;
}

std::string StartupChecks::gameVersion() {
    wait();
    return version;
}

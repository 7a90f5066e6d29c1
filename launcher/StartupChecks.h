#pragma once
// What start-up finds out without a window, on a thread of its own while the main window
// is built hidden: whether another launcher of this installation takes over, the centre of
// the window the player started the launcher from, and the game's version.
#include "platform/Handle.h"

#include <windows.h>

#include <optional>
#include <string>

class StartupChecks {
public:
    // Starts the thread; should that fail, the answers are found on the first question.
    StartupChecks();
    ~StartupChecks();
    StartupChecks(const StartupChecks&) = delete;
    StartupChecks& operator=(const StartupChecks&) = delete;

    // Each waits for the thread. True when a launcher already running from this folder was
    // brought to the front: this one must end without showing anything.
    bool anotherLauncherTakesOver();
    std::optional<POINT> startingWindowCentre();
    std::string gameVersion();

private:
    static DWORD WINAPI check(void* checks);
    void findOut();
    void wait();

    Handle thread;
    bool answered = false;
    bool takesOver = false;
    std::optional<POINT> startingWindow;
    std::string version;
};

#pragma once
// What start-up finds out without a window, on a thread of its own while the main window
// is built hidden: the launcher's folder (whose one launcher this may be), the centre of
// the window the player started the launcher from, and the game's version.
#include "platform/Handle.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

class StartupFacts {
public:
    // Starts the thread; should that fail, the answers are found on the first question.
    StartupFacts();
    StartupFacts(const StartupFacts&) = delete;
    StartupFacts& operator=(const StartupFacts&) = delete;

    // Each waits for the thread, for a bounded time: a thread that has not answered by then
    // is left to itself, and the answers are the empty ones (no folder: the launcher is on
    // its own; the monitor of the cursor; no version).
    std::string launcherFolder();
    std::optional<POINT> startingWindowCentre();
    std::string gameVersion();

private:
    struct Answers {
        std::string folder;
        std::optional<POINT> startingWindow;
        std::string version;
    };
    static DWORD WINAPI findOnThread(void* answers);
    static void findOut(Answers& answers);
    void wait();

    // Shared with the thread, which may outlive this object when it is stuck.
    std::shared_ptr<Answers> pending;
    Handle thread;
    bool waited = false;
    Answers answers;
};

#pragma once
// The one launcher of an installation folder. A named mutex decides who it is: its holder,
// and the system hands it to exactly one waiting launcher once that process ends, however
// it ends. A word shared under the same name tells the others who holds it and how far it
// got: starting, committed to show its window, or being ended as stuck. So no launcher ever
// ends another that shows a window, and none waits on another without a limit.
#include "platform/Handle.h"

#include <windows.h>

#include <cstdint>
#include <string>

class LauncherClaim {
public:
    // The claim of `folder` (the launcher's folder, as getProcessDirectory spells it). An
    // empty folder makes no claim: the launcher carries on as the only one. A claim that
    // exists but cannot be opened counts as held by another launcher.
    explicit LauncherClaim(const std::string& folder);
    ~LauncherClaim();
    LauncherClaim(const LauncherClaim&) = delete;
    LauncherClaim& operator=(const LauncherClaim&) = delete;

    // Waits for the claim. True: this launcher holds it, or nothing settled it in time and
    // it carries on as the only one. False: the holder shows a window, which has been
    // brought to the front; this launcher must end without showing anything. A holder that
    // shows nothing for too long is ended. Called on the thread that runs the windows: the
    // claim is held by it until this object goes.
    bool take();
    // Right before the launcher shows its first window, message boxes included. False when
    // another launcher has taken it for stuck and is ending it: it must show nothing.
    bool commitToShow();

    // The kernel object name of a folder's claim: the same for every spelling of the folder
    // that differs in letter case only.
    static std::wstring nameFor(const std::string& folder);

private:
    void endStuckHolder(uint64_t seen);

    std::string folder_;
    Handle mutex_;
    Handle mapping_;
    // The shared word (the holder's process id and phase); a word of its own when the
    // shared one cannot be had.
    volatile LONG64* word_ = &ownWord_;
    LONG64 ownWord_ = 0;
    bool held_ = false;
    // The claim exists but could not be opened: another launcher holds it.
    bool heldElsewhere_ = false;
};

#include "tests/release/LauncherRace.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <map>

using namespace testing_support;

namespace release_tests {

namespace {

constexpr DWORD kHitWithinMs = 400;
// The killed launcher must be gone by then.
constexpr DWORD kKillEndsWithinMs = 1000;

struct Launcher {
    ChildProcess process;
    bool started = false;
    bool shown = false;
    bool everShown = false;
    bool frozen = false;
    bool killed = false;
};

struct WindowSearch {
    const std::vector<DWORD>* pids;
    std::map<DWORD, HWND> shown;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::find(search->pids->begin(), search->pids->end(), owner) == search->pids->end() ||
        !IsWindowVisible(window))
        return TRUE;
    // Read without a message: a frozen launcher would never answer one.
    wchar_t title[64] = {};
    InternalGetWindowText(window, title, 64);
    if (wcscmp(title, L"Vantorra") == 0)
        search->shown[owner] = window;
    return TRUE;
}

// The shown launcher windows of these processes, by process.
std::map<DWORD, HWND> shownWindows(const std::vector<DWORD>& pids) {
    WindowSearch search = {&pids, {}};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.shown;
}

// Every thread of the process suspended, as a hang would stop it; twice over, for a
// thread started while the first pass ran.
void freeze(DWORD pid) {
    for (int pass = 0; pass < 2; ++pass) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            continue;
        THREADENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot, &entry); more;
             more = Thread32Next(snapshot, &entry)) {
            if (entry.th32OwnerProcessID != pid)
                continue;
            if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
                SuspendThread(thread);
                CloseHandle(thread);
            }
        }
        CloseHandle(snapshot);
    }
}

std::string stateOf(Launcher& launcher, bool withWindow) {
    std::string state;
    if (launcher.killed)
        state = "killed";
    else if (launcher.frozen)
        state = "frozen";
    else if (std::optional<DWORD> code = launcher.process.wait(0))
        state = "exit " + std::to_string(*code);
    else
        state = "running";
    return withWindow ? state + " with window" : state;
}

} // namespace

RaceRound randomRound(Random& random, size_t launchers, Hit hit, DWORD maxGapMs) {
    RaceRound round;
    for (size_t i = 1; i < launchers; ++i)
        round.gapsMs.push_back(random.below(maxGapMs + 1));
    round.hit = hit;
    if (hit != Hit::None) {
        round.hitLauncher = random.below(static_cast<uint32_t>(launchers));
        round.hitAtMs = random.below(kHitWithinMs + 1);
    }
    return round;
}

RaceResult runRace(const RaceRound& round, DWORD limitMs) {
    RaceResult result;
    result.round = round;
    InstallFolder install;
    std::vector<Launcher> launchers(round.gapsMs.size() + 1);
    std::vector<DWORD> startAt(launchers.size(), 0);
    for (size_t i = 1; i < launchers.size(); ++i)
        startAt[i] = startAt[i - 1] + round.gapsMs[i - 1];
    bool hitDone = round.hit == Hit::None;
    DWORD hitAt = hitDone ? 0 : startAt[round.hitLauncher] + round.hitAtMs;
    DWORD settleFrom = std::max(startAt.back(), hitAt);
    std::map<DWORD, HWND> shown;

    for (DWORD begin = GetTickCount();;) {
        DWORD now = GetTickCount() - begin;
        std::vector<DWORD> pids;
        for (size_t i = 0; i < launchers.size(); ++i) {
            Launcher& launcher = launchers[i];
            if (!launcher.started && now >= startAt[i]) {
                launcher.process = ChildProcess(install.launcher(), L"", install.path());
                launcher.started = true;
            }
            if (launcher.started)
                pids.push_back(launcher.process.pid());
        }
        Launcher& hitOne = launchers[round.hitLauncher];
        if (!hitDone && now >= hitAt) {
            hitDone = true;
            if (round.hit == Hit::Kill) {
                TerminateProcess(hitOne.process.handle(), 99);
                hitOne.killed = true;
            } else {
                freeze(hitOne.process.pid());
                hitOne.frozen = true;
            }
        }
        if (hitOne.killed && !result.killedWithinMs && !hitOne.process.running() &&
            now - hitAt <= kKillEndsWithinMs)
            result.killedWithinMs = now - hitAt;

        shown = shownWindows(pids);
        int windows = 0;
        for (Launcher& launcher : launchers) {
            bool hasWindow = launcher.started && shown.contains(launcher.process.pid());
            if (launcher.shown && !hasWindow && !launcher.killed)
                ++result.windowsTakenAway;
            launcher.shown = hasWindow;
            launcher.everShown = launcher.everShown || hasWindow;
            windows += hasWindow && !launcher.killed;
        }
        result.mostWindowsAtOnce = std::max(result.mostWindowsAtOnce, windows);
        result.windows = windows;

        if (!hitDone || !launchers.back().started) {
            Sleep(2);
            continue;
        }
        // Settled when nothing can change any more: no launcher is left starting, and the
        // killed one is gone.
        bool othersGone = true;
        bool othersGaveWay = true;
        for (Launcher& launcher : launchers) {
            if (!launcher.killed && (launcher.shown || launcher.frozen))
                continue;
            std::optional<DWORD> code = launcher.process.wait(0);
            othersGone = othersGone && code;
            othersGaveWay = othersGaveWay && (launcher.killed || code == std::optional<DWORD>(0));
        }
        DWORD since = now - settleFrom;
        if (othersGone) {
            result.gameStarts = install.gameStarts().size();
            result.settled = (windows == 1 && result.gameStarts == 0) ||
                             (windows == 0 && result.gameStarts == 1) ||
                             (windows == 0 && hitOne.killed && hitOne.everShown && othersGaveWay);
            result.settledAfterMs = since;
            break;
        }
        if (since > limitMs)
            break;
        Sleep(2);
    }

    for (size_t i = 0; i < launchers.size(); ++i) {
        Launcher& launcher = launchers[i];
        result.states.push_back(stateOf(launcher, launcher.shown));
        if (!launcher.killed && launcher.process.wait(0) == std::optional<DWORD>(1))
            ++result.endedAsStuck;
    }
    if (!result.settled)
        result.gameStarts = install.gameStarts().size();
    for (const auto& [pid, window] : shown)
        PostMessageW(window, WM_CLOSE, 0, 0);
    for (Launcher& launcher : launchers) {
        if (!launcher.frozen)
            launcher.process.wait(3000);
        launcher.process.kill();
    }
    return result;
}

std::string RaceResult::problem() const {
    if (mostWindowsAtOnce > 1)
        return "two windows at once";
    if (windowsTakenAway > 0)
        return "a window shown and taken away";
    if (round.hit == Hit::Kill && !killedWithinMs)
        return "the killed launcher took longer than a second to end";
    if (settled)
        return "";
    if (windows == 0 && gameStarts == 0)
        return "no window and no game";
    return "not settled: a launcher still waiting or more than one of window and game";
}

std::string RaceResult::line() const {
    std::string text = std::to_string(round.gapsMs.size() + 1) + " launchers, gaps";
    for (DWORD gap : round.gapsMs)
        text += " " + std::to_string(gap);
    text += " ms";
    if (round.hit != Hit::None)
        text += std::string(round.hit == Hit::Kill ? ", killed" : ", frozen") + " #" +
                std::to_string(round.hitLauncher + 1) + " " + std::to_string(round.hitAtMs) +
                " ms after its start" +
                (killedWithinMs ? ", gone " + std::to_string(*killedWithinMs) + " ms later" : "");
    text += " | " +
            (settled ? "settled after " + std::to_string(settledAfterMs) + " ms"
                     : std::string("not settled")) +
            " | windows " + std::to_string(windows) + " | game starts " +
            std::to_string(gameStarts) + " |";
    for (size_t i = 0; i < states.size(); ++i)
        text += " #" + std::to_string(i + 1) + " " + states[i];
    std::string wrong = problem();
    return wrong.empty() ? text : text + "  <- " + wrong;
}

} // namespace release_tests

// Starts two launchers from one install folder, the second 0 to MAX-GAP ms after the
// first, and reports per round what remained: visible windows titled "Vantorra", live
// launchers, their exit codes and game starts; and, watched every few milliseconds while
// they start, whether both ever showed a window at once and whether the launcher that gave
// way ever showed one. Driven by tools/race-launchers.sh.
//
//   RaceProbe [rounds=20] [max-gap-ms=300] [seed=time] [settle-ms=4000]
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

struct WindowCount {
    std::vector<DWORD> owners;
    int visible = 0;
};

struct WindowSearch {
    DWORD first;
    DWORD second;
    WindowCount* count;
};

BOOL CALLBACK countWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->first && owner != search->second)
        return TRUE;
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (IsWindowVisible(window) && wcscmp(title, L"Vantorra") == 0) {
        ++search->count->visible;
        search->count->owners.push_back(owner);
    }
    return TRUE;
}

WindowCount launcherWindows(DWORD first, DWORD second) {
    WindowCount count;
    WindowSearch search = {first, second, &count};
    EnumWindows(countWindow, reinterpret_cast<LPARAM>(&search));
    return count;
}

BOOL CALLBACK closeWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->first || owner == search->second)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// "running", or the exit code: 1 from a launcher means it was ended by the other one
// (or by its last-resort handler, which then starts the game).
std::string state(ChildProcess& launcher) {
    std::optional<DWORD> code = launcher.wait(0);
    return code ? "exit " + std::to_string(*code) : "running";
}

std::string boxOf(ChildProcess& launcher) {
    auto box = launcher.running() ? closeMessageBox(launcher.pid(), 0) : std::nullopt;
    return box ? " box \"" + box->caption + ": " + box->text + "\"" : "";
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    uint32_t maxGap = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 300;
    uint32_t seed = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10))
                             : static_cast<uint32_t>(GetTickCount());
    DWORD settleMs = argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 4000;
    std::mt19937 random(seed);
    std::printf("%d rounds, gaps 0-%u ms, seed %u, settle %lu ms\n", rounds, maxGap, seed,
                settleMs);

    int exactlyOne = 0;
    int nothingLeft = 0;
    int twoAtOnce = 0;
    int flashes = 0;
    for (int round = 1; round <= rounds; ++round) {
        InstallFolder install;
        DWORD gap = random() % (maxGap + 1);
        ChildProcess first(install.launcher(), L"", install.path());
        Sleep(gap);
        ChildProcess second(install.launcher(), L"", install.path());

        // Until both have ended, or a window had time to show; meanwhile who shows a window.
        bool shown[2] = {false, false};
        int atOnce = 0;
        for (DWORD start = GetTickCount();
             (first.running() || second.running()) && GetTickCount() - start < settleMs;) {
            WindowCount now = launcherWindows(first.pid(), second.pid());
            atOnce = std::max(atOnce, now.visible);
            for (DWORD owner : now.owners) {
                shown[0] = shown[0] || owner == first.pid();
                shown[1] = shown[1] || owner == second.pid();
            }
            Sleep(2);
        }
        WindowCount windows = launcherWindows(first.pid(), second.pid());
        // Whoever has no window in the end gave way: it must never have shown one.
        bool flashed = false;
        for (int which = 0; which < 2; ++which) {
            DWORD pid = which == 0 ? first.pid() : second.pid();
            bool hasWindow = std::find(windows.owners.begin(), windows.owners.end(), pid) !=
                             windows.owners.end();
            flashed = flashed || (shown[which] && !hasWindow);
        }
        flashes += flashed;
        twoAtOnce += atOnce > 1;
        int alive = first.running() + second.running();
        size_t starts = install.gameStarts().size();
        std::string firstState = state(first) + boxOf(first);
        std::string secondState = state(second) + boxOf(second);

        exactlyOne += windows.visible == 1;
        bool nothing = windows.visible == 0 && starts == 0;
        nothingLeft += nothing;
        std::printf("round %2d: gap %3lu ms | windows %d | launchers alive %d | game starts %zu"
                    " | first %s | second %s%s%s%s\n",
                    round, gap, windows.visible, alive, starts, firstState.c_str(),
                    secondState.c_str(), nothing ? "  <- no window, no game" : "",
                    atOnce > 1 ? "  <- two windows at once" : "",
                    flashed ? "  <- the one that gave way showed a window" : "");
        std::fflush(stdout);

        WindowSearch search = {first.pid(), second.pid(), nullptr};
        EnumWindows(closeWindow, reinterpret_cast<LPARAM>(&search));
        first.wait(1000);
        second.wait(1000);
        // The install folder's removal ends whatever is left in it.
    }
    std::printf("exactly one launcher window in %d of %d rounds; no window and no game in %d; "
                "two windows at once in %d; a window shown by the launcher that gave way in %d\n",
                exactlyOne, rounds, nothingLeft, twoAtOnce, flashes);
    return 0;
}

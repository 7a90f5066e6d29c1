// Rounds of launchers started from one install folder 0 to MAX-GAP ms apart, one line per
// round and the counts at the end: in how many the player was left with exactly one
// launcher window or the game, with nothing, with two windows at once, with a window that
// was shown and taken away. KIND is "two" or "three" launchers, or "kill" / "freeze": two
// launchers, one of them ended (TerminateProcess) or frozen (every thread suspended, as a
// hang would stop it) 0 to 400 ms after its start. Driven by tools/race-launchers.sh.
//
//   RaceProbe [kind=two] [rounds=20] [max-gap-ms=300] [seed=time]
#include "tests/release/LauncherRace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace release_tests;

int main(int argc, char** argv) {
    std::string kind = argc > 1 ? argv[1] : "two";
    int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    auto maxGap = static_cast<DWORD>(argc > 3 ? std::atoi(argv[3]) : 300);
    uint32_t seed = argc > 4 ? static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10))
                             : static_cast<uint32_t>(GetTickCount());
    size_t launchers = kind == "three" ? 3 : 2;
    Hit hit = kind == "kill" ? Hit::Kill : kind == "freeze" ? Hit::Freeze : Hit::None;
    if (kind != "two" && kind != "three" && hit == Hit::None) {
        std::fprintf(stderr, "kind: two, three, kill or freeze\n");
        return 2;
    }
    DWORD limitMs = hit == Hit::Freeze ? 10000 : 5000;
    std::printf("%s: %d rounds, gaps 0-%lu ms, seed %u, settling within %lu ms\n", kind.c_str(),
                rounds, maxGap, seed, limitMs);

    Random random(seed);
    int good = 0, nothing = 0, twoAtOnce = 0, takenAway = 0, unsettled = 0, slowKill = 0;
    int endedAsStuck = 0, leftNothingAfterKill = 0;
    std::vector<DWORD> settleTimes;
    for (int round = 1; round <= rounds; ++round) {
        RaceResult result = runRace(randomRound(random, launchers, hit, maxGap), limitMs);
        std::printf("round %3d: %s\n", round, result.line().c_str());
        std::fflush(stdout);
        std::string problem = result.problem();
        good += problem.empty();
        nothing += !result.settled && result.windows == 0 && result.gameStarts == 0;
        twoAtOnce += result.mostWindowsAtOnce > 1;
        takenAway += result.windowsTakenAway > 0;
        unsettled += !result.settled;
        slowKill += hit == Hit::Kill && !result.killedWithinMs;
        endedAsStuck += result.endedAsStuck;
        leftNothingAfterKill += result.settled && result.windows == 0 && result.gameStarts == 0;
        if (result.settled)
            settleTimes.push_back(result.settledAfterMs);
    }
    std::sort(settleTimes.begin(), settleTimes.end());
    DWORD median = settleTimes.empty() ? 0 : settleTimes[settleTimes.size() / 2];
    DWORD longest = settleTimes.empty() ? 0 : settleTimes.back();
    std::printf("%s: %d rounds; exactly one window or the game: %d; no window and no game: %d; "
                "two windows at once: %d; a window shown and taken away: %d; not settled in "
                "time: %d",
                kind.c_str(), rounds, good, nothing, twoAtOnce, takenAway, unsettled);
    if (hit == Hit::Kill)
        std::printf("; killed launcher not gone within a second: %d; its window the last one "
                    "the player had: %d",
                    slowKill, leftNothingAfterKill);
    std::printf("; launchers ended as stuck by another: %d; settled after median %lu ms, "
                "longest %lu ms\n",
                endedAsStuck, median, longest);
    return good == rounds ? 0 : 1;
}

#pragma once
// Launchers of one install folder started close together, one of them perhaps ended or
// frozen (as a hang would leave it) while it starts, watched every few milliseconds: what
// the player is left with. Shared by the race test and RaceProbe (tools/race-launchers.sh).
#include "tests/release/ConfigCorpus.h"
#include "tests/support/TestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace release_tests {

enum class Hit { None, Kill, Freeze };

struct RaceRound {
    // The pause before each launcher after the first.
    std::vector<DWORD> gapsMs;
    Hit hit = Hit::None;
    size_t hitLauncher = 0;
    // After the hit launcher's own start.
    DWORD hitAtMs = 0;
};

// `launchers` launchers 0 to `maxGapMs` apart; with a hit, one of them hit 0 to 400 ms
// after its start.
RaceRound randomRound(Random& random, size_t launchers, Hit hit, DWORD maxGapMs);

struct RaceResult {
    RaceRound round;
    // One launcher window or one game, every other launcher gone (or frozen without a
    // window); after a kill also nothing, when the ended launcher had shown its window and
    // the others gave way to it.
    bool settled = false;
    // From the last start or the hit, whichever came later.
    DWORD settledAfterMs = 0;
    int windows = 0;
    size_t gameStarts = 0;
    int mostWindowsAtOnce = 0;
    // Launchers whose window went away while watched (the one ended by the probe aside).
    int windowsTakenAway = 0;
    // How long the killed launcher took to end; empty when it did not end within a second.
    std::optional<DWORD> killedWithinMs;
    // Launchers that ended with exit code 1 without being killed: ended as stuck by another.
    int endedAsStuck = 0;
    std::vector<std::string> states;

    // Empty when the player was left with what they must be; otherwise what went wrong.
    std::string problem() const;
    std::string line() const;
};

// Runs the round in a fresh install folder; gives the end state `limitMs` to settle.
RaceResult runRace(const RaceRound& round, DWORD limitMs);

} // namespace release_tests

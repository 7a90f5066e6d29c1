// Launchers of one folder started 0 to 300 ms apart, or one of them killed or frozen while
// it starts: in every round exactly one launcher window (or the game) within a bounded time,
// never two at once, and no window shown and then taken away. tools/race-launchers.sh runs
// hundreds of such rounds.
#include "tests/release/LauncherRace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

using namespace release_tests;

namespace {

// Launchers, the hit, rounds.
using RaceKind = std::tuple<size_t, Hit, int>;

class LauncherRace : public ::testing::TestWithParam<RaceKind> {};

} // namespace

TEST_P(LauncherRace, LeavesExactlyOneWindow) {
    auto [launchers, hit, rounds] = GetParam();
    auto seed = static_cast<uint32_t>(GetTickCount());
    std::printf("seed %u\n", seed);
    Random random(seed);
    // A frozen launcher that had committed to its window is ended after 5 s.
    DWORD limitMs = hit == Hit::Freeze ? 10000 : 5000;
    for (int round = 1; round <= rounds; ++round) {
        RaceResult result = runRace(randomRound(random, launchers, hit, 300), limitMs);
        std::printf("round %2d: %s\n", round, result.line().c_str());
        EXPECT_EQ(result.problem(), "") << "round " << round << ": " << result.line();
    }
}

INSTANTIATE_TEST_SUITE_P(StartedTogether, LauncherRace,
                         ::testing::Values(RaceKind{2, Hit::None, 12}, RaceKind{3, Hit::None, 12}));
INSTANTIATE_TEST_SUITE_P(HitWhileStarting, LauncherRace,
                         ::testing::Values(RaceKind{2, Hit::Kill, 10},
                                           RaceKind{2, Hit::Freeze, 6}));

# Release sweep: the built launcher in skip mode against many and against disturbed
# vantorra.ini files, and launchers racing each other (also the probe behind
# tools/race-launchers.sh).

add_library(release_test_support STATIC
    release/ConfigCorpus.cpp
    release/LauncherRace.cpp
    release/ReleaseSupport.cpp)
target_link_libraries(release_test_support PUBLIC vantorra_launcher test_support)

# These edit the player's real vantorra.ini, like the other skip-mode suites.
vantorra_add_test(release_save_sweep release/SaveSweepTest.cpp LIBS release_test_support)
set_tests_properties(release_save_sweep PROPERTIES RESOURCE_LOCK vantorra_roaming_ini)

vantorra_add_test(release_interference release/InterferenceTest.cpp LIBS release_test_support)
set_tests_properties(release_interference PROPERTIES RESOURCE_LOCK vantorra_roaming_ini)

# Launchers started close together, and ended or frozen while they start: a few dozen
# rounds here, hundreds in tools/race-launchers.sh, which runs RaceProbe in a session of
# its own.
vantorra_add_test(release_races release/RaceTest.cpp LIBS release_test_support)
add_executable(RaceProbe release/RaceProbe.cpp)
target_link_libraries(RaceProbe PRIVATE release_test_support)
add_dependencies(RaceProbe VantorraLauncher FakeGame32 FakeGame64)

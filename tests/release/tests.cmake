# Release sweep: the built launcher in skip mode against many and against disturbed
# vantorra.ini files, and the probe behind tools/race-launchers.sh.

add_library(release_test_support STATIC
    release/ConfigCorpus.cpp
    release/ReleaseSupport.cpp)
target_link_libraries(release_test_support PUBLIC vantorra_launcher test_support)

# These edit the player's real vantorra.ini, like the other skip-mode suites.
vantorra_add_test(release_save_sweep release/SaveSweepTest.cpp LIBS release_test_support)
set_tests_properties(release_save_sweep PROPERTIES RESOURCE_LOCK vantorra_roaming_ini)

vantorra_add_test(release_interference release/InterferenceTest.cpp LIBS release_test_support)
set_tests_properties(release_interference PROPERTIES RESOURCE_LOCK vantorra_roaming_ini)

# Not a test: tools/race-launchers.sh runs it in a session of its own.
add_executable(RaceProbe release/RaceProbe.cpp)
target_link_libraries(RaceProbe PRIVATE test_support)
add_dependencies(RaceProbe VantorraLauncher FakeGame32 FakeGame64)

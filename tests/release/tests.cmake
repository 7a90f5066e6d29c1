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
# The launchers read the player's vantorra.ini, which other suites hold or make huge meanwhile.
set_tests_properties(release_races PROPERTIES RESOURCE_LOCK vantorra_roaming_ini)
add_executable(RaceProbe release/RaceProbe.cpp)
target_link_libraries(RaceProbe PRIVATE release_test_support)
add_dependencies(RaceProbe VantorraLauncher FakeGame32 FakeGame64)

# The first frames of both windows, read from the display: at 96 DPI in the desktop session,
# at 144 DPI in that scale's session, each window alone on its display meanwhile.
set(firstFrames ${CMAKE_CURRENT_SOURCE_DIR}/release/first-frames.sh)
add_test(NAME release_first_frames COMMAND ${firstFrames} ${sessionDesktop} ${CMAKE_BINARY_DIR})
set_tests_properties(release_first_frames PROPERTIES FIXTURES_REQUIRED wine_desktop
                     RESOURCE_LOCK vantorra_foreground TIMEOUT 300)
add_test(NAME release_first_frames_dpi144
         COMMAND ${firstFrames} ${CMAKE_BINARY_DIR}/wine-session-dpi144 ${CMAKE_BINARY_DIR})
set_tests_properties(release_first_frames_dpi144 PROPERTIES FIXTURES_REQUIRED wine_dpi144
                     RESOURCE_LOCK wine_dpi144_display TIMEOUT 300)
set_property(TEST screens_launcher_tests_dpi144 APPEND PROPERTY RESOURCE_LOCK wine_dpi144_display)

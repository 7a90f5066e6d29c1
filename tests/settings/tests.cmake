# Settings: the game's configuration file, its format and the settings manager.

vantorra_add_test(settings_tests
    settings/ConfigFileTest.cpp
    settings/FileSafetyTest.cpp)

# The built launcher in skip mode edits the player's real vantorra.ini in the prefix's
# roaming folder, as other suites of the built launcher do: they never run at the same time.
vantorra_add_test(settings_skip_mode_tests settings/SkipModeTest.cpp)
set_property(TEST settings_skip_mode_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)

# The format fuzzer, built natively with clang; no Wine involved.
add_test(NAME settings_fuzz_config COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz-config.sh 60)
set_tests_properties(settings_fuzz_config PROPERTIES LABELS "fuzz;native" TIMEOUT 600)

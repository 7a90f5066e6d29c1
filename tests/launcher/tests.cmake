# The start-up, the launcher's own pictures and fonts, and its executable.

# Programs that end through the last-resort handlers.
add_executable(CrashProbe WIN32 launcher/CrashProbe.cpp)
target_link_libraries(CrashProbe PRIVATE vantorra_launcher)
target_link_options(CrashProbe PRIVATE -municode)
# A launcher stuck in its start with the claim of its folder.
add_executable(ClaimHolder WIN32 launcher/ClaimHolder.cpp)
target_link_libraries(ClaimHolder PRIVATE vantorra_launch)
target_link_options(ClaimHolder PRIVATE -municode)
add_executable(MissingPictureProbe WIN32 launcher/MissingPictureProbe.cpp)
target_link_libraries(MissingPictureProbe PRIVATE vantorra_launcher)
target_link_options(MissingPictureProbe PRIVATE -municode)

vantorra_add_test(startup_tests launcher/StartupTest.cpp FOREGROUND)
add_dependencies(startup_tests ClaimHolder)
set_property(TEST startup_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)

# The 32-bit warning needs the 32-bit build in a 32-bit Wine prefix of its own.
if(ownBits EQUAL 32)
    add_test(NAME startup_tests_win32
             COMMAND ${tools}/wine-run.sh ${session32} $<TARGET_FILE:startup_tests>
                     --gtest_filter=Win32Prefix.*)
    set_tests_properties(startup_tests_win32 PROPERTIES FIXTURES_REQUIRED wine32 TIMEOUT 600)
else()
    add_test(NAME startup_tests_win32
             COMMAND ${tools}/skip-test.sh
                     "the 32-bit Windows warning: an x64 build never runs on 32-bit Windows; the 32-bit build's tests cover it")
    set_tests_properties(startup_tests_win32 PROPERTIES SKIP_RETURN_CODE 77)
endif()

configure_file(launcher/Rows.png ${CMAKE_CURRENT_BINARY_DIR}/Rows.png COPYONLY)
vantorra_add_test(launcher_resource_tests launcher/ResourcesTest.cpp LIBS vantorra_resources)
add_dependencies(launcher_resource_tests MissingPictureProbe)

# The launcher must not pull in a DLL that Windows does not have, nor load at every start
# one that only some runs need.
add_test(NAME launcher_exe_imports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:VantorraLauncher>
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/launcher/CheckImports.cmake)
# Includes only downwards, between layers and between files.
add_test(NAME source_layers
         COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_CURRENT_SOURCE_DIR}/launcher/CheckLayers.cmake)
# They read the executable or the sources only: they run on the 32-bit build on every machine.
set_tests_properties(launcher_exe_imports source_layers PROPERTIES LABELS executable)

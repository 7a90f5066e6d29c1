# The options window in one process over scripted displays.
vantorra_add_test(screens_options_tests
    screens/OptionsWindowTest.cpp
    display/FakeDxgi.cpp
    LIBS vantorra_resources FOREGROUND)

# The main window in one process; the built launcher driven with synthesized input. Both
# write vantorra.ini: the in-process one a file of its own, the launcher the player's.
vantorra_add_test(screens_main_tests screens/MainWindowTest.cpp LIBS vantorra_resources FOREGROUND)
add_library(launcher_driver STATIC screens/LauncherDriver.cpp)
target_link_libraries(launcher_driver PUBLIC test_support)
vantorra_add_test(screens_launcher_tests screens/LauncherWindowTest.cpp
                  LIBS vantorra_resources launcher_driver oleacc oleaut32 shell32 FOREGROUND)
set_property(TEST screens_launcher_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)

# The built launcher at other display scales. Wine reads the scale when a prefix's programs
# start, so each runs in a session of its own, whose prefix has that scale; nothing else
# runs there.
foreach(dpi 120 144 192 288)
    set(session ${CMAKE_BINARY_DIR}/wine-session-dpi${dpi})
    add_test(NAME wine_dpi${dpi}_session_start
             COMMAND ${tools}/wine-session.sh start ${session} win64 ${wineLoader} ${dpi})
    set_tests_properties(wine_dpi${dpi}_session_start PROPERTIES FIXTURES_SETUP wine_dpi${dpi}
                         TIMEOUT 300)
    add_test(NAME wine_dpi${dpi}_session_stop COMMAND ${tools}/wine-session.sh stop ${session})
    set_tests_properties(wine_dpi${dpi}_session_stop PROPERTIES FIXTURES_CLEANUP wine_dpi${dpi})
    add_test(NAME screens_launcher_tests_dpi${dpi}
             COMMAND ${tools}/wine-run.sh ${session} $<TARGET_FILE:screens_launcher_tests>
                     --gtest_filter=OtherScale/*/${dpi})
    set_tests_properties(screens_launcher_tests_dpi${dpi} PROPERTIES
                         FIXTURES_REQUIRED wine_dpi${dpi} TIMEOUT 600)
endforeach()

# The built launcher driven by a controller alone: a stand-in winmm.dll and xinput1_4.dll
# (one source) that read the pads from a file the tests write, put into the desktop
# session's system folder while they run and loaded natively by this test's processes alone
# (Wine reads load orders from the environment a process starts with).
vantorra_add_test(screens_controller_tests screens/ControllerTest.cpp
                  LIBS launcher_driver FOREGROUND)
foreach(dll winmm xinput1_4)
    add_library(StandIn_${dll} SHARED support/StandInWinmm.cpp)
    set_target_properties(StandIn_${dll} PROPERTIES OUTPUT_NAME ${dll} PREFIX ""
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/standin)
    if(ownBits EQUAL 32)
        # Exported as joyGetPosEx, not joyGetPosEx@8.
        target_link_options(StandIn_${dll} PRIVATE -Wl,--kill-at)
    endif()
    add_dependencies(screens_controller_tests StandIn_${dll})
endforeach()
set_property(TEST screens_controller_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)
set_property(TEST screens_controller_tests APPEND PROPERTY ENVIRONMENT
             VANTORRA_DLL_OVERRIDES=winmm,xinput1_4=n)

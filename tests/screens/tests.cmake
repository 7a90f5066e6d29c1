# The options window in one process over scripted displays.
vantorra_add_test(screens_options_tests
    screens/OptionsWindowTest.cpp
    display/FakeDxgi.cpp
    LIBS vantorra_resources FOREGROUND)

# The main window in one process; the built launcher driven with synthesized input. Both
# write vantorra.ini: the in-process one a file of its own, the launcher the player's.
vantorra_add_test(screens_main_tests screens/MainWindowTest.cpp LIBS vantorra_resources FOREGROUND)
vantorra_add_test(screens_launcher_tests screens/LauncherWindowTest.cpp
                  LIBS vantorra_resources oleacc oleaut32 FOREGROUND)
set_property(TEST screens_launcher_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)

# The built launcher at other display scales. Wine reads the scale when a prefix's programs
# start, so each runs in a session of its own, whose prefix has that scale; nothing else
# runs there.
foreach(dpi 120 144 192)
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

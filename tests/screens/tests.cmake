# The options window in one process over scripted displays.
vantorra_add_test(screens_options_tests
    screens/OptionsWindowTest.cpp
    display/FakeDxgi.cpp
    LIBS vantorra_resources FOREGROUND)

# The main window in one process; the built launcher driven with synthesized input. Both
# write vantorra.ini: the in-process one a file of its own, the launcher the player's.
vantorra_add_test(screens_main_tests screens/MainWindowTest.cpp LIBS vantorra_resources FOREGROUND)
vantorra_add_test(screens_launcher_tests screens/LauncherWindowTest.cpp LIBS oleacc oleaut32
                  FOREGROUND)
set_property(TEST screens_launcher_tests APPEND PROPERTY RESOURCE_LOCK vantorra_roaming_ini)

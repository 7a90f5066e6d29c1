# Starting the game and the running-instance rules, against stand-in games.
vantorra_add_test(launch_tests
    launch/GameLaunchTest.cpp
    launch/RunningInstanceTest.cpp
    FOREGROUND OTHER_BITNESS)

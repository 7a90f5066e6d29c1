# Text conversions, the system error box and the controller's presses.
vantorra_add_test(platform_tests platform/TextTest.cpp platform/GamepadTest.cpp)

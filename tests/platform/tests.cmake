# Text conversions and the system error box.
vantorra_add_test(platform_tests platform/TextTest.cpp)

# Display enumeration (scripted DXGI), resolution rules and the settings model.
vantorra_add_test(display_tests
    display/FakeDxgi.cpp
    display/ModeListTest.cpp
    display/AdapterListTest.cpp
    display/ResolutionTest.cpp
    display/ConfigModelTest.cpp)
# Wine's own DXGI on the session's Xvfb screen.
vantorra_add_test(display_wine_dxgi_tests display/WineDxgiTest.cpp)

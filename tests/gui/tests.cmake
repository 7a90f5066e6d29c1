# The toolkit's tests: routing and the top-level window in one process.
vantorra_add_test(gui_tests gui/ObjectTest.cpp gui/WindowTest.cpp LIBS vantorra_resources FOREGROUND)
# The drop-down list.
vantorra_add_test(gui_combo_tests gui/ComboBoxTest.cpp FOREGROUND)
# Buttons, labels, images and groups.
vantorra_add_test(gui_control_tests gui/ControlsTest.cpp LIBS vantorra_resources FOREGROUND)

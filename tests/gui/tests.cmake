# The toolkit's tests: routing and the top-level window in one process, the pictures
# and fonts (with the executable's resources) in another.
vantorra_add_test(gui_tests gui/ObjectTest.cpp gui/WindowTest.cpp LIBS vantorra_resources FOREGROUND)
# The drop-down list.
vantorra_add_test(gui_combo_tests gui/ComboBoxTest.cpp FOREGROUND)
# Buttons, labels, images and groups.
vantorra_add_test(gui_control_tests gui/ControlsTest.cpp LIBS vantorra_resources FOREGROUND)

add_executable(MissingPictureProbe WIN32 gui/MissingPictureProbe.cpp)
target_link_libraries(MissingPictureProbe PRIVATE vantorra_core)
target_link_options(MissingPictureProbe PRIVATE -municode)
configure_file(gui/Rows.png ${CMAKE_CURRENT_BINARY_DIR}/Rows.png COPYONLY)
vantorra_add_test(gui_resource_tests gui/ResourcesTest.cpp LIBS vantorra_resources)
add_dependencies(gui_resource_tests MissingPictureProbe)

# Resources and toolkit must not pull in a DLL that Windows does not have.
add_test(NAME gui_exe_imports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:VantorraLauncher>
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/gui/CheckImports.cmake)
# Reads the executable only: runs on the 32-bit build on every machine.
set_tests_properties(gui_exe_imports PROPERTIES LABELS executable)

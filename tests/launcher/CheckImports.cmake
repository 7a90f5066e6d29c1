# cmake -DOBJDUMP=... -DEXE=... -P CheckImports.cmake
# The launcher ships as one file and imports exactly these Windows DLLs. DXGI, the
# joystick interface and the visual-style DLL load on first use: imported, they would load
# at every start, skip mode included.
cmake_policy(VERSION 3.25)
set(expected gdi32 kernel32 msimg32 msvcrt ole32 shell32 user32 version)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
set(imported)
foreach(entry IN LISTS names)
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL]" "\\1" dll "${entry}")
    string(TOLOWER "${dll}" dll)
    list(APPEND imported ${dll})
endforeach()
list(SORT imported)
list(REMOVE_DUPLICATES imported)
if(NOT imported STREQUAL expected)
    message(FATAL_ERROR "${EXE} imports [${imported}]; it must import exactly [${expected}]")
endif()
message(STATUS "imports ${imported}")

// A stand-in for the system's winmm.dll, put into a test prefix's system folder and loaded
// only by processes whose WINEDLLOVERRIDES say "winmm=n": its joystick function reads the
// pads from the file that VANTORRA_TEST_PADS names, anew at every call. One line a pad:
//   id buttons pov x y
// decimal numbers, the buttons as the bits of dwButtons, the hat in hundredths of a degree
// (65535 centred), the stick's axes from 0 to 65535. An id without a line is unplugged.
// Every read of pad 0 is counted in the shared memory "Local\VantorraTestPadReads", so that
// a test knows when the launcher has read what it wrote.
// Exports rather than imports the joystick function the system header declares.
#define _WINMM_
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>

namespace {

volatile LONG* readsOfPadZero() {
    static volatile LONG* counter = [] {
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(LONG), L"Local\\VantorraTestPadReads");
        void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)) : nullptr;
        return static_cast<volatile LONG*>(view);
    }();
    return counter;
}

MMRESULT readPad(UINT id, JOYINFOEX* info);

} // namespace

extern "C" __declspec(dllexport) MMRESULT WINAPI joyGetPosEx(UINT id, JOYINFOEX* info) {
    // Before the read: a count the test sees grow by one after its write belongs to a read
    // of what it wrote; grown by two, that read is over.
    if (id == 0 && readsOfPadZero())
        InterlockedIncrement(readsOfPadZero());
    return readPad(id, info);
}

namespace {

MMRESULT readPad(UINT id, JOYINFOEX* info) {
    if (!info || info->dwSize < sizeof(JOYINFOEX))
        return JOYERR_PARMS;
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VANTORRA_TEST_PADS", path, MAX_PATH))
        return JOYERR_UNPLUGGED;
    // Shared for writing too: the test rewrites the file while the launcher reads it.
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return JOYERR_UNPLUGGED;
    char text[4096] = {};
    DWORD got = 0;
    BOOL read = ReadFile(file, text, sizeof(text) - 1, &got, nullptr);
    CloseHandle(file);
    if (!read)
        return JOYERR_UNPLUGGED;
    text[got] = '\0';
    for (const char* line = text; *line;) {
        unsigned pad = 0;
        unsigned long buttons = 0, pov = 0, x = 0, y = 0;
        if (std::sscanf(line, "%u %lu %lu %lu %lu", &pad, &buttons, &pov, &x, &y) == 5 &&
            pad == id) {
            info->dwButtons = buttons;
            info->dwPOV = pov;
            info->dwXpos = x;
            info->dwYpos = y;
            info->dwZpos = info->dwRpos = info->dwUpos = info->dwVpos = 32767;
            info->dwButtonNumber = 0;
            for (unsigned long bits = buttons; bits; bits &= bits - 1)
                ++info->dwButtonNumber;
            return JOYERR_NOERROR;
        }
        while (*line && *line != '\n')
            ++line;
        if (*line)
            ++line;
    }
    return JOYERR_UNPLUGGED;
}

} // namespace

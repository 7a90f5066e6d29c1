// A stand-in for the system's winmm.dll and xinput1_4.dll, put into a test prefix's system
// folder under both names and loaded only by processes whose WINEDLLOVERRIDES say "=n" for
// them: its joystick and XInput functions read the pads from the file that
// VANTORRA_TEST_PADS names, anew at every call. One line a joystick:
//   id buttons pov x y [vendor product top hat]
// decimal numbers, the buttons as the bits of dwButtons, the hat in hundredths of a degree
// (65535 centred), the stick's axes from 0 to `top` (65535 unless given); vendor and
// product in hexadecimal (0 unless given), hat 0 for a device without one. One line an
// XInput pad, its buttons as the bits of wButtons:
//   x slot buttons
// An id or slot without a line is unplugged. Every read of joystick 0 is counted in the
// shared memory "Local\VantorraTestPadReads", and every read of XInput slot 0 in the number
// after it, so that a test knows when the launcher has read what it wrote.
// Exports rather than imports the joystick functions the system header declares.
#define _WINMM_
#include <windows.h>

#include <mmsystem.h>
#include <xinput.h>

#include <cstdio>
#include <cstring>

namespace {

// Before the read: a count the test sees grow by one after its write belongs to a read of
// what it wrote; grown by two, that read is over.
void countRead(int which) {
    static volatile LONG* counters = [] {
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            2 * sizeof(LONG), L"Local\\VantorraTestPadReads");
        void* view =
            mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 2 * sizeof(LONG)) : nullptr;
        return static_cast<volatile LONG*>(view);
    }();
    if (counters)
        InterlockedIncrement(counters + which);
}

struct Pad {
    unsigned long buttons = 0, pov = 0, x = 0, y = 0;
    unsigned vendor = 0, product = 0;
    unsigned long top = 65535, hat = 1;
};

// The line of joystick `id`, or with `xinput` of that XInput slot.
bool findPad(UINT id, bool xinput, Pad& pad) {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VANTORRA_TEST_PADS", path, MAX_PATH))
        return false;
    // Shared for writing too: the test rewrites the file while the launcher reads it.
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char text[4096] = {};
    DWORD got = 0;
    BOOL read = ReadFile(file, text, sizeof(text) - 1, &got, nullptr);
    CloseHandle(file);
    if (!read)
        return false;
    text[got] = '\0';
    for (const char* line = text; line && *line; line = std::strchr(line, '\n')) {
        line += *line == '\n';
        unsigned found = 0;
        pad = Pad{};
        bool matches = xinput ? std::sscanf(line, "x %u %lu", &found, &pad.buttons) == 2
                              : std::sscanf(line, "%u %lu %lu %lu %lu %x %x %lu %lu", &found,
                                            &pad.buttons, &pad.pov, &pad.x, &pad.y, &pad.vendor,
                                            &pad.product, &pad.top, &pad.hat) >= 5;
        if (matches && found == id)
            return true;
    }
    return false;
}

} // namespace

extern "C" __declspec(dllexport) MMRESULT WINAPI joyGetPosEx(UINT id, JOYINFOEX* info) {
    if (id == 0)
        countRead(0);
    Pad pad;
    if (!info || info->dwSize < sizeof(JOYINFOEX) || !findPad(id, false, pad))
        return JOYERR_UNPLUGGED;
    info->dwButtons = pad.buttons;
    info->dwPOV = pad.pov;
    info->dwXpos = pad.x;
    info->dwYpos = pad.y;
    info->dwZpos = info->dwRpos = info->dwUpos = info->dwVpos = pad.top / 2;
    info->dwButtonNumber = 0;
    for (unsigned long bits = pad.buttons; bits; bits &= bits - 1)
        ++info->dwButtonNumber;
    return JOYERR_NOERROR;
}

extern "C" __declspec(dllexport) MMRESULT WINAPI
    joyGetDevCapsW(UINT_PTR id, JOYCAPSW* caps, UINT size) {
    Pad pad;
    if (!caps || size < sizeof(JOYCAPSW) || !findPad(static_cast<UINT>(id), false, pad))
        return JOYERR_UNPLUGGED;
    *caps = {};
    caps->wMid = static_cast<WORD>(pad.vendor);
    caps->wPid = static_cast<WORD>(pad.product);
    caps->wXmax = caps->wYmax = static_cast<UINT>(pad.top);
    caps->wCaps = pad.hat ? JOYCAPS_HASPOV : 0;
    return JOYERR_NOERROR;
}

extern "C" __declspec(dllexport) DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
    if (slot == 0)
        countRead(1);
    Pad pad;
    if (!state || !findPad(slot, true, pad))
        return ERROR_DEVICE_NOT_CONNECTED;
    *state = {};
    state->Gamepad.wButtons = static_cast<WORD>(pad.buttons);
    return ERROR_SUCCESS;
}

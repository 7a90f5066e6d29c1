#include "gui/Joystick.h"

#include "launcher/SystemLibrary.h"

namespace VellGui {

MMRESULT WINAPI readSystemJoystick(UINT id, JOYINFOEX* info) {
    static const auto read = reinterpret_cast<JoystickReader>(
        reinterpret_cast<void*>(systemProcedure(L"winmm.dll", "joyGetPosEx")));
    return read ? read(id, info) : JOYERR_UNPLUGGED;
}

void pollJoysticks(const JoystickHandler& handler) {
    for (UINT id = 0; id < 16; ++id) {
        uint16_t bit = static_cast<uint16_t>(1u << id);
        if (!(joystickMask & bit))
            continue;
        JOYINFOEX record = {};
        record.dwSize = sizeof(record);
        record.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
        if (joystickReader(id, &record) != JOYERR_NOERROR) {
            joystickMask &= static_cast<uint16_t>(~bit);
            continue;
        }
        handler(record);
    }
}

} // namespace VellGui

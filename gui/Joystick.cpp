#include "gui/Joystick.h"

#include "platform/SystemHooks.h"

namespace VellGui {

void pollJoysticks(const JoystickHandler& handler) {
    for (UINT id = 0; id < 16; ++id) {
        uint16_t bit = static_cast<uint16_t>(1u << id);
        if (!(joystickMask & bit))
            continue;
        JOYINFOEX record = {};
        record.dwSize = sizeof(record);
        record.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
        if (systemHooks.readJoystick(id, &record) != JOYERR_NOERROR) {
            joystickMask &= static_cast<uint16_t>(~bit);
            continue;
        }
        handler(record);
    }
}

} // namespace VellGui

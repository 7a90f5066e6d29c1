#pragma once
// Game controllers 0 to 15 through the multimedia joystick interface, polled on the
// top-level window's timer.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <functional>

namespace VellGui {

using JoystickHandler = std::function<void(JOYINFOEX&)>;

// Bit n set: controller id n is still polled. An id that fails once is dropped for the
// rest of the run, so a machine without controllers pays for one tick only.
inline uint16_t joystickMask = 0xFFFF;

// Reads every controller still in the mask, in id order, and hands each record that
// was read to `handler`.
void pollJoysticks(const JoystickHandler& handler);

} // namespace VellGui

#pragma once
// Game controllers through the multimedia joystick interface and XInput, read as presses
// the way a keyboard delivers keys: an input acts when it goes down, and a direction held
// down repeats. Each pad is read by its own layout, and then the pads act as one.
#include "platform/PadLayout.h"

#include <windows.h>

#include <mmsystem.h>
#include <xinput.h>

#include <array>
#include <cstdint>
#include <vector>

// A set of inputs: bit n is PadInput n.
using PadInputs = uint16_t;
constexpr PadInputs inputBit(PadInput input) {
    return static_cast<PadInputs>(1u << static_cast<unsigned>(input));
}
constexpr PadInputs kDirections = inputBit(PadInput::Up) | inputBit(PadInput::Down) |
                                  inputBit(PadInput::Left) | inputBit(PadInput::Right);

// How often the pads are polled; 400 and 120 ms, the repeat times, are multiples of it.
constexpr UINT kGamepadPollMs = 40;
constexpr DWORD kRepeatDelayMs = 400;
constexpr DWORD kRepeatIntervalMs = 120;
// Controller ids that did not answer are asked again this often: a pad switched on late
// or plugged in again is noticed, and a machine without one pays 20 calls a second.
constexpr DWORD kSearchIntervalMs = 1000;
constexpr UINT kJoystickIds = 16;
constexpr DWORD kXInputSlots = 4;

// The flags the records are read with.
constexpr DWORD kPadReadFlags =
    JOY_RETURNBUTTONS | JOY_RETURNX | JOY_RETURNY | JOY_RETURNPOV | JOY_RETURNCENTERED;

// A joystick as its caps describe it, and how its stick has moved since it was found.
struct PadDevice {
    PadLayout layout;
    DWORD xMin = 0, xMax = 65535, yMin = 0, yMax = 65535;
    bool hasHat = true;
    bool alsoXInput = false;
    // Where the axes rested when the device was found: a pedal or a throttle rests at one
    // end. An axis counts only once it has left that value.
    DWORD restX = 32767, restY = 32767;
    bool xLeftRest = false, yLeftRest = false;
};

// The device its caps describe; without caps, an Xbox-style pad with a hat and the full
// range.
PadDevice padDevice(const JOYCAPSW* caps);

// What a record shows held: the buttons by the device's layout, and at most one direction:
// the hat's nearest where the device has one, or when it is centred, the left stick's past
// half its travel (the axis further out wins).
PadInputs heldInputs(const JOYINFOEX& record, PadDevice& device);
// The same for an XInput pad.
PadInputs heldInputs(const XINPUT_GAMEPAD& pad);

// Held inputs to presses, with the times of a held key. No system calls: the caller gives
// the time.
class PadPresses {
public:
    // The inputs that act now, in PadInput order. `fresh`: a new window is in front, and
    // whatever is held now acts only once released and pressed again.
    std::vector<PadInput> update(PadInputs held, DWORD nowMs, bool fresh = false);

private:
    PadInputs held_ = 0;
    PadInputs ignored_ = 0;
    DWORD repeatAt_ = 0; // when the direction held acts again
};

class Gamepad {
public:
    // Reads the controllers and gives what was pressed for `target`, the launcher's window
    // or message box in front. When the target changes, or after a pause in the polling
    // (the launcher was in the background), what is held waits for its release.
    std::vector<PadInput> poll(HWND target, DWORD nowMs);
    // The next poll asks every id.
    void searchNow() { searched_ = false; }

    // The player's last input came from a controller: the windows show its prompts. Set
    // by a press, cleared by the windows when the mouse or keyboard is used.
    bool inUse = false;
    // The family of the pad of the last press.
    PadFamily family = PadFamily::Xbox;

private:
    PadInputs read(DWORD nowMs);
    PadInputs readJoystick(UINT id, bool search, bool xinputPads);

    PadPresses presses_;
    std::array<PadDevice, kJoystickIds> devices_;
    // What each joystick id, then each XInput slot, held at the last read.
    std::array<PadInputs, kJoystickIds + kXInputSlots> heldBy_ = {};
    // Bit n: joystick id n (XInput slot n) answered at its last read; only these are read
    // at every poll.
    uint16_t present_ = 0;
    uint8_t xinputPresent_ = 0;
    HWND target_ = nullptr;
    DWORD lastPollMs_ = 0;
    DWORD lastSearchMs_ = 0;
    bool searched_ = false;
};

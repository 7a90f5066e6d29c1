#pragma once
// Game controllers through the multimedia joystick interface, read as presses the way a
// keyboard delivers keys: an input acts when it goes down, and a direction held down
// repeats. One set of controllers for the whole process, polled by whichever of the
// launcher's windows or message boxes is in front, on the user-interface thread.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <vector>

// The inputs of an Xbox-style pad as the joystick interface numbers them (A is button 1,
// B 2, X 3, Y 4, the bumpers 5 and 6, View 7, Menu 8), then the four directions of the
// d-pad or the left stick.
enum class PadInput : uint8_t {
    A,
    B,
    X,
    Y,
    LeftBumper,
    RightBumper,
    View,
    Menu,
    Up,
    Down,
    Left,
    Right
};
constexpr int kPadInputCount = 12;

// A set of inputs: bit n is PadInput n.
using PadInputs = uint16_t;
constexpr PadInputs inputBit(PadInput input) {
    return static_cast<PadInputs>(1u << static_cast<unsigned>(input));
}
constexpr PadInputs kDirections = inputBit(PadInput::Up) | inputBit(PadInput::Down) |
                                  inputBit(PadInput::Left) | inputBit(PadInput::Right);

// How often the windows poll; 400 and 120 ms, the repeat times, are multiples of it.
constexpr UINT kGamepadPollMs = 40;
constexpr DWORD kRepeatDelayMs = 400;
constexpr DWORD kRepeatIntervalMs = 120;
// Controller ids that did not answer are asked again this often: a pad switched on late
// or plugged in again is noticed, and a machine without one pays 16 calls a second.
constexpr DWORD kSearchIntervalMs = 1000;

// The flags the records are read with.
constexpr DWORD kPadReadFlags =
    JOY_RETURNBUTTONS | JOY_RETURNX | JOY_RETURNY | JOY_RETURNPOV | JOY_RETURNCENTERED;

// What a controller's record shows held: buttons 1 to 8, and at most one direction: the
// point-of-view hat's nearest, or when the hat is centred, the left stick's past half its
// travel (the axis further out wins).
PadInputs heldInputs(const JOYINFOEX& record);

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

    // The player's last input came from a controller: the windows show its prompts. Set
    // by a press, cleared by the windows when the mouse or keyboard is used.
    bool inUse = false;
    // Bit n: controller id n answered at its last read. Only these are read every poll.
    uint16_t present = 0;
    // Counts the polls: a caller whose input opened a loop of its own (which polled) knows
    // the rest of what it read is out of date.
    unsigned polls = 0;

private:
    PadInputs read(DWORD nowMs);

    PadPresses presses_;
    HWND target_ = nullptr;
    DWORD lastPollMs_ = 0;
    DWORD lastSearchMs_ = 0;
    bool searched_ = false;
};

// The controllers of the process.
inline Gamepad gamepad;

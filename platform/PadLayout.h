#pragma once
// Which joystick button is which on a pad. The joystick interface numbers a pad's buttons
// in the order its driver reports them, and that order differs by maker: the pad's USB
// vendor and product ids, which joyGetDevCaps reports, tell the family. Pure logic.
#include <cstdint>

// The pads whose buttons the launcher knows; any other pad numbers as an Xbox pad does.
enum class PadFamily : uint8_t { Xbox, PlayStation, Nintendo };

// A pad's inputs by what they do, named after the Xbox pad's buttons: A confirms, B goes
// back, Y is the top face button, X the left one, Menu is Start / Options / plus, View is
// Back / Share / minus; then the four directions of the d-pad or the left stick. On a
// Nintendo-style pad confirm is the button labelled A (on the right) and back the one
// labelled B, as its players expect.
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
constexpr int kPadButtonCount = 8; // the inputs before Up

struct PadLayout {
    PadFamily family = PadFamily::Xbox;
    // The joystick button number (1 for JOY_BUTTON1) of PadInput n, for n up to Menu.
    uint8_t number[kPadButtonCount] = {1, 2, 3, 4, 5, 6, 7, 8};
};

PadLayout padLayout(uint16_t vendor, uint16_t product);

// Pads that also show through XInput, where the launcher reads them in Xbox meaning.
bool isXInputPad(uint16_t vendor, uint16_t product);

// Controllers read as presses: what a record shows held, when a held input acts, and which
// controller ids are asked how often.
#include "platform/Gamepad.h"
#include "platform/SystemHooks.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr DWORD kCentre = 32767;

JOYINFOEX record(DWORD buttons, DWORD pov = JOY_POVCENTERED, DWORD x = kCentre, DWORD y = kCentre) {
    JOYINFOEX info = {};
    info.dwSize = sizeof(info);
    info.dwFlags = kPadReadFlags;
    info.dwButtons = buttons;
    info.dwPOV = pov;
    info.dwXpos = x;
    info.dwYpos = y;
    return info;
}

using Presses = std::vector<PadInput>;

// A stick whose caps give it a range of 0 to 255, and no hat.
PadDevice byteStick() {
    JOYCAPSW caps = {};
    caps.wXmax = caps.wYmax = 255;
    return padDevice(&caps);
}

struct HeldCase {
    const char* what;
    JOYINFOEX info;
    PadInputs held;
    PadDevice device = padDevice(nullptr);
};

class HeldInputs : public ::testing::TestWithParam<HeldCase> {};

TEST_P(HeldInputs, FromButtonsHatAndStick) {
    PadDevice pad = GetParam().device;
    EXPECT_EQ(heldInputs(GetParam().info, pad), GetParam().held) << GetParam().what;
}

constexpr PadInputs bits(std::initializer_list<PadInput> inputs) {
    PadInputs all = 0;
    for (PadInput input : inputs)
        all |= inputBit(input);
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Records, HeldInputs,
    ::testing::Values(HeldCase{"nothing", record(0), 0},
                      HeldCase{"A, Y and Menu; button 9 has no input",
                               record(JOY_BUTTON1 | JOY_BUTTON4 | JOY_BUTTON8 | JOY_BUTTON9),
                               bits({PadInput::A, PadInput::Y, PadInput::Menu})},
                      HeldCase{"hat up", record(0, 0), bits({PadInput::Up})},
                      HeldCase{"hat right", record(0, 9000), bits({PadInput::Right})},
                      HeldCase{"hat down", record(0, 18000), bits({PadInput::Down})},
                      HeldCase{"hat left", record(0, 27000), bits({PadInput::Left})},
                      HeldCase{"hat up-right goes right", record(0, 4500), bits({PadInput::Right})},
                      HeldCase{"hat just left of up", record(0, 35000), bits({PadInput::Up})},
                      HeldCase{"the hat wins over the stick", record(0, 18000, 65535, kCentre),
                               bits({PadInput::Down})},
                      HeldCase{"stick less than half out",
                               record(0, JOY_POVCENTERED, kCentre + 16000, kCentre), 0},
                      HeldCase{"stick right", record(0, JOY_POVCENTERED, 65535, kCentre),
                               bits({PadInput::Right})},
                      HeldCase{"stick up (y grows downwards)",
                               record(0, JOY_POVCENTERED, kCentre, 0), bits({PadInput::Up})},
                      HeldCase{"stick down-left, further down",
                               record(0, JOY_POVCENTERED, 10000, 65000), bits({PadInput::Down})},
                      HeldCase{"buttons and a direction together", record(JOY_BUTTON2, 27000),
                               bits({PadInput::B, PadInput::Left})},
                      HeldCase{"a stick of 0-255 at rest", record(0, JOY_POVCENTERED, 128, 128), 0,
                               byteStick()},
                      HeldCase{"a stick of 0-255 up", record(0, JOY_POVCENTERED, 128, 0),
                               bits({PadInput::Up}), byteStick()}));

TEST(PadPresses, ButtonsActOnceDirectionsRepeatLikeAHeldKey) {
    PadPresses presses;
    const PadInputs a = inputBit(PadInput::A);
    const PadInputs down = inputBit(PadInput::Down);
    EXPECT_EQ(presses.update(a, 0), Presses{PadInput::A});
    for (DWORD t = 40; t <= 2000; t += 40)
        EXPECT_TRUE(presses.update(a, t).empty()) << t;
    EXPECT_TRUE(presses.update(0, 2040).empty());
    EXPECT_EQ(presses.update(a, 2080), Presses{PadInput::A});

    // Down at 3000: again at 3400, then every 120 ms.
    std::vector<DWORD> acted;
    for (DWORD t = 3000; t <= 3800; t += 40) {
        for (PadInput input : presses.update(down, t)) {
            EXPECT_EQ(input, PadInput::Down);
            acted.push_back(t);
        }
    }
    EXPECT_EQ(acted, (std::vector<DWORD>{3000, 3400, 3520, 3640, 3760}));
    // Polls that come late give one repeat each, not the ones missed.
    EXPECT_EQ(presses.update(down, 5000), Presses{PadInput::Down});
    EXPECT_TRUE(presses.update(down, 5040).empty());
    // Another direction starts over.
    EXPECT_EQ(presses.update(inputBit(PadInput::Up), 5080), Presses{PadInput::Up});
    EXPECT_TRUE(presses.update(inputBit(PadInput::Up), 5400).empty());
}

TEST(PadPresses, WhatIsHeldWhenAWindowOpensWaitsForItsRelease) {
    PadPresses presses;
    const PadInputs held = inputBit(PadInput::A) | inputBit(PadInput::Down);
    EXPECT_TRUE(presses.update(held, 0, true).empty());
    for (DWORD t = 40; t <= 1000; t += 40)
        EXPECT_TRUE(presses.update(held, t).empty()) << "no press, no repeat at " << t;
    // B pressed meanwhile acts; the others still wait.
    EXPECT_EQ(presses.update(held | inputBit(PadInput::B), 1040), Presses{PadInput::B});
    EXPECT_TRUE(presses.update(inputBit(PadInput::Down), 1080).empty());
    EXPECT_EQ(presses.update(inputBit(PadInput::Down) | inputBit(PadInput::A), 1120),
              Presses{PadInput::A});
    EXPECT_TRUE(presses.update(0, 1160).empty());
    EXPECT_EQ(presses.update(inputBit(PadInput::Down), 1200), Presses{PadInput::Down});
}

// Controllers by id: whether each answers, and what it holds.
std::map<UINT, DWORD> plugged;
std::vector<UINT> asked;
MMRESULT WINAPI fakePads(UINT id, JOYINFOEX* info) {
    asked.push_back(id);
    auto found = plugged.find(id);
    if (found == plugged.end())
        return JOYERR_UNPLUGGED;
    EXPECT_EQ(info->dwSize, sizeof(JOYINFOEX));
    EXPECT_EQ(info->dwFlags, kPadReadFlags);
    info->dwButtons = found->second;
    info->dwPOV = JOY_POVCENTERED;
    info->dwXpos = info->dwYpos = kCentre;
    return JOYERR_NOERROR;
}

class GamepadReads : public ::testing::Test {
protected:
    void SetUp() override {
        plugged.clear();
        asked.clear();
        systemHooks.readJoystick = fakePads;
    }
    void TearDown() override { systemHooks = SystemHooks{}; }

    std::vector<UINT> askedAt(Gamepad& pad, HWND target, DWORD t, Presses* pressed = nullptr) {
        asked.clear();
        Presses got = pad.poll(target, t);
        if (pressed)
            *pressed = got;
        return asked;
    }

    const std::vector<UINT> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    HWND window = reinterpret_cast<HWND>(0x1000);
};

TEST_F(GamepadReads, AbsentIdsAreAskedOnceASecondAndLatePadsAreFound) {
    Gamepad pad;
    EXPECT_EQ(askedAt(pad, window, 0), all);
    for (DWORD t = 40; t < 1000; t += 40)
        EXPECT_TRUE(askedAt(pad, window, t).empty()) << "no call per poll without pads, at " << t;
    EXPECT_EQ(askedAt(pad, window, 1000), all);

    // Switched on late, with B down: found at the next search; B held since before it was
    // found still counts as a press, for the window in front did not change.
    plugged[3] = JOY_BUTTON2;
    Presses pressed;
    EXPECT_TRUE(askedAt(pad, window, 1040).empty());
    EXPECT_EQ(askedAt(pad, window, 2000, &pressed), all);
    EXPECT_EQ(pressed, Presses{PadInput::B});
    EXPECT_TRUE(pad.inUse);
    EXPECT_EQ(askedAt(pad, window, 2040), std::vector<UINT>{3});

    // Unplugged, and in again: read once more after the next search.
    plugged.clear();
    EXPECT_EQ(askedAt(pad, window, 2080), std::vector<UINT>{3});
    EXPECT_TRUE(askedAt(pad, window, 2120).empty());
    plugged[3] = JOY_BUTTON1;
    EXPECT_EQ(askedAt(pad, window, 3000, &pressed), all);
    EXPECT_EQ(pressed, Presses{PadInput::A});
}

TEST_F(GamepadReads, PadsActAsOneAndANewTargetWaitsForRelease) {
    plugged = {{0, JOY_BUTTON1}, {7, 0}};
    Gamepad pad;
    Presses pressed;
    askedAt(pad, window, 0, &pressed);
    EXPECT_TRUE(pressed.empty()) << "A held when the first window is polled";
    plugged[7] = JOY_BUTTON2;
    askedAt(pad, window, 40, &pressed);
    EXPECT_EQ(pressed, Presses{PadInput::B});

    // A message box in front: A and B are both still down.
    HWND box = reinterpret_cast<HWND>(0x2000);
    askedAt(pad, box, 80, &pressed);
    EXPECT_TRUE(pressed.empty());
    plugged[0] = 0;
    askedAt(pad, box, 120, &pressed);
    plugged[0] = JOY_BUTTON1;
    askedAt(pad, box, 160, &pressed);
    EXPECT_EQ(pressed, Presses{PadInput::A});

    // After a pause of the polling (the launcher was in the background): what is held
    // waits again.
    plugged[0] = 0;
    askedAt(pad, box, 200, &pressed);
    plugged[0] = JOY_BUTTON1;
    askedAt(pad, box, 5000, &pressed);
    EXPECT_TRUE(pressed.empty());
}

} // namespace

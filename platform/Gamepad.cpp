#include "platform/Gamepad.h"

#include "platform/SystemHooks.h"

#include <cstdlib>

namespace {

// The axes run from 0 to 65535 with the neutral point in the middle; a direction counts
// once the stick is past half of its way out.
constexpr long kAxisCentre = 32767;
constexpr long kAxisThreshold = 16384;
// Longer than any gap between two polls of a window in front, short of what a player
// notices: after it, what is held counts as held since before.
constexpr DWORD kPollPauseMs = 1000;

constexpr PadInput kSectors[] = {PadInput::Up, PadInput::Right, PadInput::Down, PadInput::Left};

bool reached(DWORD nowMs, DWORD atMs) {
    return static_cast<LONG>(nowMs - atMs) >= 0;
}

} // namespace

// https://learn.microsoft.com/windows/win32/api/joystickapi/ns-joystickapi-joyinfoex
PadInputs heldInputs(const JOYINFOEX& record) {
    PadInputs held = static_cast<PadInputs>(record.dwButtons & 0xFF);
    if ((record.dwFlags & JOY_RETURNPOV) && record.dwPOV < 36000) {
        // Hundredths of a degree clockwise from up; a diagonal goes to the next quarter.
        return held | inputBit(kSectors[((record.dwPOV + 4500) / 9000) % 4]);
    }
    if (record.dwFlags & (JOY_RETURNX | JOY_RETURNY)) {
        long dx =
            (record.dwFlags & JOY_RETURNX) ? static_cast<long>(record.dwXpos) - kAxisCentre : 0;
        long dy =
            (record.dwFlags & JOY_RETURNY) ? static_cast<long>(record.dwYpos) - kAxisCentre : 0;
        if (std::labs(dx) > kAxisThreshold || std::labs(dy) > kAxisThreshold) {
            if (std::labs(dx) > std::labs(dy))
                held |= inputBit(dx > 0 ? PadInput::Right : PadInput::Left);
            else
                held |= inputBit(dy > 0 ? PadInput::Down : PadInput::Up);
        }
    }
    return held;
}

std::vector<PadInput> PadPresses::update(PadInputs held, DWORD nowMs, bool fresh) {
    std::vector<PadInput> pressed;
    if (fresh)
        ignored_ = held;
    // Released inputs act again at their next press.
    ignored_ &= held;
    PadInputs active = held & ~ignored_;
    PadInputs down = active & ~held_;
    held_ = held;
    for (int n = 0; n < kPadInputCount; ++n) {
        if (down & (1u << n))
            pressed.push_back(static_cast<PadInput>(n));
    }

    PadInputs direction = active & kDirections;
    if (direction & down) {
        repeatAt_ = nowMs + kRepeatDelayMs;
    } else if (direction && reached(nowMs, repeatAt_)) {
        for (int n = 0; n < kPadInputCount; ++n) {
            if (direction & (1u << n))
                pressed.push_back(static_cast<PadInput>(n));
        }
        repeatAt_ += kRepeatIntervalMs;
        // Polls that came late do not pile up repeats.
        if (reached(nowMs, repeatAt_))
            repeatAt_ = nowMs + kRepeatIntervalMs;
    }
    return pressed;
}

PadInputs Gamepad::read(DWORD nowMs) {
    bool search = !searched_ || reached(nowMs, lastSearchMs_ + kSearchIntervalMs);
    if (search) {
        searched_ = true;
        lastSearchMs_ = nowMs;
    }
    PadInputs held = 0;
    for (UINT id = 0; id < 16; ++id) {
        auto bit = static_cast<uint16_t>(1u << id);
        if (!(present & bit) && !search)
            continue;
        JOYINFOEX record = {};
        record.dwSize = sizeof(record);
        record.dwFlags = kPadReadFlags;
        if (systemHooks.readJoystick(id, &record) != JOYERR_NOERROR) {
            present &= static_cast<uint16_t>(~bit);
            continue;
        }
        present |= bit;
        // Several pads act as one.
        held |= heldInputs(record);
    }
    return held;
}

std::vector<PadInput> Gamepad::poll(HWND target, DWORD nowMs) {
    ++polls;
    PadInputs held = read(nowMs);
    bool fresh = target != target_ || !reached(lastPollMs_ + kPollPauseMs, nowMs);
    target_ = target;
    lastPollMs_ = nowMs;
    std::vector<PadInput> pressed = presses_.update(held, nowMs, fresh);
    if (!pressed.empty())
        inUse = true;
    return pressed;
}

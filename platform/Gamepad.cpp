#include "platform/Gamepad.h"

#include "platform/SystemHooks.h"

#include <cstdlib>

namespace {

// A stick counts once past half of its way out from the centre, an axis has left its rest
// once it is an eighth of its range away from it.
constexpr int kThresholdDivisor = 4;
constexpr int kRestDivisor = 8;
constexpr SHORT kThumbThreshold = 16384;
// Longer than any gap between two polls of a window in front, short of what a player
// notices: after it, what is held counts as held since before.
constexpr DWORD kPollPauseMs = 1000;

constexpr PadInput kSectors[] = {PadInput::Up, PadInput::Right, PadInput::Down, PadInput::Left};

bool reached(DWORD nowMs, DWORD atMs) {
    return static_cast<LONG>(nowMs - atMs) >= 0;
}

// How far out the axis is from its centre, 0 until it has left its rest.
long axisOffset(DWORD value, DWORD low, DWORD high, DWORD rest, bool& leftRest) {
    long range = static_cast<long>(high) - static_cast<long>(low);
    if (range <= 0)
        return 0;
    if (std::labs(static_cast<long>(value) - static_cast<long>(rest)) > range / kRestDivisor)
        leftRest = true;
    if (!leftRest)
        return 0;
    long offset = static_cast<long>(value) - (static_cast<long>(low) + range / 2);
    return std::labs(offset) > range / kThresholdDivisor ? offset : 0;
}

PadInputs stickDirection(long dx, long dy) {
    if (dx == 0 && dy == 0)
        return 0;
    if (std::labs(dx) > std::labs(dy))
        return inputBit(dx > 0 ? PadInput::Right : PadInput::Left);
    return inputBit(dy > 0 ? PadInput::Down : PadInput::Up);
}

} // namespace

// https://learn.microsoft.com/windows/win32/api/joystickapi/ns-joystickapi-joycapsw
PadDevice padDevice(const JOYCAPSW* caps) {
    PadDevice device;
    if (!caps)
        return device;
    device.layout = padLayout(caps->wMid, caps->wPid);
    device.alsoXInput = isXInputPad(caps->wMid, caps->wPid);
    device.xMin = caps->wXmin;
    device.xMax = caps->wXmax;
    device.yMin = caps->wYmin;
    device.yMax = caps->wYmax;
    device.hasHat = (caps->wCaps & JOYCAPS_HASPOV) != 0;
    device.restX = (caps->wXmin + caps->wXmax) / 2;
    device.restY = (caps->wYmin + caps->wYmax) / 2;
    return device;
}

// https://learn.microsoft.com/windows/win32/api/joystickapi/ns-joystickapi-joyinfoex
PadInputs heldInputs(const JOYINFOEX& record, PadDevice& device) {
    PadInputs held = 0;
    for (int n = 0; n < kPadButtonCount; ++n) {
        if (record.dwButtons & (1u << (device.layout.number[n] - 1)))
            held |= static_cast<PadInputs>(1u << n);
    }
    if (device.hasHat && (record.dwFlags & JOY_RETURNPOV) && record.dwPOV < 36000) {
        // Hundredths of a degree clockwise from up; a diagonal goes to the next quarter.
        return held | inputBit(kSectors[((record.dwPOV + 4500) / 9000) % 4]);
    }
    long dx = (record.dwFlags & JOY_RETURNX) ? axisOffset(record.dwXpos, device.xMin, device.xMax,
                                                          device.restX, device.xLeftRest)
                                             : 0;
    long dy = (record.dwFlags & JOY_RETURNY) ? axisOffset(record.dwYpos, device.yMin, device.yMax,
                                                          device.restY, device.yLeftRest)
                                             : 0;
    return held | stickDirection(dx, dy);
}

// https://learn.microsoft.com/windows/win32/api/xinput/ns-xinput-xinput_gamepad
PadInputs heldInputs(const XINPUT_GAMEPAD& pad) {
    struct Flag {
        WORD bit;
        PadInput input;
    };
    static constexpr Flag kFlags[] = {
        {XINPUT_GAMEPAD_A, PadInput::A},
        {XINPUT_GAMEPAD_B, PadInput::B},
        {XINPUT_GAMEPAD_X, PadInput::X},
        {XINPUT_GAMEPAD_Y, PadInput::Y},
        {XINPUT_GAMEPAD_LEFT_SHOULDER, PadInput::LeftBumper},
        {XINPUT_GAMEPAD_RIGHT_SHOULDER, PadInput::RightBumper},
        {XINPUT_GAMEPAD_BACK, PadInput::View},
        {XINPUT_GAMEPAD_START, PadInput::Menu},
    };
    PadInputs held = 0;
    for (const Flag& flag : kFlags) {
        if (pad.wButtons & flag.bit)
            held |= inputBit(flag.input);
    }
    static constexpr Flag kPad[] = {{XINPUT_GAMEPAD_DPAD_UP, PadInput::Up},
                                    {XINPUT_GAMEPAD_DPAD_RIGHT, PadInput::Right},
                                    {XINPUT_GAMEPAD_DPAD_DOWN, PadInput::Down},
                                    {XINPUT_GAMEPAD_DPAD_LEFT, PadInput::Left}};
    for (const Flag& flag : kPad) {
        if (pad.wButtons & flag.bit)
            return held | inputBit(flag.input);
    }
    auto out = [](SHORT value) { return std::abs(value) > kThumbThreshold ? long{value} : 0L; };
    // The stick's y grows upwards.
    return held | stickDirection(out(pad.sThumbLX), -out(pad.sThumbLY));
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
    heldBy_ = {};
    PadInputs held = 0;
    // XInput first: a pad it shows is not read again through the joystick interface.
    for (DWORD slot = 0; slot < kXInputSlots; ++slot) {
        auto bit = static_cast<uint8_t>(1u << slot);
        if (!(xinputPresent_ & bit) && !search)
            continue;
        XINPUT_STATE state = {};
        if (systemHooks.readXInput(slot, &state) != ERROR_SUCCESS) {
            xinputPresent_ &= static_cast<uint8_t>(~bit);
            continue;
        }
        xinputPresent_ |= bit;
        heldBy_[kJoystickIds + slot] = heldInputs(state.Gamepad);
        held |= heldBy_[kJoystickIds + slot];
    }
    for (UINT id = 0; id < kJoystickIds; ++id)
        held |= readJoystick(id, search, xinputPresent_ != 0);
    return held;
}

PadInputs Gamepad::readJoystick(UINT id, bool search, bool xinputPads) {
    auto bit = static_cast<uint16_t>(1u << id);
    bool known = present_ & bit;
    if ((!known && !search) || (known && xinputPads && devices_[id].alsoXInput))
        return 0;
    JOYINFOEX record = {};
    record.dwSize = sizeof(record);
    record.dwFlags = kPadReadFlags;
    if (systemHooks.readJoystick(id, &record) != JOYERR_NOERROR) {
        present_ &= static_cast<uint16_t>(~bit);
        return 0;
    }
    if (!known) {
        // Found: what the device is, once, and where its axes rest.
        JOYCAPSW caps = {};
        bool described = systemHooks.readJoystickCaps(id, &caps, sizeof(caps)) == JOYERR_NOERROR;
        devices_[id] = padDevice(described ? &caps : nullptr);
        devices_[id].restX = record.dwXpos;
        devices_[id].restY = record.dwYpos;
        present_ |= bit;
        if (xinputPads && devices_[id].alsoXInput)
            return 0;
    }
    heldBy_[id] = heldInputs(record, devices_[id]);
    return heldBy_[id];
}

std::vector<PadInput> Gamepad::poll(HWND target, DWORD nowMs) {
    PadInputs held = read(nowMs);
    bool fresh = target != target_ || !reached(lastPollMs_ + kPollPauseMs, nowMs);
    target_ = target;
    lastPollMs_ = nowMs;
    std::vector<PadInput> pressed = presses_.update(held, nowMs, fresh);
    if (!pressed.empty()) {
        inUse = true;
        // The prompts show the buttons of the pad that pressed.
        for (size_t source = 0; source < heldBy_.size(); ++source) {
            if (heldBy_[source] & inputBit(pressed.front())) {
                family = source < kJoystickIds ? devices_[source].layout.family : PadFamily::Xbox;
                break;
            }
        }
    }
    return pressed;
}

#include "platform/PadLayout.h"

namespace {

// The makers' USB vendor ids.
enum Vendor : uint16_t {
    kMicrosoft = 0x045E,
    kSony = 0x054C,
    kNintendoVendor = 0x057E,
    kValve = 0x28DE,
    kEightBitDo = 0x2DC8
};
constexpr uint16_t kSteamVirtualPad = 0x11FF;

// Square, Cross, Circle, Triangle, L1, R1, L2, R2, Share, Options.
constexpr PadLayout kPlayStation = {PadFamily::PlayStation, {2, 3, 1, 4, 5, 6, 9, 10}};
// B (bottom), A (right), Y, X, L, R, ZL, ZR, minus, plus.
constexpr PadLayout kNintendo = {PadFamily::Nintendo, {2, 1, 3, 4, 5, 6, 9, 10}};
constexpr PadLayout kXbox = {};

struct KnownPad {
    uint16_t vendor;
    uint16_t product;
    const PadLayout* layout;
};

// From the public controller databases' Windows entries.
constexpr KnownPad kKnownPads[] = {
    {kSony, 0x05C4, &kPlayStation},        // DualShock 4
    {kSony, 0x09CC, &kPlayStation},        // DualShock 4, second revision
    {kSony, 0x0BA0, &kPlayStation},        // DualShock 4 wireless adapter
    {kSony, 0x0CE6, &kPlayStation},        // DualSense
    {kSony, 0x0DF2, &kPlayStation},        // DualSense Edge
    {kNintendoVendor, 0x2009, &kNintendo}, // Switch Pro Controller
    // 8BitDo pads in their DirectInput mode: wired as the Switch's, or as Xbox pads.
    {kEightBitDo, 0x6001, &kNintendo}, // SN30 Pro, SF30 Pro
    {kEightBitDo, 0x6003, &kNintendo}, // Pro 2
    {kEightBitDo, 0x9001, &kNintendo}, // NES30 Pro
    {kEightBitDo, 0x3820, &kNintendo}, // NES30 Pro, wired
    {kEightBitDo, 0x3106, &kXbox},     // Ultimate, wired
    {kEightBitDo, 0x310A, &kXbox},     // Ultimate 2C
};

} // namespace

PadLayout padLayout(uint16_t vendor, uint16_t product) {
    for (const KnownPad& pad : kKnownPads) {
        if (pad.vendor == vendor && pad.product == product)
            return *pad.layout;
    }
    return kXbox;
}

bool isXInputPad(uint16_t vendor, uint16_t product) {
    return vendor == kMicrosoft || (vendor == kValve && product == kSteamVirtualPad);
}

#pragma once
// The managed settings as small typed objects: each converts between the text held by
// the ConfigFile and a 16-bit number the screens work with, and validates that number
// against the machine's displays.
#include "display/DisplayInfo.h"

#include <cstdint>
#include <vector>

class ConfigFile;

// What the entries work on: the settings whose text they read and write, and the desktop
// monitors they are validated against (filled in by the model before any read).
struct EntrySources {
    ConfigFile& settings;
    const std::vector<const MonitorInfo*>& monitors;
};

class ConfigEntry {
public:
    ConfigEntry(const EntrySources& sources, const char* key, std::uint16_t maximum,
                std::uint16_t defaultValue);
    virtual ~ConfigEntry() = default;
    ConfigEntry(const ConfigEntry&) = delete;
    ConfigEntry& operator=(const ConfigEntry&) = delete;

    // Takes the value from the settings: a decimal number cut to 16 bits and clamped;
    // the default when the key is missing, empty, not a number or beyond 32 bits.
    virtual void read();
    // Clamps, then stores the value as decimal text.
    virtual void write();
    void clamp();

    std::uint16_t value = 0;
    const char* key;
    std::uint16_t minimum = 0;
    std::uint16_t maximum;
    std::uint16_t defaultValue;

protected:
    const EntrySources& sources; // owned by the model that owns the entry
};

// "Adapter": an index into the model's desktop monitors. Writing it also stores
// "StartUpperPos", the game window's start position centred on that monitor.
class ConfigMonitor : public ConfigEntry {
public:
    explicit ConfigMonitor(const EntrySources& sources);
    void read() override;
    void write() override;

    // The Resolution entry, whose mode the start position is centred for.
    const ConfigEntry* resolution = nullptr;
};

// "Resolution": an index into the chosen monitor's modes, stored as "1920x1080".
// Reads against the monitor the "Adapter" entry holds, so that one is read first.
class ConfigFullRes : public ConfigEntry {
public:
    explicit ConfigFullRes(const EntrySources& sources);
    void read() override;
    void write() override;

    // The Adapter entry, whose monitor's modes this one indexes.
    const ConfigEntry* adapter = nullptr;
};

#pragma once
// The managed settings as small typed objects: each converts between the text held by
// the ConfigFile and a 16-bit number the screens work with, and validates that number
// against the machine's displays.
#include <cstdint>

class ConfigModel;

class ConfigEntry {
public:
    ConfigEntry(ConfigModel& model, const char* key, std::uint16_t maximum,
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
    ConfigModel* model; // the owner; reaches the settings and the displays
};

// "Adapter": an index into the model's desktop monitors. Writing it also stores
// "StartUpperPos", the game window's start position centred on that monitor.
class ConfigMonitor : public ConfigEntry {
public:
    explicit ConfigMonitor(ConfigModel& model);
    void read() override;
    void write() override;
};

// "Resolution": an index into the chosen monitor's modes, stored as "1920x1080".
// Reads against the monitor the "Adapter" entry holds, so that one is read first.
class ConfigFullRes : public ConfigEntry {
public:
    explicit ConfigFullRes(ConfigModel& model);
    void read() override;
    void write() override;
};

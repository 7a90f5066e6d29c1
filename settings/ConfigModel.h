#pragma once
// The short-lived settings model: the three managed entries and the displays they are
// validated against. Built for one press of Play or one visit of the options window.
#include "display/DisplayEnumeration.h"
#include "settings/ConfigEntry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ConfigFile;

class ConfigModel {
public:
    // Enumerates the displays through `factorySource`; reads no entry yet.
    explicit ConfigModel(ConfigFile& settings,
                         DxgiFactorySource factorySource = createSystemDxgiFactory);
    ~ConfigModel();
    // The entries and the desktop-monitor list point into the model.
    ConfigModel(const ConfigModel&) = delete;
    ConfigModel& operator=(const ConfigModel&) = delete;

    // Adapter first: Resolution is matched against the monitor it chooses. A file that
    // could not be read at the start is read again first.
    void readAll();
    // Adapter (with StartUpperPos), Resolution, Window. When readAll had to go without the
    // file's values, only the entries changed since are written: the others hold defaults,
    // which must not replace the player's lines.
    void writeAll();

    // The settings' text for `key`, empty when absent; never inserts.
    std::string getValue(const std::string& key) const;
    void setValue(const std::string& key, const std::string& text);

    ConfigMonitor& adapterEntry() { return *adapterEntry_; }
    ConfigFullRes& resolutionEntry() { return *resolutionEntry_; }
    ConfigEntry& windowEntry() { return *windowEntry_; }

    const std::vector<AdapterInfo>& adapters() const { return adapters_; }
    const std::vector<const MonitorInfo*>& desktopMonitors() const { return desktopMonitors_; }
    // Clamped to the last entry.
    const AdapterInfo& adapterAt(unsigned index) const;
    const MonitorInfo& monitorAt(unsigned index) const;

    // Index into monitor.modes of the mode to propose for that adapter's memory.
    std::uint8_t recommendResolution(const AdapterInfo& adapter, const MonitorInfo& monitor) const;

private:
    // In the order they are read and written.
    std::array<ConfigEntry*, 3> entries();

    std::vector<AdapterInfo> adapters_;
    std::vector<const MonitorInfo*> desktopMonitors_;
    ConfigFile* settings_;
    EntrySources sources_;
    std::unique_ptr<ConfigMonitor> adapterEntry_;
    std::unique_ptr<ConfigFullRes> resolutionEntry_;
    std::unique_ptr<ConfigEntry> windowEntry_;
    bool readFromFile_ = true;
    std::array<std::uint16_t, 3> readValues_ = {};
};

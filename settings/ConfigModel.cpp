#include "settings/ConfigModel.h"

#include "display/Resolution.h"
#include "settings/ConfigFile.h"

#include <utility>

ConfigModel::ConfigModel(ConfigFile& settings, DxgiFactorySource factorySource)
    : settings_(&settings), sources_{settings, desktopMonitors_},
      adapterEntry_(std::make_unique<ConfigMonitor>(sources_)),
      resolutionEntry_(std::make_unique<ConfigFullRes>(sources_)),
      windowEntry_(std::make_unique<ConfigEntry>(sources_, "Window", 1, 1)) {
    adapterEntry_->resolution = resolutionEntry_.get();
    resolutionEntry_->adapter = adapterEntry_.get();
    enumerateDisplays(adapters_, factorySource);
    collectDesktopMonitors(adapters_, desktopMonitors_);
}

ConfigModel::~ConfigModel() = default;

void ConfigModel::readAll() {
    adapterEntry_->read();
    resolutionEntry_->read();
    windowEntry_->read();
}

void ConfigModel::writeAll() {
    adapterEntry_->write();
    resolutionEntry_->write();
    windowEntry_->write();
}

std::string ConfigModel::getValue(const std::string& key) const {
    return settings_->get(key);
}

void ConfigModel::setValue(const std::string& key, const std::string& text) {
    settings_->set(key, text);
}

const AdapterInfo& ConfigModel::adapterAt(unsigned index) const {
    return ::adapterAt(adapters_, index);
}

const MonitorInfo& ConfigModel::monitorAt(unsigned index) const {
    return ::monitorAt(desktopMonitors_, index);
}

std::uint8_t ConfigModel::recommendResolution(const AdapterInfo& adapter,
                                              const MonitorInfo& monitor) const {
    return ::recommendResolution(adapter, monitor);
}

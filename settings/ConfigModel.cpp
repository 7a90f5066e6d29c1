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
    readFromFile_ = settings_->retryLoad();
    auto all = entries();
    for (size_t i = 0; i < all.size(); ++i) {
        all[i]->read();
        readValues_[i] = all[i]->value;
    }
}

void ConfigModel::writeAll() {
    auto all = entries();
    for (size_t i = 0; i < all.size(); ++i) {
        if (readFromFile_ || all[i]->value != readValues_[i])
            all[i]->write();
    }
}

std::array<ConfigEntry*, 3> ConfigModel::entries() {
    return {adapterEntry_.get(), resolutionEntry_.get(), windowEntry_.get()};
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

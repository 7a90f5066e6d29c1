#include "settings/ConfigFile.h"

#include <utility>

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {}

bool ConfigFile::contains(const std::string& key) const { return values_.count(key) != 0; }

std::string ConfigFile::get(const std::string& key) const {
    auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

void ConfigFile::set(const std::string& key, const std::string& value) { values_[key] = value; }

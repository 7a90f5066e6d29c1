#pragma once
// The player's real vantorra.ini in the prefix's roaming folder, and skip-mode runs of
// the built launcher against it. Tests using these take RESOURCE_LOCK vantorra_roaming_ini.
#include "tests/support/TestSupport.h"

#include <set>
#include <string>

namespace release_tests {

struct RoamingConfig {
    std::wstring maker;  // ...\Quenmark
    std::wstring folder; // ...\Quenmark\Vantorra\ (with trailing backslash)
    std::wstring ini;
};
// Empty paths when the roaming folder is unknown.
RoamingConfig roamingConfig();

// Creates the folders if needed and puts `content` in the file.
bool putConfig(const RoamingConfig& config, const std::string& content);

bool sameTime(const FILETIME& a, const FILETIME& b);

// Runs the install's launcher with -SKIP_LAUNCHER and waits for it, then ends the game
// it started. Empty when the launcher ended with 0 after starting the game exactly
// once; otherwise what went wrong (a message box it showed, its exit code, the starts).
std::string runSkipMode(const testing_support::InstallFolder& install);

} // namespace release_tests

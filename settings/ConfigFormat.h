#pragma once
// The line format of the game's vantorra.ini: reading it into key/value pairs and
// rewriting it so that only the lines of the launcher's four keys change. Plain bytes
// and no system calls, so this part also builds and is fuzzed natively.
#include <array>
#include <map>
#include <string>
#include <string_view>

using ConfigValues = std::map<std::string, std::string>;

// The reader's line buffer holds 511 bytes; longer lines are never taken apart.
constexpr size_t kLineBufferSize = 512;
constexpr size_t kLongestReadLine = kLineBufferSize - 2;

// In this order lines of missing keys are appended.
constexpr std::array<const char*, 4> kManagedKeyNames = {"Window", "Resolution", "Adapter",
                                                         "StartUpperPos"};

struct ManagedKey {
    bool held = false;    // the values have this key, in exactly this letter case
    bool written = false; // its line has been written (never, when not held)
    std::string key;
    std::string value;
};
using ManagedKeyTable = std::array<ManagedKey, kManagedKeyNames.size()>;

ManagedKeyTable buildManagedKeyTable(const ConfigValues& values);

// Stores each setting line's key and value, the last line of a key winning. Reading
// stops at the end of `text` or at its first NUL byte. With `managedKeysOnly`, only the
// lines of the four keys in exactly their letter case are stored: all that a rewrite
// takes from the values.
void parseConfigText(std::string_view text, ConfigValues& values, bool managedKeysOnly = false);

// The new content for `oldContent`, whole, so that it reaches the disk in one write. Up to
// the first NUL byte (the part the reader sees), the first line of each held managed key
// is replaced by "key value\r\n", its later lines are dropped, keys without a line are
// appended, and every other byte is copied; from the NUL on, every byte is copied as it is.
std::string rewrittenConfig(std::string_view oldContent, const ConfigValues& values);

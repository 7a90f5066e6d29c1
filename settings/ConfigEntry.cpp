#include "settings/ConfigEntry.h"

#include "display/DisplayEnumeration.h"
#include "platform/Text.h"
#include "settings/ConfigFile.h"

#include <algorithm>
#include <string>

namespace {

enum class Parse { ok, notANumber, outOfRange };

struct ParsedNumber {
    Parse result;
    std::int32_t number;
};

// Decimal like the standard string-to-int conversion (leading whitespace, a sign,
// digits, anything after them ignored), but reporting failures instead of throwing:
// a stray character in the game's file must not end the launcher.
ParsedNumber parseNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return {Parse::notANumber, 0};
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            tooLarge = true;
            magnitude = limit; // keep reading digits without overflowing
        }
    }
    if (tooLarge)
        return {Parse::outOfRange, 0};
    return {Parse::ok, static_cast<std::int32_t>(negative ? -magnitude : magnitude)};
}

constexpr const char* kAdapterKey = "Adapter";
constexpr const char* kResolutionKey = "Resolution";
constexpr const char* kStartPositionKey = "StartUpperPos";

} // namespace

ConfigEntry::ConfigEntry(const EntrySources& sources, const char* key, std::uint16_t maximum,
                         std::uint16_t defaultValue)
    : key(key), maximum(maximum), defaultValue(defaultValue), sources(sources) {}

void ConfigEntry::read() {
    const ParsedNumber parsed = parseNumber(sources.settings.get(key));
    if (parsed.result != Parse::ok) {
        value = defaultValue; // empty, missing or unreadable: as if the key were absent
        return;
    }
    value = static_cast<std::uint16_t>(parsed.number); // -1 becomes 65535, then clamped
    clamp();
}

void ConfigEntry::write() {
    clamp();
    sources.settings.set(key, formatText("%u", static_cast<unsigned>(value)));
}

void ConfigEntry::clamp() {
    value = std::min(std::max(value, minimum), maximum);
}

ConfigMonitor::ConfigMonitor(const EntrySources& sources)
    : ConfigEntry(sources, kAdapterKey, 32767, 0) {}

void ConfigMonitor::read() {
    maximum = static_cast<std::uint16_t>(sources.monitors.size() - 1);
    ConfigEntry::read();
}

void ConfigMonitor::write() {
    ConfigEntry::write();
    const MonitorInfo& monitor = monitorAt(sources.monitors, value);
    // The Resolution entry is written after this one and may still index another
    // monitor's list: bound it here as its own write will.
    const ModeInfo& mode = modeAt(monitor, resolution ? resolution->value : 0);

    const RECT& desktop = monitor.desc.DesktopCoordinates;
    const auto desktopWidth = static_cast<std::uint16_t>(desktop.right - desktop.left);
    const auto desktopHeight = static_cast<std::uint16_t>(desktop.bottom - desktop.top);
    const auto left = static_cast<std::int16_t>(desktop.left);
    const auto top = static_cast<std::int16_t>(desktop.top);
    // A mode larger than the monitor starts at its top-left corner.
    const int width = std::min(mode.width, desktopWidth);
    const int height = std::min(mode.height, desktopHeight);
    const int x = left + (desktopWidth - width) / 2;
    const int y = top + (desktopHeight - height) / 2;
    sources.settings.set(kStartPositionKey, formatText("%d %d", x, y));
}

ConfigFullRes::ConfigFullRes(const EntrySources& sources)
    : ConfigEntry(sources, kResolutionKey, 32767, 0) {}

void ConfigFullRes::read() {
    const MonitorInfo& monitor = monitorAt(sources.monitors, adapter ? adapter->value : 0);
    const std::string text = sources.settings.get(key);
    const std::size_t split = text.find('x');
    const std::string widthText = split == std::string::npos ? text : text.substr(0, split);
    const std::string heightText = split == std::string::npos ? text : text.substr(split + 1);

    value = 0; // unknown sizes fall to the monitor's first, largest mode
    std::int32_t size[2] = {0, 0};
    const std::string* texts[2] = {&widthText, &heightText};
    for (int i = 0; i < 2; ++i) {
        const ParsedNumber parsed = parseNumber(*texts[i]);
        if (parsed.result == Parse::outOfRange)
            return;
        if (parsed.result == Parse::notANumber) {
            size[0] = size[1] = 0;
            break;
        }
        size[i] = parsed.number;
    }
    const auto width = static_cast<std::uint16_t>(size[0]);
    const auto height = static_cast<std::uint16_t>(size[1]);
    for (std::size_t i = 0; i < monitor.modes.size(); ++i) {
        if (monitor.modes[i].width == width && monitor.modes[i].height == height) {
            value = static_cast<std::uint16_t>(i);
            return;
        }
    }
}

void ConfigFullRes::write() {
    const MonitorInfo& monitor = monitorAt(sources.monitors, adapter ? adapter->value : 0);
    value = static_cast<std::uint16_t>(std::min<std::size_t>(value, monitor.modes.size() - 1));
    const ModeInfo& mode = modeAt(monitor, value);
    sources.settings.set(key, formatText("%ux%u", static_cast<unsigned>(mode.width),
                                         static_cast<unsigned>(mode.height)));
}

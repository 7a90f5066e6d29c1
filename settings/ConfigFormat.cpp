#include "settings/ConfigFormat.h"

#include <utility>

namespace {

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i]))
            return false;
    }
    return true;
}

// Only a whole key counts: "WindowTitle" or "ResolutionScale" are keys of their own.
bool lineHasKey(std::string_view line, std::string_view key) {
    if (!startsWithIgnoringCase(line, key))
        return false;
    if (line.size() == key.size())
        return true;
    char next = line[key.size()];
    return next == ' ' || next == '\t' || next == '=' || isLineBreak(next);
}

// A line ends after its first CR or LF, a CR LF pair being one break. Splitting at every
// break, as the reader does, keeps a lone CR inside an LF file from hiding a key's line,
// and keeps a second rewrite from seeing other lines than the first.
size_t lineLength(std::string_view rest) {
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\n')
            return i + 1;
        if (rest[i] == '\r')
            return i + 1 < rest.size() && rest[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return rest.size();
}

bool isManagedKey(std::string_view key) {
    for (const char* name : kManagedKeyNames) {
        if (key == name)
            return true;
    }
    return false;
}

// Copies only the key and the value it keeps: a large file has a million lines.
void parseLine(std::string_view line, ConfigValues& values, bool managedKeysOnly) {
    // The game's reader cannot take lines that overflow its buffer.
    if (line.size() >= kLineBufferSize)
        return;
    while (line.size() > 1 && isWhitespace(line.back()))
        line.remove_suffix(1);
    if (line[0] == '/' || (line.size() > 1 && line[1] == '/'))
        return;
    if (line.size() > kLongestReadLine)
        return;

    // The first "=" of the line counts as a space.
    size_t equals = line.find('=');
    auto isSeparator = [&](size_t i) { return i == equals || isWhitespace(line[i]); };
    size_t at = 0;
    while (at < line.size() && isSeparator(at))
        ++at;
    size_t keyStart = at;
    while (at < line.size() && !isSeparator(at))
        ++at;
    if (at == keyStart)
        return;
    std::string_view key = line.substr(keyStart, at - keyStart);
    if (managedKeysOnly && !isManagedKey(key))
        return;
    while (at < line.size() && isSeparator(at))
        ++at;
    size_t valueEnd = line.size();
    while (valueEnd > at && isSeparator(valueEnd - 1))
        --valueEnd;
    std::string value(line.substr(at, valueEnd - at));
    if (equals != std::string_view::npos && equals >= at && equals < valueEnd)
        value[equals - at] = ' ';
    values[std::string(key)] = std::move(value);
}

std::string rowLine(const ManagedKey& row) {
    // Built whole, however long a hand-edited value is.
    std::string line = row.key;
    if (!row.value.empty()) {
        line += ' ';
        line += row.value;
    }
    line += "\r\n";
    return line;
}

} // namespace

ManagedKeyTable buildManagedKeyTable(const ConfigValues& values) {
    ManagedKeyTable table;
    for (size_t i = 0; i < table.size(); ++i) {
        ManagedKey& row = table[i];
        row.key = kManagedKeyNames[i];
        auto found = values.find(row.key);
        row.held = found != values.end();
        row.written = !row.held;
        if (row.held)
            row.value = found->second;
    }
    return table;
}

void parseConfigText(std::string_view text, ConfigValues& values, bool managedKeysOnly) {
    text = text.substr(0, text.find('\0'));
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isLineBreak(text[at]))
            ++at;
        size_t end = at;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        if (end > at)
            parseLine(text.substr(at, end - at), values, managedKeysOnly);
        at = end;
    }
}

std::string rewrittenConfig(std::string_view oldContent, const ConfigValues& values) {
    ManagedKeyTable table = buildManagedKeyTable(values);
    std::string content;
    content.reserve(oldContent.size() + 128);
    auto lastIsLineBreak = [&content] { return content.empty() || isLineBreak(content.back()); };

    // The game's reader stops at the first NUL (a file zero-filled by a crash ends that
    // way): the lines are rewritten and appended in front of it, and everything from the
    // NUL on is kept as it is.
    size_t nul = oldContent.find('\0');
    std::string_view lines = oldContent.substr(0, nul);
    std::string_view rest =
        nul == std::string_view::npos ? std::string_view() : oldContent.substr(nul);

    for (size_t at = 0; at < lines.size();) {
        std::string_view line = lines.substr(at, lineLength(lines.substr(at)));
        at += line.size();

        // Keys the values lack keep their lines; of a held key only the first line stays.
        ManagedKey* owner = nullptr;
        for (ManagedKey& row : table) {
            if (row.held && lineHasKey(line, row.key)) {
                owner = &row;
                break;
            }
        }
        if (!owner) {
            content += line;
        } else if (!owner->written) {
            owner->written = true;
            content += rowLine(*owner);
        }
    }

    for (ManagedKey& row : table) {
        if (row.written)
            continue;
        // Otherwise the appended line would run on into the old last line's value.
        if (!lastIsLineBreak())
            content += "\r\n";
        row.written = true;
        content += rowLine(row);
    }
    content += rest;
    return content;
}

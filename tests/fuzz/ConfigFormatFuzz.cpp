// Reading and rewriting vantorra.ini over arbitrary bytes. Beyond crashes and buffer
// overruns (the sanitizers), it checks the promises the rewrite makes to the player:
// every line it does not own comes out byte for byte, a second save changes nothing, and
// the game reads back the values the launcher wrote.
//
// Input: one byte choosing which managed keys the settings hold, one byte giving the
// length of a settings text that is parsed into the values (as load does), then the old
// file content.
#include "settings/ConfigFormat.h"
#include "tests/release/ConfigCorpus.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using release_tests::splitLines;

[[noreturn]] void fail(const char* what, std::string_view content) {
    std::fprintf(stderr, "property broken: %s (content of %zu bytes)\n", what, content.size());
    std::abort();
}

bool startsWithKey(std::string_view line, std::string_view key) {
    if (line.size() < key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        char a = line[i], b = key[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a + 32);
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b + 32);
        if (a != b)
            return false;
    }
    if (line.size() == key.size())
        return true;
    char next = line[key.size()];
    return next == ' ' || next == '\t' || next == '=' || next == '\r' || next == '\n';
}

bool isHeldKeyLine(std::string_view line, const ConfigValues& values) {
    for (const char* key : kManagedKeyNames) {
        if (values.count(key) && startsWithKey(line, key))
            return true;
    }
    return false;
}

// Everything but the lines of held managed keys, which the rewrite owns.
std::string foreignLines(std::string_view text, const ConfigValues& values) {
    std::string kept;
    for (std::string_view line : splitLines(text)) {
        if (!isHeldKeyLine(line, values))
            kept.append(line);
    }
    return kept;
}

// A value the line "key value" gives back unchanged to the reader.
bool readsBack(const std::string& key, const std::string& value) {
    if (key.size() + 1 + value.size() > kLongestReadLine)
        return false;
    if (value.find_first_of(std::string("=\r\n\0", 4)) != std::string::npos)
        return false;
    auto edge = [](char c) { return c == ' ' || c == '\t'; };
    return value.empty() || (!edge(value.front()) && !edge(value.back()));
}

// A line the reader takes for `key` although it does not begin with it (indented, or
// after "="): such lines are not the launcher's and keep their say on the next read.
bool hasHiddenLineOf(std::string_view content, const std::string& key) {
    for (std::string_view line : splitLines(content)) {
        ConfigValues single;
        parseConfigText(line, single);
        if (single.count(key) && !startsWithKey(line, key))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t keep = data[0];
    const size_t settingsLength = data[1] < size - 2 ? data[1] : size - 2;
    std::string_view settingsText(reinterpret_cast<const char*>(data + 2), settingsLength);
    // Exactly sized, so that reading past the content is caught.
    std::vector<char> contentBytes(data + 2 + settingsLength, data + size);
    std::string_view content(contentBytes.data(), contentBytes.size());

    ConfigValues values;
    parseConfigText(settingsText, values);
    for (size_t i = 0; i < kManagedKeyNames.size(); ++i) {
        if (keep & (1u << i))
            values.erase(kManagedKeyNames[i]);
    }
    // A hand-edited value longer than any line buffer.
    if (keep & 0x10)
        values["Resolution"] = std::string(300 + keep, 'x');

    // Skip mode reads the managed keys alone: it must find what a full read finds.
    ConfigValues full, managedOnly;
    parseConfigText(content, full);
    parseConfigText(content, managedOnly, true);
    std::erase_if(full, [](const auto& entry) {
        return std::find(kManagedKeyNames.begin(), kManagedKeyNames.end(), entry.first) ==
               kManagedKeyNames.end();
    });
    if (managedOnly != full)
        fail("reading only the managed keys gives other values", content);

    std::string output = rewrittenConfig(content, values);

    // The reader stops at the first NUL: from there on the file is kept byte for byte, and
    // all the rewriting happens in front of it.
    std::string_view seen = content.substr(0, content.find('\0'));
    std::string_view outputSeen = std::string_view(output).substr(0, output.find('\0'));
    if (content.substr(seen.size()) != std::string_view(output).substr(outputSeen.size()))
        fail("the bytes from the first NUL on changed", content);

    // Foreign lines survive in order; only a break before appended lines may be added.
    std::string before = foreignLines(seen, values);
    std::string after = foreignLines(outputSeen, values);
    bool breakAdded =
        !seen.empty() && seen.back() != '\r' && seen.back() != '\n' && after == before + "\r\n";
    if (after != before && !breakAdded)
        fail("a line the launcher does not own changed", content);

    // Each held key ends up with exactly its one line where the reader sees it.
    for (const char* key : kManagedKeyNames) {
        auto held = values.find(key);
        if (held == values.end())
            continue;
        std::string expected = held->first + (held->second.empty() ? "" : " " + held->second);
        expected += "\r\n";
        int count = 0;
        for (std::string_view line : splitLines(outputSeen)) {
            if (startsWithKey(line, key)) {
                ++count;
                if (line != expected)
                    fail("a managed line has the wrong form", content);
            }
        }
        if (count != 1)
            fail("a held key has not exactly one line", content);
    }

    if (rewrittenConfig(output, values) != output)
        fail("a second rewrite changed the file", content);

    // The game reads back what the launcher wrote, also from a file with a NUL in it.
    ConfigValues reread;
    parseConfigText(output, reread);
    for (const auto& [key, value] : values) {
        bool managed = false;
        for (const char* name : kManagedKeyNames)
            managed = managed || key == name;
        if (!managed || !readsBack(key, value) || hasHiddenLineOf(seen, key))
            continue;
        auto found = reread.find(key);
        if (found == reread.end() || found->second != value)
            fail("reading the file back gives another value", content);
    }
    return 0;
}

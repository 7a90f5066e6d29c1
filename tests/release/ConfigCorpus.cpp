#include "tests/release/ConfigCorpus.h"

#include <cstdio>

namespace release_tests {

namespace {

constexpr const char* kBreaks[] = {"\r\n", "\n", "\r"};
constexpr const char* kSeparators[] = {"=", " ", "\t", " = ", "  ", "=\t", " \t "};
constexpr const char* kManagedValues[] = {"0",       "1",   "2",        "1920x1080", "1280x720",
                                          "640x480", "0 0", "-1920 -8", "12 34",     ""};
// Real-looking keys of the game, some of them beginning with a managed key's letters.
constexpr const char* kOtherKeys[] = {"Gamma",           "Volume",      "Language", "WindowTitle",
                                      "ResolutionScale", "Adapters",    "Windowed", "AdapterName",
                                      "StartUpperPosX",  "Sound.Music", "#note",    ";old"};

template <typename T, size_t N> const T& pick(Random& random, const T (&items)[N]) {
    return items[random.below(N)];
}
const char* pickManagedKey(Random& random) {
    return kManagedKeyNames[random.below(kManagedKeyNames.size())];
}

// Printable bytes, tabs and bytes above 127; never a line break or a NUL.
std::string someText(Random& random, size_t length, bool withEquals) {
    std::string text;
    while (text.size() < length) {
        uint32_t kind = random.below(20);
        char c = kind == 0  ? '\t'
                 : kind < 3 ? static_cast<char>(0x80 + random.below(0x80))
                            : static_cast<char>(0x20 + random.below(0x5F));
        if (c == '=' && !withEquals)
            continue;
        text += c;
    }
    return text;
}

std::string trailingBlanks(Random& random) {
    if (!random.chance(20))
        return {};
    return random.chance(50) ? " " : random.chance(50) ? "\t  " : "   ";
}

std::string spelled(Random& random, std::string key) {
    uint32_t how = random.below(10);
    for (char& c : key) {
        bool upper = how == 1 || (how == 2 && random.chance(50));
        bool lower = how == 0 || (how == 2 && !upper);
        if (lower && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return key;
}

// Values a hand-edited file might hold. None holds "=": such a value does not read back
// as it was written (see the known-fault cases beside the sweep).
std::string managedValue(Random& random) {
    uint32_t kind = random.below(20);
    if (kind < 14)
        return pick(random, kManagedValues);
    if (kind < 19)
        return someText(random, 1 + random.below(40), false);
    return "v" + someText(random, 300, false) + "v";
}

std::string managedLine(Random& random, const char* key) {
    std::string value = managedValue(random);
    if (value.empty() && random.chance(50))
        return spelled(random, key) + trailingBlanks(random);
    return spelled(random, key) + pick(random, kSeparators) + value + trailingBlanks(random);
}

// A line the reader takes for a managed key although it does not begin with it.
std::string hiddenLine(Random& random, const char* key) {
    std::string value = pick(random, kManagedValues);
    if (random.chance(30))
        return "=" + std::string(key) + " " + value;
    return std::string(random.chance(50) ? "  " : "\t") + key + pick(random, kSeparators) + value;
}

std::string otherLine(Random& random) {
    std::string key;
    if (random.chance(60)) {
        key = pick(random, kOtherKeys);
    } else {
        key = "K";
        for (uint32_t n = random.below(16); n > 0; --n)
            key += static_cast<char>('a' + random.below(26));
    }
    return key + pick(random, kSeparators) + someText(random, random.below(60), true) +
           trailingBlanks(random);
}

std::string commentLine(Random& random) {
    std::string remark = someText(random, random.below(50), true);
    switch (random.below(3)) {
    case 0:
        return "//" + remark;
    case 1:
        return "/" + remark;
    default:
        return "x/" + remark;
    }
}

// Around the reader's 510-byte limit, or far beyond it.
std::string longLine(Random& random) {
    size_t length = random.chance(50) ? 505 + random.below(10) : 600 + random.below(3400);
    if (random.chance(30)) {
        std::string line = pickManagedKey(random);
        line += ' ';
        return line + someText(random, length - line.size(), false);
    }
    std::string line = "LongKey ";
    return line + someText(random, length - line.size(), true);
}

size_t targetSize(Random& random, int index) {
    if (index == 150)
        return 1'000'000 + random.below(100'000);
    if (index % 50 == 24)
        return 100'000 + random.below(200'000);
    if (index % 10 == 9)
        return 20'000 + random.below(30'000);
    return random.below(3000);
}

struct Line {
    std::string body;
    bool foreign; // neither a managed key's line nor one the reader takes for one
};

} // namespace

std::string corpusFile(uint32_t seed, int index) {
    switch (index) {
    case 0:
        return "";
    case 1:
        return "\r\n\n\r\r\n";
    case 2:
        return "Window=1";
    case 3:
        return "Resolution=1280x720\r\n";
    default:
        break;
    }

    Random random(seed * 7919u + static_cast<uint32_t>(index));
    size_t target = targetSize(random, index);
    std::vector<Line> lines;
    std::vector<Line> hidden;
    size_t size = 0;
    while (size < target) {
        uint32_t kind = random.below(100);
        Line line;
        if (kind < 15) {
            line = {managedLine(random, pickManagedKey(random)), false};
        } else if (kind < 18) {
            hidden.push_back({hiddenLine(random, pickManagedKey(random)), false});
            continue;
        } else if (kind < 28) {
            line = {commentLine(random), true};
        } else if (kind < 36) {
            line = {random.chance(60) ? "" : " \t ", true};
        } else if (kind < 39) {
            line = {longLine(random), false};
            line.foreign = line.body.rfind("LongKey", 0) == 0;
        } else {
            line = {otherLine(random), true};
        }
        size += line.body.size() + 2;
        lines.push_back(std::move(line));
    }
    // A line the reader takes for a key, followed by another line of that key, makes
    // the next load see another value than the one written: hidden lines come last.
    lines.insert(lines.end(), hidden.begin(), hidden.end());

    // A NUL ends the text for the reader; it sits in a line the launcher does not own.
    if (index % 13 == 5 || random.chance(8)) {
        std::vector<size_t> candidates;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].foreign)
                candidates.push_back(i);
        }
        if (!candidates.empty()) {
            std::string& body = lines[candidates[random.below(candidates.size())]].body;
            body.insert(random.below(body.size() + 1), 1, '\0');
        }
    }

    uint32_t style = static_cast<uint32_t>(index) % 4;
    bool finalBreak = random.chance(75);
    std::string content;
    for (size_t i = 0; i < lines.size(); ++i) {
        content += lines[i].body;
        if (i + 1 < lines.size() || finalBreak)
            content += kBreaks[style < 3 ? style : random.below(3)];
    }
    return content;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The key in any letter case, then the end of the line, a blank or "=".
bool isLineOf(std::string_view line, std::string_view key) {
    if (line.size() < key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        if (lowerAscii(line[i]) != lowerAscii(key[i]))
            return false;
    }
    if (line.size() == key.size())
        return true;
    char next = line[key.size()];
    return next == ' ' || next == '\t' || next == '=' || next == '\r' || next == '\n';
}

// Every line but those of the managed keys that were read: the lines a save must keep.
std::string foreignLines(std::string_view text, const ConfigValues& values) {
    std::string kept;
    for (std::string_view line : splitLines(text)) {
        bool owned = false;
        for (const char* key : kManagedKeyNames)
            owned = owned || (values.count(key) && isLineOf(line, key));
        if (!owned)
            kept.append(line);
    }
    return kept;
}

size_t firstDifference(std::string_view a, std::string_view b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return at;
}

} // namespace

std::string excerpt(std::string_view text, size_t at) {
    size_t from = at > 20 ? at - 20 : 0;
    std::string shown = "\"";
    for (char c : text.substr(from, 40)) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", byte);
            shown += hex;
        } else
            shown += c;
    }
    return shown + "\" (from byte " + std::to_string(from) + ")";
}

std::string checkOneSave(std::string_view old, std::string_view saved) {
    ConfigValues values;
    parseConfigText(old, values);

    // The reader stops at the first NUL; from there on the file is kept byte for byte.
    std::string_view seen = old.substr(0, old.find('\0'));
    std::string_view savedSeen = saved.substr(0, saved.find('\0'));
    if (old.substr(seen.size()) != saved.substr(savedSeen.size()))
        return "the bytes from the first NUL on changed";

    std::string before = foreignLines(seen, values);
    std::string after = foreignLines(savedSeen, values);
    bool breakAdded =
        !seen.empty() && seen.back() != '\r' && seen.back() != '\n' && after == before + "\r\n";
    if (after != before && !breakAdded) {
        size_t at = firstDifference(before, after);
        return "a line the launcher does not own changed or went: was " + excerpt(before, at) +
               ", is " + excerpt(after, at);
    }

    for (const char* key : kManagedKeyNames) {
        auto held = values.find(key);
        if (held == values.end())
            continue;
        std::string expected = held->first + (held->second.empty() ? "" : " " + held->second);
        expected += "\r\n";
        int count = 0;
        for (std::string_view line : splitLines(savedSeen)) {
            if (!isLineOf(line, key))
                continue;
            ++count;
            if (line != expected)
                return std::string("the line of ") + key + " reads " + excerpt(line, 0);
        }
        if (count != 1)
            return std::string(key) + " has " + std::to_string(count) + " lines";
    }

    std::string rewritten = rewrittenConfig(old, values);
    if (saved != rewritten) {
        size_t at = firstDifference(rewritten, saved);
        return "not the rewrite of what was read: expected " + excerpt(rewritten, at) + ", found " +
               excerpt(saved, at);
    }
    return {};
}

} // namespace release_tests

#include "settings/FileAccess.h"

#include "platform/Handle.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr const char* kConfigSubfolder = "\\Quenmark\\Vantorra\\";
constexpr const wchar_t* kTemporaryPrefix = L"vtr";
// A save holds its temporary for far less than this between writing and renaming it.
constexpr unsigned long long kLeftAfter100ns = 5ull * 60 * 10'000'000;
// Ends a directory search.
class FileSearch {
public:
    explicit FileSearch(HANDLE search) : search_(search) {}
    ~FileSearch() {
        if (search_ != INVALID_HANDLE_VALUE)
            FindClose(search_);
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
    explicit operator bool() const { return search_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return search_; }

private:
    HANDLE search_;
};

// The file's own path, with the "\\?\" prefix the system puts in front taken off again,
// so that the calls made with it keep their ordinary limits and forms.
std::string finalPathOf(HANDLE file, const std::string& path) {
    constexpr DWORD kForm = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, kForm);
    if (needed == 0)
        return path; // a volume without a drive letter, say: the path is all there is
    std::wstring name(needed, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, name.data(), needed, kForm);
    if (length == 0 || length >= needed)
        return path;
    name.resize(length);
    std::wstring_view local = L"\\\\?\\";
    std::wstring_view remote = L"\\\\?\\UNC\\";
    if (name.compare(0, remote.size(), remote) == 0)
        name = L"\\\\" + name.substr(remote.size());
    else if (name.compare(0, local.size(), local) == 0)
        name = name.substr(local.size());
    return toNarrowString(name.c_str());
}

// Two queries of the handle's own: GetFileInformationByHandle also asks the volume for its
// serial number, which under Wine costs a hundred times as much as these.
bool learnFacts(HANDLE file, const std::string& path, FileFacts& facts) {
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic)) ||
        !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof(standard)))
        return false;
    facts.path = finalPathOf(file, path);
    facts.attributes = basic.FileAttributes;
    facts.names = standard.NumberOfLinks;
    facts.created.dwLowDateTime = basic.CreationTime.LowPart;
    facts.created.dwHighDateTime = static_cast<DWORD>(basic.CreationTime.HighPart);
    return true;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

std::string shortPathOf(const wchar_t* path) {
    // One call where the path fits, as it mostly does: Wine looks at every folder on the
    // path for each call, which is most of what skip mode spends before the save.
    std::vector<wchar_t> shortPath(MAX_PATH);
    DWORD length = GetShortPathNameW(path, shortPath.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        // Too long: `length` is the size needed, terminator included.
        DWORD needed = length;
        shortPath.resize(needed);
        length = GetShortPathNameW(path, shortPath.data(), needed);
        if (length >= needed)
            return {};
    }
    return length == 0 ? std::string() : toNarrowString(shortPath.data());
}

std::string configFolder() {
    const std::wstring& roaming = roamingAppDataFolder();
    std::string folder = roaming.empty() ? std::string() : shortPathOf(roaming.c_str());
    return folder.empty() ? "\\" : folder + kConfigSubfolder;
}

std::optional<std::string> parentDirectory(const std::string& path) {
    size_t slash = path.rfind('\\');
    // "C:\" has nothing above it to create.
    if (slash == std::string::npos || slash == 2)
        return std::nullopt;
    return path.substr(0, slash);
}

HANDLE createNew(const std::string& path) {
    // Mostly the folders are there: they are made only when the system says they are not.
    HANDLE file = CreateFileW(toWide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND) {
        if (auto parent = parentDirectory(path))
            createDirectories(toWideString(*parent));
        file = CreateFileW(toWide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

HANDLE openForRead(const std::string& path) {
    HANDLE file = CreateFileW(toWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

FileContent readWholeFile(const std::string& path, FileFacts* facts) {
    Handle file(openForRead(path));
    if (!file || (facts && !learnFacts(file.get(), path, *facts))) {
        FileContent content;
        content.error = GetLastError();
        return content;
    }
    return readOpenFile(file.get());
}

bool isMissing(const FileContent& content) {
    return !content.opened &&
           (content.error == ERROR_FILE_NOT_FOUND || content.error == ERROR_PATH_NOT_FOUND);
}

std::string newTemporaryBeside(const std::string& path) {
    auto folder = parentDirectory(path);
    wchar_t name[MAX_PATH];
    if (!folder || !GetTempFileNameW(toWide(*folder), kTemporaryPrefix, 0, name))
        return {};
    return toNarrowString(name);
}

// GetTempFileNameW names its files "<prefix><hex number>.tmp", the number at most four
// digits: https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-gettempfilenamew
bool isTemporaryName(std::wstring_view name) {
    std::wstring_view prefix = kTemporaryPrefix;
    std::wstring_view suffix = L".tmp";
    if (name.size() <= prefix.size() + suffix.size() ||
        name.size() > prefix.size() + 4 + suffix.size() ||
        !equalsIgnoringCase(name.substr(0, prefix.size()), prefix) ||
        !equalsIgnoringCase(name.substr(name.size() - suffix.size()), suffix))
        return false;
    std::wstring_view number =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return std::all_of(number.begin(), number.end(), [](wchar_t c) {
        return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
    });
}

bool isLongLeft(FILETIME written, FILETIME now) {
    auto ticks = [](FILETIME time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    // A time in the future (a clock set back) counts as recent.
    return ticks(now) >= ticks(written) && ticks(now) - ticks(written) >= kLeftAfter100ns;
}

void removeLeftTemporaries(const std::string& path) {
    auto folder = parentDirectory(path);
    if (!folder)
        return;
    std::wstring prefix = toWideString(*folder) + L'\\';
    WIN32_FIND_DATAW found;
    FileSearch search(FindFirstFileExW((prefix + kTemporaryPrefix + L"*.tmp").c_str(),
                                       FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return;
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    do {
        // The pattern matches other names too (and 8.3 short names): only ours go.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            isTemporaryName(found.cFileName) && isLongLeft(found.ftLastWriteTime, now))
            DeleteFileW((prefix + found.cFileName).c_str());
    } while (FindNextFileW(search.get(), &found));
}

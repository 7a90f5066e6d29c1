#include "settings/ConfigFile.h"

#include "platform/Handle.h"
#include "platform/SystemError.h"
#include "platform/SystemHooks.h"
#include "platform/Text.h"
#include "settings/ConfigFormat.h"
#include "settings/FileAccess.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace {

constexpr const char* kConfigFileName = "vantorra.ini";

// The whole file as it is on disk now. The player is told when the system fails the read
// itself (a file that cannot be opened is passed over in silence).
FileContent readAndReport(const std::string& path) {
    FileContent content = readWholeFile(path);
    if (content.opened && content.error != ERROR_SUCCESS)
        showSystemError(content.error, nullptr,
                        {nullptr, L"Error", MB_TOPMOST | MB_ICONINFORMATION});
    return content;
}

// Puts the finished temporary file in place of the original with one rename, so that
// the file is the old or the new content at every moment, even for a launcher ended in
// between (Wine's ReplaceFileW moves the original aside first). False with the system's
// error code set.
bool replaceWith(const std::string& path, const std::string& temporary) {
    std::wstring target = toWideString(path);
    std::wstring replacement = toWideString(temporary);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A player's read-only mark protects the file; Windows refuses the rename on its
        // own, Wine would not.
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        // The new file keeps the marks the player put on the old one.
        DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (kept != 0 && !SetFileAttributesW(replacement.c_str(), kept | FILE_ATTRIBUTE_ARCHIVE))
            return false;
    }
    return systemHooks.moveFile(replacement.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace

ConfigFile::ConfigFile() : path_(configFolder() + kConfigFileName) {}

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {}

bool ConfigFile::load() {
    // After a failed read what did arrive is still worth having.
    parseConfigText(readAndReport(path_).bytes, values_);
    return true;
}

bool ConfigFile::loadManagedKeys() {
    parseConfigText(readAndReport(path_).bytes, values_, true);
    return true;
}

bool ConfigFile::save() {
    saveError_ = ERROR_SUCCESS;
    // A file too large to hold twice is left as it is, like one too large to read.
    try {
        return saveOrFail();
    } catch (const std::bad_alloc&) {
        saveError_ = ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        saveError_ = ERROR_FILE_TOO_LARGE;
    }
    return false;
}

bool ConfigFile::saveOrFail() {
    auto fail = [this](DWORD error) {
        saveError_ = error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
        return false;
    };

    // A missing file (and its folders) is created empty; an existing one is not touched.
    Handle(createNew(path_)).reset();

    // A file we cannot read completely would be rewritten from part of it, losing the rest.
    FileContent content = readAndReport(path_);
    if (!content.complete)
        return fail(content.error != ERROR_SUCCESS ? content.error : ERROR_READ_FAULT);

    // Also when nothing changes: the file may already hold what a save that was cut short
    // wrote before its temporary was put in place.
    removeLeftTemporaries(path_);

    std::string rewritten = rewrittenConfig(content.bytes, values_);
    if (rewritten == content.bytes)
        return true;
    content.bytes = std::string(); // a large file is held twice only as long as needed

    // The original stays untouched until the new content is complete on disk.
    std::string temporary = newTemporaryBeside(path_);
    if (temporary.empty())
        return fail(GetLastError());
    Handle file(openForWrite(temporary));
    bool written = file && writeFully(file.get(), rewritten.data(), rewritten.size()) &&
                   FlushFileBuffers(file.get());
    // Nothing calls the system between the failed step and here.
    DWORD error = GetLastError();
    file.reset();
    if (written) {
        if (replaceWith(path_, temporary))
            return true;
        error = GetLastError();
    }
    DeleteFileW(toWide(temporary));
    return fail(error);
}

bool ConfigFile::contains(const std::string& key) const {
    return values_.count(key) != 0;
}

std::string ConfigFile::get(const std::string& key) const {
    auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

void ConfigFile::set(const std::string& key, const std::string& value) {
    values_[key] = value;
}

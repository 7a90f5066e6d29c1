#include "settings/ConfigFile.h"

#include "platform/Handle.h"
#include "platform/SystemError.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "settings/ConfigFormat.h"
#include "settings/FileAccess.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace {

constexpr const char* kConfigFileName = "vantorra.ini";

// The player is told when the system fails the read itself (a file that cannot be opened
// is passed over in silence).
void reportReadError(const FileContent& content) {
    if (content.opened && content.error != ERROR_SUCCESS)
        showSystemError(content.error, nullptr,
                        {nullptr, L"Error", MB_TOPMOST | MB_ICONINFORMATION});
}

} // namespace

ConfigFile::ConfigFile() : path_(configFolder() + kConfigFileName) {}

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {}

bool ConfigFile::load() {
    loadKeys(false);
    return true;
}

bool ConfigFile::loadManagedKeys() {
    loadKeys(true);
    return true;
}

void ConfigFile::loadKeys(bool managedKeysOnly) {
    managedKeysOnly_ = managedKeysOnly;
    FileContent content = readWholeFile(path_);
    reportReadError(content);
    // After a failed read what did arrive is still worth having. A file held by another
    // program for a moment leaves the values without the player's settings: until a
    // later read finds them, no default is written over them.
    loadFailed_ = !content.complete && !isMissing(content);
    try {
        takeValues(content.bytes);
    } catch (const std::bad_alloc&) {
        loadFailed_ = true; // more keys than this process can hold
    }
}

bool ConfigFile::retryLoad() {
    if (!loadFailed_)
        return true;
    FileContent content = readWholeFile(path_);
    if (!content.complete && !isMissing(content))
        return false;
    try {
        takeValues(content.bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    loadFailed_ = false;
    return true;
}

void ConfigFile::takeValues(const std::string& content) {
    ConfigValues read;
    parseConfigText(content, read, managedKeysOnly_);
    for (const std::string& key : setKeys_)
        read[key] = values_[key];
    values_ = std::move(read);
}

bool ConfigFile::save(ReadErrors readErrors) {
    saveError_ = ERROR_SUCCESS;
    refusedForNames_ = false;
    // A file too large to hold twice is left as it is, like one too large to read.
    try {
        return saveOrFail(readErrors);
    } catch (const std::bad_alloc&) {
        saveError_ = ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        saveError_ = ERROR_FILE_TOO_LARGE;
    }
    return false;
}

bool ConfigFile::saveOrFail(ReadErrors readErrors) {
    auto fail = [this](DWORD error) {
        saveError_ = error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
        return false;
    };

    // A missing file (and its folders) is created empty; an existing one is not touched.
    Handle(createNew(path_)).reset();

    // A file we cannot read completely would be rewritten from part of it, losing the rest.
    FileFacts target;
    FileContent content = readWholeFile(path_, &target);
    if (readErrors == ReadErrors::shown)
        reportReadError(content);
    if (!content.complete)
        return fail(content.error != ERROR_SUCCESS ? content.error : ERROR_READ_FAULT);
    // The load that failed, now: the player's settings come from the file, except those
    // set since.
    if (loadFailed_) {
        takeValues(content.bytes);
        loadFailed_ = false;
    }

    // Also when nothing changes: the file may already hold what a save that was cut short
    // wrote before its temporary was put in place.
    removeLeftTemporaries(target.path);

    std::string rewritten = rewrittenConfig(content.bytes, values_);
    if (rewritten == content.bytes)
        return true;
    content.bytes = std::string(); // a large file is held twice only as long as needed

    // Every name of the file would have to see the new content, and only a write into the
    // file itself does that: ended halfway, it would leave a mix of old and new lines.
    if (target.names > 1) {
        refusedForNames_ = true;
        return fail(ERROR_NOT_SUPPORTED);
    }
    // A player's read-only mark protects the file; Windows refuses the rename on its own,
    // Wine would not.
    if (target.attributes & FILE_ATTRIBUTE_READONLY)
        return fail(ERROR_ACCESS_DENIED);

    // Beside the file itself, so that the rename stays on its volume and a link to it
    // still leads to the new content. The original stays untouched until the new content
    // is complete on disk; then one rename puts it in place, so that the file is the old or
    // the new content at every moment, even for a launcher ended in between (Wine's
    // ReplaceFileW moves the original aside first).
    std::string temporary = newTemporaryBeside(target.path);
    if (temporary.empty())
        return fail(GetLastError());
    // The new file keeps the creation time and the marks the player put on the old one.
    DWORD kept = target.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (replaceThroughTemporary(toWideString(temporary), toWideString(target.path), rewritten,
                                &target.created, kept != 0 ? kept | FILE_ATTRIBUTE_ARCHIVE : 0))
        return true;
    return fail(GetLastError());
}

std::string ConfigFile::saveFailure() const {
    std::string text = "The settings could not be saved to " + path_;
    if (refusedForNames_)
        text += ". The file has other names (hard links), which a new file in its place "
                "would leave with the old settings.";
    return text;
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
    setKeys_.insert(key);
}

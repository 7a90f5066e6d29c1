#include "platform/Files.h"

#include "platform/Handle.h"
#include "platform/SystemHooks.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <new>
#include <stdexcept>

namespace {

// WriteFile takes a 32-bit count; large contents go in pieces.
constexpr size_t kWritePiece = 0x3C00000;

std::wstring knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

// False when not every byte could be written.
bool writeFully(HANDLE file, const char* data, size_t count) {
    size_t done = 0;
    do {
        DWORD piece = static_cast<DWORD>(count - done < kWritePiece ? count - done : kWritePiece);
        DWORD written = 0;
        if (!systemHooks.writeFile(file, data + done, piece, &written, nullptr))
            return false;
        // A disk file takes the whole piece; anything less would loop for ever.
        if (written == 0 && piece > 0)
            return false;
        done += written;
    } while (done < count);
    return true;
}

} // namespace

const std::wstring& roamingAppDataFolder() {
    static const std::wstring folder = knownFolder(FOLDERID_RoamingAppData);
    return folder;
}

const std::wstring& localAppDataFolder() {
    static const std::wstring folder = knownFolder(FOLDERID_LocalAppData);
    return folder;
}

void createDirectories(const std::wstring& directory) {
    DWORD attributes = GetFileAttributesW(directory.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    size_t slash = directory.rfind(L'\\');
    // "C:\" has nothing above it to create.
    if (slash != std::wstring::npos && slash != 2)
        createDirectories(directory.substr(0, slash));
    CreateDirectoryW(directory.c_str(), nullptr);
}

FileContent readOpenFile(HANDLE file, std::optional<std::uint64_t> exactSize) {
    FileContent content;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        content.error = GetLastError();
        return content;
    }
    // Not the file asked for, however large it is: its size alone says so.
    if (exactSize && static_cast<std::uint64_t>(size.QuadPart) != *exactSize) {
        content.error = ERROR_INVALID_DATA;
        return content;
    }
    // ReadFile takes a 32-bit count.
    if (size.QuadPart >= MAXDWORD) {
        content.error = ERROR_FILE_TOO_LARGE;
        return content;
    }
    // A 32-bit process cannot hold a string of 1 GiB, nor perhaps a smaller one in an
    // address space cut into pieces: such a file is refused like one too large to read.
    try {
        content.bytes.resize(static_cast<size_t>(size.QuadPart) + 1);
    } catch (const std::length_error&) {
        content.error = ERROR_FILE_TOO_LARGE;
        return content;
    } catch (const std::bad_alloc&) {
        content.error = ERROR_NOT_ENOUGH_MEMORY;
        return content;
    }
    content.opened = true;
    DWORD got = 0;
    if (!systemHooks.readFile(file, content.bytes.data(), static_cast<DWORD>(content.bytes.size()),
                              &got, nullptr))
        content.error = GetLastError();
    content.complete = content.error == ERROR_SUCCESS && got == size.QuadPart;
    content.bytes.resize(got);
    return content;
}

bool replaceThroughTemporary(const std::wstring& temporary, const std::wstring& target,
                             const std::string& bytes, const FILETIME* created, DWORD attributes) {
    bool written = false;
    DWORD error = ERROR_SUCCESS;
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && writeFully(file.get(), bytes.data(), bytes.size());
        // A volume that keeps no creation time leaves the new one's, no reason to fail.
        if (written && created)
            SetFileTime(file.get(), created, nullptr, nullptr);
        // On the disk before the rename: a power cut then leaves the old content or the
        // whole new one, never an empty file.
        written = written && FlushFileBuffers(file.get());
        // Nothing calls the system between the failed step and here.
        error = GetLastError();
    }
    if (written) {
        if ((attributes == 0 || SetFileAttributesW(temporary.c_str(), attributes)) &&
            systemHooks.moveFile(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = GetLastError();
    }
    DeleteFileW(temporary.c_str());
    SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    return false;
}

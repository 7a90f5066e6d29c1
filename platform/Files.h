#pragma once
// The file operations that more than one layer needs: a whole file read through one handle,
// folders made, new content put in place of a file with one rename, and the player's known
// folders. Paths are wide, as the system takes them.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// The player's roaming and local application-data folders, without a trailing backslash,
// looked up once per run; empty when the system names none.
const std::wstring& roamingAppDataFolder();
const std::wstring& localAppDataFolder();

// Creates the directory and its missing ancestors, outermost first; failures are ignored
// and show in the open that follows.
void createDirectories(const std::wstring& directory);

// What one read of a whole file found.
struct FileContent {
    bool opened = false;         // false: nothing read, `error` says why
    bool complete = false;       // exactly the size's bytes arrived
    std::string bytes;           // what arrived, also before a failed read
    DWORD error = ERROR_SUCCESS; // the system's code when the open or the read failed
};
// The file as one open handle finds it: its size, then one read of one byte more, so that a
// file that grew meanwhile shows as well. A file larger than this process can hold, or of
// another size than `exactSize` when that is given, is not read at all.
FileContent readOpenFile(HANDLE file, std::optional<std::uint64_t> exactSize = std::nullopt);

// Writes `bytes` into `temporary` (beside `target`, on its volume; created or emptied),
// flushes it to the disk and puts it in place of `target` with one rename, so that the
// target holds the old or the new content at every moment. The new file takes `created` as
// its creation time when given, and `attributes` when not 0. False with the system's code as
// the last error, the temporary removed.
bool replaceThroughTemporary(const std::wstring& temporary, const std::wstring& target,
                             const std::string& bytes, const FILETIME* created = nullptr,
                             DWORD attributes = 0);

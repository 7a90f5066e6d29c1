#pragma once
// Where the game's configuration file lives and the few file operations its reading
// and rewriting need. Paths are UTF-8; failures are silent unless noted.
#include <windows.h>

#include <optional>
#include <string>

// The player's roaming application-data folder followed by "\Quenmark\Vantorra\", or
// "\" when that folder cannot be determined.
std::string configFolder();

// The part before the last backslash; none without a backslash or for a drive root.
std::optional<std::string> parentDirectory(const std::string& path);
// Creates the directory and its missing ancestors, outermost first; failures are ignored.
void createDirectories(const std::string& directory);

// Creates missing parent folders, then creates or empties the file, opened without
// sharing. Null on failure.
HANDLE openForWrite(const std::string& path);
// Like openForWrite, but never touches a file that is already there.
HANDLE createNew(const std::string& path);
// Null on failure.
HANDLE openForRead(const std::string& path);
// -1 when the file cannot be opened.
long long fileSize(const std::string& path);
// One read of `count` bytes: the bytes read (those before a failure included), or -1
// when the file cannot be opened. `error` is the system's code when either failed,
// else ERROR_SUCCESS.
long long readFile(const std::string& path, char* buffer, DWORD count, DWORD& error);
// False when not every byte could be written.
bool writeFully(HANDLE file, const char* data, size_t count);

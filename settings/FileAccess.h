#pragma once
// Where the game's configuration file lives and the few file operations its reading
// and rewriting need. Paths are UTF-8; failures are silent unless noted.
#include "platform/Files.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The player's roaming application-data folder followed by "\Quenmark\Vantorra\", or
// "\" when that folder cannot be determined.
std::string configFolder();
// The short (8.3) form of `path`, of any length; empty when the system gives none.
std::string shortPathOf(const wchar_t* path);

// The part before the last backslash; none without a backslash or for a drive root.
std::optional<std::string> parentDirectory(const std::string& path);

// Creates missing parent folders, then creates the file, opened without sharing; never
// touches a file that is already there. Null on failure.
HANDLE createNew(const std::string& path);
// Null on failure.
HANDLE openForRead(const std::string& path);

// The file itself that a path leads to, through any symbolic links and junctions: what a
// save must replace so that the links keep pointing at the new content.
struct FileFacts {
    std::string path; // its final path; the path as given where the system cannot name it
    DWORD attributes = 0;
    DWORD names = 1; // hard links: the names the file has in its volume
    FILETIME created = {};
};
// The whole file, as readOpenFile reads it; with `facts`, also learns those from the same
// handle (a failure to learn them fails the read).
FileContent readWholeFile(const std::string& path, FileFacts* facts = nullptr);
// Whether the content shows that there is no file (nor folder) to read.
bool isMissing(const FileContent& content);

// A new, empty temporary file beside `path` (so that putting it in place is a rename on
// the same volume), under a name no file has: a leftover of an earlier save, read-only or
// held open, never stands in the way. Empty on failure.
std::string newTemporaryBeside(const std::string& path);
// Whether a file name is one that newTemporaryBeside gives, in any letter case.
bool isTemporaryName(std::wstring_view name);
// Deletes the temporaries that earlier saves beside `path` left behind when they were cut
// short (a crash, a power cut). One still held open, perhaps by a save running now in
// another launcher, refuses the delete and stays; so does a read-only one, and one written
// in the last minutes: another launcher's save may be between closing it and putting it
// in place.
void removeLeftTemporaries(const std::string& path);
// Whether a temporary last written at `written` is old enough at `now` to be a leftover.
bool isLongLeft(FILETIME written, FILETIME now);

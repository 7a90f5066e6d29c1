#pragma once
// The version an executable carries in its version resource, as the player sees it.

// "major.minor.build" of the file version (1.0.3 for 1.0.3.7), in the narrow scratch
// pool; empty when the file is missing or has no version record.
const char* getFileVersionString(const char* path);

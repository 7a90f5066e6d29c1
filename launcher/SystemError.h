#pragma once
#include <windows.h>

// Shows the system's text for the calling thread's last error, then a line feed and
// `context` (UTF-8, may be null or empty), in an error box. With `throwAfter` it then
// throws an exception that nobody catches, so the launcher ends in the emergency launch.
void showSystemError(const char* context, bool throwAfter);

// The same box for a failure whose error code the caller kept, when other calls came
// between the failure and the report, owned by `owner` (may be null); never throws.
void showSystemError(HWND owner, DWORD code, const char* context);

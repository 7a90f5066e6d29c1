#pragma once

// Shows the system's text for the calling thread's last error, then a line feed and
// `context` (UTF-8, may be null or empty), in an error box. With `throwAfter` it then
// throws an exception that nobody catches, so the launcher ends in the emergency launch.
void showSystemError(const char* context, bool throwAfter);

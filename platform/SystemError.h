#pragma once
// The one way a failed system call reaches the player: the system's text for the error,
// then a line feed and a context (UTF-8, may be null or empty), in a message box.
#include <windows.h>

// How the box looks: no owner, the system's default caption and the error icon unless
// told otherwise.
struct ErrorBoxStyle {
    HWND owner = nullptr;
    const wchar_t* caption = nullptr;
    UINT flags = MB_ICONERROR;
};

// For an error code the caller kept, when other calls came between the failure and the
// report.
void showSystemError(DWORD code, const char* context, const ErrorBoxStyle& style = {});

// For the calling thread's last error. With `throwAfter` it then throws an exception that
// nobody catches, so the launcher ends in the emergency launch.
void showSystemError(const char* context, bool throwAfter);

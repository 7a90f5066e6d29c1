#include "launcher/SystemError.h"

#include "launcher/Text.h"

#include <windows.h>

#include <exception>
#include <string>

namespace {

void showErrorBox(HWND owner, DWORD code, const char* context) {
    wchar_t systemText[1023] = {};
    // 0xFF: drop the system's soft line breaks; inserts stay unexpanded.
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 0xFF;
    if (!FormatMessageW(flags, nullptr, code, 0x400, systemText, 1023, nullptr))
        systemText[0] = L'\0';

    std::wstring message = systemText;
    if (context && *context) {
        message += L'\n';
        message += toWideString(context);
    }
    MessageBoxW(owner, message.c_str(), nullptr, MB_ICONERROR | MB_OK);
}

} // namespace

void showSystemError(const char* context, bool throwAfter) {
    // Read the code before anything else can overwrite it.
    showErrorBox(nullptr, GetLastError(), context);
    if (throwAfter)
        throw std::exception();
}

void showSystemError(HWND owner, DWORD code, const char* context) {
    showErrorBox(owner, code, context);
}

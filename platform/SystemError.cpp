#include "platform/SystemError.h"

#include "platform/Text.h"
#include "platform/MessageBox.h"

#include <exception>
#include <string>

void showSystemError(DWORD code, const char* context, const ErrorBoxStyle& style) {
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
    messageBox(style.owner, message.c_str(), style.caption, style.flags | MB_OK);
}

void showSystemError(const char* context, bool throwAfter) {
    // Read the code before anything else can overwrite it.
    showSystemError(GetLastError(), context);
    if (throwAfter)
        throw std::exception();
}

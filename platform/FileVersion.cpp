#include "platform/FileVersion.h"

#include "platform/Text.h"

#include <windows.h>

#include <vector>

// https://learn.microsoft.com/windows/win32/api/winver/nf-winver-verqueryvaluew
const char* getFileVersionString(const char* path) {
    DWORD size = GetFileVersionInfoSizeW(toWide(path), nullptr);
    if (size == 0)
        return "";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(toWide(path), 0, size, block.data()))
        return "";
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &found, &length) || length == 0 || !found)
        return "";
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    if (fixed->dwSignature != 0xFEEF04BD)
        return "";
    return formatText("%d.%d.%d", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                      HIWORD(fixed->dwFileVersionLS));
}

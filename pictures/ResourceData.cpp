#include "pictures/ResourceData.h"

namespace VellGui {

ResourceData findResourceData(const char* id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(LOWORD(id)), L"BINARY");
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    DWORD size = SizeofResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return {};
    return {bytes, size};
}

} // namespace VellGui

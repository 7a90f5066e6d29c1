#pragma once
// The bytes of one "BINARY" resource of the executable.
#include <windows.h>

namespace VellGui {

struct ResourceData {
    const void* bytes = nullptr; // null when the resource is missing; the last error says why
    DWORD size = 0;
};

// Resource data stays mapped for the life of the module; nothing to release.
ResourceData findResourceData(const char* id);

} // namespace VellGui

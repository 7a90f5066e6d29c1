#pragma once
// Scripted stand-ins for the DXGI factory, adapters and outputs: each Enum call hands
// out a fresh object, as the system does, and every object counts while it lives so a
// test can see that all references were released.
#include "display/DisplayEnumeration.h"

#include <vector>

namespace fake_dxgi {

struct OutputScript {
    RECT desktop{};
    bool attached = true;
    std::vector<DXGI_MODE_DESC> modes; // in the order the system reports them
    HRESULT modeListResult = S_OK;     // what GetDisplayModeList returns when not S_OK
    HRESULT descResult = S_OK;
};

struct AdapterScript {
    UINT vendor = 0x10DE;
    UINT device = 0x1C82;
    SIZE_T videoMemory = 0;
    std::vector<OutputScript> outputs;
    HRESULT outputsEnd = DXGI_ERROR_NOT_FOUND; // EnumOutputs past the last output
};

struct FactoryScript {
    std::vector<AdapterScript> adapters;
    HRESULT createResult = S_OK;
    HRESULT adaptersEnd = DXGI_ERROR_NOT_FOUND; // EnumAdapters past the last adapter
};

// A factory source that builds a fresh fake factory from a copy of `script`.
DxgiFactorySource sourceFor(FactoryScript script);
// Fake objects alive now.
int liveObjects();

DXGI_MODE_DESC mode(UINT width, UINT height, UINT refreshHz = 60);
// A 16-bit screen-size list: width and height of each mode, in order.
std::vector<std::pair<int, int>> sizes(const std::vector<ModeInfo>& modes);

} // namespace fake_dxgi

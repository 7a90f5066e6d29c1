#pragma once
// What the enumeration found: plain records, owned by value by their parent record.
#include <dxgi.h>

#include <cstdint>
#include <vector>

// One display mode offered for a monitor.
struct ModeInfo {
    DXGI_MODE_DESC desc; // as reported, for the first reported mode of this size
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t recommendable; // 1 when not beyond 2560 x 1600; always 1 for the placeholder
};

// One output of an adapter.
struct MonitorInfo {
    DXGI_OUTPUT_DESC desc;       // all zero for a placeholder monitor
    std::vector<ModeInfo> modes; // widest first; never empty
    std::uint8_t globalIndex;    // running number over all monitors of all adapters
};

// One graphics adapter.
struct AdapterInfo {
    DXGI_ADAPTER_DESC desc;            // all zero for the placeholder adapter
    std::vector<MonitorInfo> monitors; // never empty
};

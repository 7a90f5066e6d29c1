#pragma once
// The adapters, outputs and modes of the machine, read through DXGI. Whatever DXGI
// does not deliver is replaced by placeholders, so there is always at least one
// adapter, one monitor per adapter and one mode per monitor.
#include "display/DisplayInfo.h"

#include <functional>
#include <vector>

// Where the DXGI factory comes from: the system by default, scripted fakes in tests.
// Hands over a new reference in `factory` on success.
using DxgiFactorySource = std::function<HRESULT(IDXGIFactory** factory)>;

// CreateDXGIFactory for IDXGIFactory.
HRESULT createSystemDxgiFactory(IDXGIFactory** factory);

// Fills `adapters` (cleared first), dropping the system's software renderer and
// numbering the monitors across all adapters.
void enumerateDisplays(std::vector<AdapterInfo>& adapters,
                       const DxgiFactorySource& source = createSystemDxgiFactory);
// One adapter's outputs; with no adapter (or none reported) a single placeholder.
void enumerateMonitors(std::vector<MonitorInfo>& monitors, IDXGIAdapter* adapter);
// One output's modes (see buildModeList); with no output the single mode 0 x 0.
void enumerateModes(std::vector<ModeInfo>& modes, IDXGIOutput* output);

// The monitors attached to the desktop, in enumeration order; when none is, the first
// monitor of the first adapter. The pointers are valid while `adapters` is unchanged.
void collectDesktopMonitors(const std::vector<AdapterInfo>& adapters,
                            std::vector<const MonitorInfo*>& desktopMonitors);

// Out-of-range indexes give the last entry; the lists are never empty.
const AdapterInfo& adapterAt(const std::vector<AdapterInfo>& adapters, unsigned index);
const MonitorInfo& monitorAt(const std::vector<const MonitorInfo*>& desktopMonitors,
                             unsigned index);
// The monitor's mode at the index, or its last mode beyond the list (never empty either).
const ModeInfo& modeAt(const MonitorInfo& monitor, unsigned index);

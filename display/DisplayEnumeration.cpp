#include "display/DisplayEnumeration.h"

#include "platform/ComPtr.h"
#include "platform/SystemFunctions.h"
#include "display/ModeFilter.h"

#include <algorithm>
#include <utility>

namespace {

// Microsoft's basic render driver: a software renderer nobody wants to play on.
constexpr UINT kSoftwareVendor = 0x1414;
constexpr UINT kSoftwareDevice = 0x8C;

bool isSoftwareRenderer(const DXGI_ADAPTER_DESC& desc) {
    return desc.VendorId == kSoftwareVendor && desc.DeviceId == kSoftwareDevice;
}

// The modes the output reports, in its order; empty when it reports none or fails.
std::vector<DXGI_MODE_DESC> reportedModes(IDXGIOutput* output) {
    constexpr DXGI_FORMAT format = DXGI_FORMAT_R8G8B8A8_UNORM;
    std::vector<DXGI_MODE_DESC> modes;
    UINT count = 0;
    if (FAILED(output->GetDisplayModeList(format, 0, &count, nullptr)) || count == 0)
        return modes;
    modes.resize(count);
    UINT filled = count;
    // A list that changed between the calls is taken as none rather than retried.
    if (FAILED(output->GetDisplayModeList(format, 0, &filled, modes.data())))
        return {};
    modes.resize(std::min(filled, count));
    return modes;
}

} // namespace

HRESULT createSystemDxgiFactory(IDXGIFactory** factory) {
    auto create = systemFunctions::createDxgiFactory.get();
    if (!create)
        return DXGI_ERROR_UNSUPPORTED; // no DXGI on this system: the placeholders stand in
    return create(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory));
}

void enumerateModes(std::vector<ModeInfo>& modes, IDXGIOutput* output) {
    std::vector<DXGI_MODE_DESC> reported;
    if (output)
        reported = reportedModes(output);
    modes = buildModeList(reported);
}

void enumerateMonitors(std::vector<MonitorInfo>& monitors, IDXGIAdapter* adapter) {
    monitors.clear();
    monitors.reserve(4);
    if (adapter) {
        for (UINT j = 0;; ++j) {
            ComPtr<IDXGIOutput> output;
            // DXGI_ERROR_NOT_FOUND is the normal end; any other failure ends the list too.
            if (FAILED(adapter->EnumOutputs(j, output.put())) || !output)
                break;
            MonitorInfo monitor{};
            enumerateModes(monitor.modes, output.get());
            if (FAILED(output->GetDesc(&monitor.desc)))
                monitor.desc = {};
            // Outputs not attached to the desktop are listed too: they count in numbering.
            monitors.push_back(std::move(monitor));
        }
    }
    if (monitors.empty()) {
        MonitorInfo placeholder{};
        enumerateModes(placeholder.modes, nullptr);
        monitors.push_back(std::move(placeholder));
    }
}

void enumerateDisplays(std::vector<AdapterInfo>& adapters, const DxgiFactorySource& source) {
    adapters.clear();
    adapters.reserve(2);
    {
        ComPtr<IDXGIFactory> factory;
        if (source && SUCCEEDED(source(factory.put())) && factory) {
            for (UINT i = 0;; ++i) {
                ComPtr<IDXGIAdapter> adapter;
                if (FAILED(factory->EnumAdapters(i, adapter.put())) || !adapter)
                    break;
                AdapterInfo info{};
                enumerateMonitors(info.monitors, adapter.get());
                if (FAILED(adapter->GetDesc(&info.desc)))
                    info.desc = {};
                if (!isSoftwareRenderer(info.desc))
                    adapters.push_back(std::move(info));
            }
        }
    }
    if (adapters.empty()) {
        AdapterInfo placeholder{};
        enumerateMonitors(placeholder.monitors, nullptr);
        adapters.push_back(std::move(placeholder));
    }

    std::uint8_t counter = 0;
    for (AdapterInfo& adapter : adapters)
        for (MonitorInfo& monitor : adapter.monitors)
            monitor.globalIndex = counter++;
}

void collectDesktopMonitors(const std::vector<AdapterInfo>& adapters,
                            std::vector<const MonitorInfo*>& desktopMonitors) {
    desktopMonitors.clear();
    desktopMonitors.reserve(4);
    for (const AdapterInfo& adapter : adapters)
        for (const MonitorInfo& monitor : adapter.monitors)
            if (monitor.desc.AttachedToDesktop)
                desktopMonitors.push_back(&monitor);
    if (desktopMonitors.empty())
        desktopMonitors.push_back(&adapters.front().monitors.front());
}

const AdapterInfo& adapterAt(const std::vector<AdapterInfo>& adapters, unsigned index) {
    return adapters[std::min<std::size_t>(index, adapters.size() - 1)];
}

const MonitorInfo& monitorAt(const std::vector<const MonitorInfo*>& desktopMonitors,
                             unsigned index) {
    return *desktopMonitors[std::min<std::size_t>(index, desktopMonitors.size() - 1)];
}

const ModeInfo& modeAt(const MonitorInfo& monitor, unsigned index) {
    return monitor.modes[std::min<std::size_t>(index, monitor.modes.size() - 1)];
}

#include "tests/display/FakeDxgi.h"

#include <algorithm>
#include <memory>

namespace fake_dxgi {
namespace {

int live = 0;

// IUnknown and IDXGIObject for every fake; only what the launcher calls does anything.
template <typename Interface> class FakeObject : public Interface {
public:
    FakeObject() { ++live; }
    virtual ~FakeObject() { --live; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }

private:
    ULONG references_ = 1;
};

class FakeOutput : public FakeObject<IDXGIOutput> {
public:
    explicit FakeOutput(const OutputScript& script) : script_(script) {}

    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_OUTPUT_DESC* desc) override {
        if (FAILED(script_.descResult))
            return script_.descResult;
        *desc = {};
        desc->DesktopCoordinates = script_.desktop;
        desc->AttachedToDesktop = script_.attached;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayModeList(DXGI_FORMAT format, UINT flags, UINT* count,
                                                 DXGI_MODE_DESC* modes) override {
        if (FAILED(script_.modeListResult))
            return script_.modeListResult;
        // Only the one format the game renders in has modes here, and no extras
        // (interlaced, stretched) may be asked for.
        if (format != DXGI_FORMAT_R8G8B8A8_UNORM || flags != 0) {
            *count = 0;
            return S_OK;
        }
        const UINT available = static_cast<UINT>(script_.modes.size());
        if (!modes) {
            *count = available;
            return S_OK;
        }
        const UINT filled = std::min(*count, available);
        std::copy_n(script_.modes.begin(), filled, modes);
        *count = filled;
        return filled < available ? DXGI_ERROR_MORE_DATA : S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindClosestMatchingMode(const DXGI_MODE_DESC*, DXGI_MODE_DESC*,
                                                      IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE WaitForVBlank() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TakeOwnership(IUnknown*, WINBOOL) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseOwnership() override {}
    HRESULT STDMETHODCALLTYPE
    GetGammaControlCapabilities(DXGI_GAMMA_CONTROL_CAPABILITIES*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetGammaControl(const DXGI_GAMMA_CONTROL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetGammaControl(DXGI_GAMMA_CONTROL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDisplaySurface(IDXGISurface*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplaySurfaceData(IDXGISurface*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFrameStatistics(DXGI_FRAME_STATISTICS*) override {
        return E_NOTIMPL;
    }

private:
    OutputScript script_;
};

class FakeAdapter : public FakeObject<IDXGIAdapter> {
public:
    explicit FakeAdapter(const AdapterScript& script) : script_(script) {}

    HRESULT STDMETHODCALLTYPE EnumOutputs(UINT index, IDXGIOutput** output) override {
        *output = nullptr;
        if (index >= script_.outputs.size())
            return script_.outputsEnd;
        *output = new FakeOutput(script_.outputs[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_ADAPTER_DESC* desc) override {
        *desc = {};
        desc->VendorId = script_.vendor;
        desc->DeviceId = script_.device;
        desc->DedicatedVideoMemory = script_.videoMemory;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckInterfaceSupport(REFGUID, LARGE_INTEGER*) override {
        return E_NOTIMPL;
    }

private:
    AdapterScript script_;
};

class FakeFactory : public FakeObject<IDXGIFactory> {
public:
    explicit FakeFactory(const FactoryScript& script) : script_(script) {}

    HRESULT STDMETHODCALLTYPE EnumAdapters(UINT index, IDXGIAdapter** adapter) override {
        *adapter = nullptr;
        if (index >= script_.adapters.size())
            return script_.adaptersEnd;
        *adapter = new FakeAdapter(script_.adapters[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MakeWindowAssociation(HWND, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindowAssociation(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSwapChain(IUnknown*, DXGI_SWAP_CHAIN_DESC*,
                                              IDXGISwapChain**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateSoftwareAdapter(HMODULE, IDXGIAdapter**) override {
        return E_NOTIMPL;
    }

private:
    FactoryScript script_;
};

} // namespace

DxgiFactorySource sourceFor(FactoryScript script) {
    return [script = std::move(script)](IDXGIFactory** factory) -> HRESULT {
        *factory = nullptr;
        if (FAILED(script.createResult))
            return script.createResult;
        *factory = new FakeFactory(script);
        return S_OK;
    };
}

int liveObjects() {
    return live;
}

DXGI_MODE_DESC mode(UINT width, UINT height, UINT refreshHz) {
    DXGI_MODE_DESC desc{};
    desc.Width = width;
    desc.Height = height;
    desc.RefreshRate = {refreshHz, 1};
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    return desc;
}

std::vector<std::pair<int, int>> sizes(const std::vector<ModeInfo>& modes) {
    std::vector<std::pair<int, int>> result;
    for (const ModeInfo& info : modes)
        result.emplace_back(info.width, info.height);
    return result;
}

} // namespace fake_dxgi

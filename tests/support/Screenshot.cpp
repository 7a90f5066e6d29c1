#include "tests/support/Screenshot.h"

#include "platform/ComPtr.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>

namespace testing_support {

namespace {

struct ScreenCopy {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    ScreenCopy() = default;
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;
    ~ScreenCopy() {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        if (screen)
            ReleaseDC(nullptr, screen);
    }
};

} // namespace

int ScreenPixels::count(COLORREF colour) const {
    uint32_t wanted = 0xFF000000u | (uint32_t(GetRValue(colour)) << 16) |
                      (uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
    return static_cast<int>(std::count(bgra.begin(), bgra.end(), wanted));
}

ScreenPixels captureScreen(const RECT& area) {
    ScreenPixels result;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    ScreenCopy copy;
    if (width <= 0 || height <= 0 || !copy.screen || !copy.memory)
        return result;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    copy.bitmap = CreateDIBSection(copy.memory, &info, DIB_RGB_COLORS, &copy.bits, nullptr, 0);
    if (!copy.bitmap)
        return result;
    HGDIOBJ previous = SelectObject(copy.memory, copy.bitmap);
    BOOL copied =
        BitBlt(copy.memory, 0, 0, width, height, copy.screen, area.left, area.top, SRCCOPY);
    SelectObject(copy.memory, previous);
    if (!copied)
        return result;
    result.width = width;
    result.height = height;
    result.bgra.resize(size_t(width) * height);
    std::memcpy(result.bgra.data(), copy.bits, result.bgra.size() * 4);
    // The screen has no alpha.
    for (uint32_t& pixel : result.bgra)
        pixel |= 0xFF000000u;
    return result;
}

ScreenPixels windowPixels(HWND window) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // Time for painting and the desktop to settle; a window's timers keep the queue busy.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 400;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            Sleep(10);
    }
    RECT area = {};
    GetWindowRect(window, &area);
    return captureScreen(area);
}

bool saveScreenPng(const RECT& area, const std::wstring& path) {
    ScreenPixels pixels = captureScreen(area);
    if (pixels.bgra.empty())
        return false;
    HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool saved = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        const UINT stride = pixels.width * 4;
        saved =
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(factory.put()))) &&
            SUCCEEDED(factory->CreateStream(stream.put())) &&
            SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
            SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) &&
            SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(pixels.width, pixels.height)) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
            SUCCEEDED(frame->WritePixels(pixels.height, stride, stride * pixels.height,
                                         reinterpret_cast<BYTE*>(pixels.bgra.data()))) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return saved;
}

} // namespace testing_support

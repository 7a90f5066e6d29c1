#include "gui/Picture.h"

#include "platform/ComPtr.h"
#include "platform/GdiObjects.h"
#include "gui/ResourceData.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

#include <wincodec.h>

#include <exception>

namespace VellGui {

namespace {

[[noreturn]] void reportFailure() {
    showSystemError("", true);
    std::terminate(); // not reached: the report throws
}

// COM results carry no last error of their own; the system has texts for most of them.
void check(HRESULT result) {
    if (FAILED(result)) {
        SetLastError(static_cast<DWORD>(result));
        reportFailure();
    }
}

} // namespace

Picture::~Picture() {
    if (bitmap)
        DeleteObject(bitmap);
}

void Picture::load(const char* from) {
    bool fromResource = IS_INTRESOURCE(from);
    source = fromResource ? formatText("%p", from) : from;

    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())));

    ComPtr<IWICBitmapDecoder> decoder;
    if (fromResource) {
        ResourceData data = findResourceData(from);
        if (!data.bytes)
            reportFailure();
        ComPtr<IWICStream> stream;
        check(factory->CreateStream(stream.put()));
        check(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data.bytes)),
                                           data.size));
        check(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, decoder.put()));
    } else {
        check(factory->CreateDecoderFromFilename(toWide(from), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, decoder.put()));
    }

    ComPtr<IWICBitmapFrameDecode> frame;
    check(decoder->GetFrame(0, frame.put()));
    UINT w = 0;
    UINT h = 0;
    check(frame->GetSize(&w, &h));

    // AlphaBlend with AC_SRC_ALPHA expects premultiplied colours; straight alpha would
    // show the colour of (half-)transparent pixels as bright fringes.
    ComPtr<IWICFormatConverter> converter;
    check(factory->CreateFormatConverter(converter.put()));
    check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                nullptr, 0.0, WICBitmapPaletteTypeCustom));

    UINT stride = (w * 32 + 7) / 8;
    UINT bufferSize = stride * h;

    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = static_cast<LONG>(w);
    header.bmiHeader.biHeight = -static_cast<LONG>(h); // rows top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;

    void* bits = nullptr;
    GdiObject<HBITMAP> section;
    {
        WindowDC screen;
        section.reset(CreateDIBSection(screen.get(), &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!section) {
        // GDI does not always say why; running out of memory is the one likely cause.
        if (GetLastError() == ERROR_SUCCESS)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        reportFailure();
    }
    check(converter->CopyPixels(nullptr, stride, bufferSize, static_cast<BYTE*>(bits)));

    if (bitmap)
        DeleteObject(bitmap);
    bitmap = section.release();
    info = {};
    GetObjectW(bitmap, sizeof(info), &info);
}

} // namespace VellGui

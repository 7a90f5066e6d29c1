#include "gui/Picture.h"

#include "platform/ComPtr.h"
#include "platform/GdiObjects.h"
#include "gui/ResourceData.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

#include <wincodec.h>

namespace VellGui {

namespace {

// The first failure of a decode: its code, kept for the caller.
class Failure {
public:
    bool operator()(HRESULT result) {
        if (SUCCEEDED(result))
            return false;
        error = static_cast<DWORD>(result);
        return true;
    }
    DWORD error = ERROR_SUCCESS;
};

} // namespace

HBITMAP decodePicture(const char* from, DWORD& error) {
    Failure failed;
    auto fail = [&](DWORD code) -> HBITMAP {
        error = code;
        return nullptr;
    };
    auto failWith = [&]() -> HBITMAP { return fail(failed.error); };

    ComPtr<IWICImagingFactory> factory;
    if (failed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return failWith();

    ComPtr<IWICBitmapDecoder> decoder;
    if (IS_INTRESOURCE(from)) {
        ResourceData data = findResourceData(from);
        if (!data.bytes)
            return fail(GetLastError() != ERROR_SUCCESS ? GetLastError()
                                                        : ERROR_RESOURCE_DATA_NOT_FOUND);
        ComPtr<IWICStream> stream;
        if (failed(factory->CreateStream(stream.put())) ||
            failed(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data.bytes)),
                                                data.size)) ||
            failed(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                    WICDecodeMetadataCacheOnDemand, decoder.put())))
            return failWith();
    } else if (failed(factory->CreateDecoderFromFilename(
                   toWideString(from).c_str(), nullptr, GENERIC_READ,
                   WICDecodeMetadataCacheOnDemand, decoder.put()))) {
        return failWith();
    }

    ComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0;
    UINT h = 0;
    if (failed(decoder->GetFrame(0, frame.put())) || failed(frame->GetSize(&w, &h)))
        return failWith();

    // AlphaBlend with AC_SRC_ALPHA expects premultiplied colours; straight alpha would
    // show the colour of (half-)transparent pixels as bright fringes.
    ComPtr<IWICFormatConverter> converter;
    if (failed(factory->CreateFormatConverter(converter.put())) ||
        failed(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return failWith();

    UINT stride = (w * 32 + 7) / 8;
    UINT bufferSize = stride * h;

    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = static_cast<LONG>(w);
    header.bmiHeader.biHeight = -static_cast<LONG>(h); // rows top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;

    // No device context: with DIB_RGB_COLORS none is needed, and the decoding thread then
    // never waits for the display.
    void* bits = nullptr;
    SetLastError(ERROR_SUCCESS);
    GdiObject<HBITMAP> section(
        CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) {
        // GDI does not always say why; running out of memory is the one likely cause.
        return fail(GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY);
    }
    if (failed(converter->CopyPixels(nullptr, stride, bufferSize, static_cast<BYTE*>(bits))))
        return failWith();
    error = ERROR_SUCCESS;
    return section.release();
}

Picture::~Picture() {
    if (bitmap)
        DeleteObject(bitmap);
}

std::string Picture::describe(const char* from) {
    return IS_INTRESOURCE(from) ? formatText("%p", from) : from;
}

void Picture::load(const char* from) {
    source = describe(from);
    DWORD error = ERROR_SUCCESS;
    HBITMAP decoded = decodePicture(from, error);
    if (!decoded) {
        // COM results carry no last error of their own; the system has texts for most.
        SetLastError(error);
        showSystemError("", true);
    }
    adopt(decoded);
}

void Picture::adopt(HBITMAP decoded) {
    if (bitmap)
        DeleteObject(bitmap);
    bitmap = decoded;
    info = {};
    if (bitmap)
        GetObjectW(bitmap, sizeof(info), &info);
}

} // namespace VellGui

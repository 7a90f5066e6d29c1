#include "pictures/Picture.h"

#include "pictures/Resample.h"
#include "pictures/ResourceData.h"
#include "platform/ComPtr.h"
#include "platform/DisplayScale.h"
#include "platform/GdiObjects.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

#include <wincodec.h>

#include <cstdlib>
#include <cstring>

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

// A 32-bit DIB section with rows top-down and no gaps between them.
HBITMAP createPictureSection(int width, int height, void*& bits) {
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height; // rows top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    // No device context: with DIB_RGB_COLORS none is needed, and a decoding thread then
    // never waits for the display.
    return CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// A new DIB section of `width` × `height` with the picture of `decoded` (a DIB section as
// decodePicture makes them) resized into it; null when it cannot be made.
HBITMAP resizePicture(HBITMAP decoded, int width, int height) {
    DIBSECTION section = {};
    if (!decoded || GetObjectW(decoded, sizeof(section), &section) != sizeof(section) ||
        !section.dsBm.bmBits || section.dsBm.bmBitsPixel != 32 || width <= 0 || height <= 0)
        return nullptr;
    const BITMAP& from = section.dsBm;
    // decodePicture makes top-down rows without gaps.
    std::vector<uint32_t> pixels =
        resamplePixels(static_cast<const uint32_t*>(from.bmBits), from.bmWidth,
                       std::abs(from.bmHeight), width, height);
    void* bits = nullptr;
    GdiObject<HBITMAP> resized(createPictureSection(width, height, bits));
    if (!resized || pixels.empty())
        return nullptr;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    return resized.release();
}

} // namespace

HBITMAP pictureFromPixels(const uint32_t* pixels, int width, int height) {
    void* bits = nullptr;
    HBITMAP section = width > 0 && height > 0 ? createPictureSection(width, height, bits) : nullptr;
    if (section)
        std::memcpy(bits, pixels, size_t(width) * size_t(height) * sizeof(uint32_t));
    return section;
}

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

    void* bits = nullptr;
    SetLastError(ERROR_SUCCESS);
    GdiObject<HBITMAP> section(
        createPictureSection(static_cast<int>(w), static_cast<int>(h), bits));
    if (!section) {
        // GDI does not always say why; running out of memory is the one likely cause.
        return fail(GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY);
    }
    if (failed(converter->CopyPixels(nullptr, stride, bufferSize, static_cast<BYTE*>(bits))))
        return failWith();
    error = ERROR_SUCCESS;
    return section.release();
}

HBITMAP resizeForDpi(HBITMAP decoded, const char* largeFrom, HBITMAP& large, UINT dpi, SIZE size) {
    bool largeIsSharper = dpi > kDefaultDpi;
    if (largeIsSharper && largeFrom && !large) {
        DWORD error = ERROR_SUCCESS;
        large = decodePicture(largeFrom, error);
    }
    return resizePicture(largeIsSharper && large ? large : decoded, size.cx, size.cy);
}

Picture::~Picture() {
    dropScaled();
    if (bitmap)
        DeleteObject(bitmap);
}

void Picture::dropScaled() {
    for (auto& [dpi, resized] : scaled)
        DeleteObject(resized.bitmap);
    scaled.clear();
    if (large)
        DeleteObject(large);
    large = nullptr;
}

void Picture::adoptScaled(UINT dpi, HBITMAP resized, HBITMAP decodedLarge) {
    if (decodedLarge && !large)
        large = decodedLarge;
    else if (decodedLarge)
        DeleteObject(decodedLarge);
    if (!resized)
        return;
    SIZE size = sizeAt(dpi);
    scaled.push_back({dpi, {resized, size.cx, size.cy}});
}

SIZE Picture::sizeAt(UINT dpi) const {
    return {scalePixels(info.bmWidth, dpi), scalePixels(info.bmHeight, dpi)};
}

SizedBitmap Picture::bitmapAt(UINT dpi) {
    SizedBitmap own = {bitmap, info.bmWidth, info.bmHeight};
    if (dpi == kDefaultDpi || !bitmap)
        return own;
    for (const auto& [madeFor, resized] : scaled) {
        if (madeFor == dpi)
            return resized;
    }
    SIZE size = sizeAt(dpi);
    HBITMAP resized = resizeForDpi(bitmap, largeFrom, large, dpi, size);
    if (!resized)
        return own; // stretched as it is painted: worse, but still the picture
    scaled.push_back({dpi, {resized, size.cx, size.cy}});
    return scaled.back().second;
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
    dropScaled();
    if (bitmap)
        DeleteObject(bitmap);
    bitmap = decoded;
    info = {};
    if (bitmap)
        GetObjectW(bitmap, sizeof(info), &info);
}

} // namespace VellGui

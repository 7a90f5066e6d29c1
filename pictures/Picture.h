#pragma once
// One decoded picture: a 32-bit top-down DIB section holding premultiplied BGRA, ready
// for AlphaBlend with per-pixel alpha (and for BitBlt when the picture is opaque), and
// the same picture resized once for each other DPI it is shown at.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VellGui {

// A bitmap and its size.
struct SizedBitmap {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};

class Picture {
public:
    Picture() = default;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // `from`: a "BINARY" resource id (MAKEINTRESOURCEA) or a UTF-8 file path. A picture
    // that cannot be decoded is reported with the system's text and ends start-up with
    // an exception.
    void load(const char* from);
    // Takes over a decoded bitmap (deleting the one held before, and every resized one)
    // and reads its size.
    void adopt(HBITMAP decoded);
    // Takes over the picture resized for `dpi`, and the larger source it was made from
    // (either may be null).
    void adoptScaled(UINT dpi, HBITMAP scaled, HBITMAP decodedLarge);

    // "%p" of a resource id, or the path: what `source` holds for `from`.
    static std::string describe(const char* from);

    // The size it is shown at on a screen of `dpi`: its own size at 96 DPI, scaled.
    SIZE sizeAt(UINT dpi) const;
    // Its pixels at that size: `bitmap` at 96 DPI; otherwise resized from `largeFrom` (for
    // a DPI above 96, when there is one) or from `bitmap` on first use, and kept. Should
    // that fail, `bitmap` itself.
    SizedBitmap bitmapAt(UINT dpi);

    HBITMAP bitmap = nullptr;
    BITMAP info = {}; // controls read info.bmWidth and info.bmHeight
    std::string source;
    // The same picture drawn at twice the size, a "BINARY" resource id; may be null.
    const char* largeFrom = nullptr;

private:
    void dropScaled();

    HBITMAP large = nullptr; // decoded from largeFrom once needed
    std::vector<std::pair<UINT, SizedBitmap>> scaled;
};

// Decodes `from` (as Picture::load takes it) into a new 32-bit premultiplied DIB section
// without reporting anything: null, with `error` the system's code (an HRESULT for
// imaging failures), when it cannot. Needs COM on the calling thread, which may be any.
HBITMAP decodePicture(const char* from, DWORD& error);
// A new DIB section (top-down rows, as decodePicture makes them) holding a copy of the
// premultiplied BGRA pixels; null when it cannot be made.
HBITMAP pictureFromPixels(const uint32_t* pixels, int width, int height);
// A new DIB section of `size` with the picture resized into it for `dpi`: above 96 DPI
// from the artwork drawn at twice the size (`largeFrom`, decoded into `large` on first
// need and kept by the caller), else and when that fails from `decoded`. Null when it
// cannot be made. Any thread with COM.
HBITMAP resizeForDpi(HBITMAP decoded, const char* largeFrom, HBITMAP& large, UINT dpi, SIZE size);

} // namespace VellGui

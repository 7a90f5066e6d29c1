#pragma once
// One decoded picture: a 32-bit top-down DIB section holding premultiplied BGRA, ready
// for AlphaBlend with per-pixel alpha (and for BitBlt when the picture is opaque).
#include <windows.h>

#include <string>

namespace VellGui {

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
    // Takes over a decoded bitmap (deleting the one held before) and reads its size.
    void adopt(HBITMAP decoded);

    // "%p" of a resource id, or the path: what `source` holds for `from`.
    static std::string describe(const char* from);

    HBITMAP bitmap = nullptr;
    BITMAP info = {}; // controls read info.bmWidth and info.bmHeight
    std::string source;
};

// Decodes `from` (as Picture::load takes it) into a new 32-bit premultiplied DIB section
// without reporting anything: null, with `error` the system's code (an HRESULT for
// imaging failures), when it cannot. Needs COM on the calling thread, which may be any.
HBITMAP decodePicture(const char* from, DWORD& error);

} // namespace VellGui

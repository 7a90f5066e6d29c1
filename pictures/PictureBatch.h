#pragma once
// Pictures decoded on a thread of their own while the caller builds its windows: each
// picture takes the size its PNG header declares at once, so that controls can be laid
// out, and its pixels when the batch is finished, before anything is painted. For a
// screen of another DPI the same thread then resizes them for it.
#include "pictures/Picture.h"
#include "platform/DisplayScale.h"
#include "platform/Handle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VellGui {

// Width and height from the header of PNG data; false when the data is not a PNG.
bool readPngSize(const void* bytes, std::size_t size, std::uint32_t& width, std::uint32_t& height);

class PictureBatch {
public:
    PictureBatch() = default;
    // Waits for the thread: it writes into this object.
    ~PictureBatch();
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;

    // `from`: a "BINARY" resource id; `largeFrom`: the same picture at twice the size, or
    // null. The picture's size is known from here on.
    void add(Picture& picture, const char* from, const char* largeFrom = nullptr);
    // The pictures as decoded and as resized for a DPI are kept in `folder` (with a
    // trailing backslash), in a file per DPI marked with `key`, which names the program's
    // own pictures, and read from there by the next start; before start.
    void keepIn(const std::wstring& folder, std::uint64_t key);
    // Starts decoding every picture added; without a thread, finish decodes them.
    void start();
    // Lets the thread resize the pictures for `dpi`, and waits for it; hands each picture
    // its bitmaps. False at the first picture that could not be decoded, with `error` the
    // system's code for why. A picture that could not be resized is resized when first
    // painted.
    bool finish(DWORD& error, UINT dpi = kDefaultDpi);

private:
    struct Entry {
        Picture* picture;
        const char* from;
        const char* largeFrom;
        SIZE size;
        HBITMAP decoded = nullptr;
        HBITMAP decodedLarge = nullptr;
        HBITMAP resized = nullptr;
        DWORD error = ERROR_SUCCESS;
    };
    static DWORD WINAPI decodeAll(void* batch);
    // Decodes, waits for the DPI when told to, and resizes; catches what is thrown.
    void decodeAndResize(bool waitForDpi);
    bool decodeEntries();
    void resizeEntries();
    // The pictures as shown at `keptDpi` (at 96 DPI, as decoded) from the file an earlier
    // start kept, into `into`; false, with nothing made, when it has none that fit.
    bool readKept(UINT keptDpi, const std::vector<SIZE>& sizes,
                  const std::vector<HBITMAP*>& into) const;
    void keep(UINT keptDpi, const std::vector<HBITMAP*>& bitmaps) const;
    std::wstring keptFile(UINT keptDpi) const;

    std::vector<Entry> entries;
    Handle thread;
    // Set once `dpi` holds the DPI to resize for.
    Handle dpiKnown;
    UINT dpi = kDefaultDpi;
    std::wstring keptFolder;
    std::uint64_t keptKey = 0;
};

} // namespace VellGui

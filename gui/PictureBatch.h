#pragma once
// Pictures decoded on a thread of their own while the caller builds its windows: each
// picture takes the size its PNG header declares at once, so that controls can be laid
// out, and its pixels when the batch is finished, before anything is painted.
#include "gui/Picture.h"
#include "platform/Handle.h"

#include <cstddef>
#include <cstdint>
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

    // `from`: a "BINARY" resource id. The picture's size is known from here on.
    void add(Picture& picture, const char* from);
    // Starts decoding every picture added; without a thread, finish decodes them.
    void start();
    // Waits for the decoding and hands each picture its bitmap. False at the first
    // picture that could not be decoded, with `error` the system's code for why.
    bool finish(DWORD& error);

private:
    struct Entry {
        Picture* picture;
        const char* from;
        HBITMAP decoded = nullptr;
        DWORD error = ERROR_SUCCESS;
    };
    static DWORD WINAPI decodeAll(void* batch);
    void decodeEntries();

    std::vector<Entry> entries;
    Handle thread;
};

} // namespace VellGui

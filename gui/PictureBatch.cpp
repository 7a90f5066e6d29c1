#include "gui/PictureBatch.h"

#include "gui/ResourceData.h"

#include <objbase.h>

#include <cstring>

namespace VellGui {

namespace {

std::uint32_t bigEndian(const unsigned char* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) |
           (std::uint32_t{at[2]} << 8) | std::uint32_t{at[3]};
}

} // namespace

// The signature, then the IHDR chunk, which a PNG always has first:
// https://www.w3.org/TR/png/#5PNG-file-signature
bool readPngSize(const void* bytes, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    static const unsigned char kStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                           0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    const auto* data = static_cast<const unsigned char*>(bytes);
    if (!data || size < sizeof(kStart) + 8 || std::memcmp(data, kStart, sizeof(kStart)) != 0)
        return false;
    width = bigEndian(data + 16);
    height = bigEndian(data + 20);
    return true;
}

PictureBatch::~PictureBatch() {
    if (thread)
        WaitForSingleObject(thread.get(), INFINITE);
}

void PictureBatch::add(Picture& picture, const char* from) {
    picture.source = Picture::describe(from);
    picture.info = {};
    ResourceData data = findResourceData(from);
    std::uint32_t width = 0, height = 0;
    if (readPngSize(data.bytes, data.size, width, height)) {
        picture.info.bmWidth = static_cast<LONG>(width);
        picture.info.bmHeight = static_cast<LONG>(height);
    }
    entries.push_back({&picture, from});
}

void PictureBatch::start() {
    thread = Handle(CreateThread(nullptr, 0, decodeAll, this, 0, nullptr));
}

DWORD WINAPI PictureBatch::decodeAll(void* batch) {
    // Its own apartment: the imaging factory is made on the thread that decodes.
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<PictureBatch*>(batch)->decodeEntries();
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

void PictureBatch::decodeEntries() {
    for (Entry& entry : entries) {
        entry.decoded = decodePicture(entry.from, entry.error);
        if (!entry.decoded)
            return; // the first failure ends start-up; the rest would be wasted
    }
}

bool PictureBatch::finish(DWORD& error) {
    if (thread) {
        WaitForSingleObject(thread.get(), INFINITE);
        thread.reset();
    } else {
        decodeEntries();
    }
    error = ERROR_SUCCESS;
    for (Entry& entry : entries) {
        if (!entry.decoded) {
            error = entry.error != ERROR_SUCCESS ? entry.error : ERROR_INVALID_DATA;
            break;
        }
        // Decoding stops at the first failure: no bitmap follows one.
        entry.picture->adopt(entry.decoded);
    }
    entries.clear();
    return error == ERROR_SUCCESS;
}

} // namespace VellGui

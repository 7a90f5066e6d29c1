#include "pictures/PictureBatch.h"

#include "pictures/PictureCache.h"
#include "pictures/ResourceData.h"

#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>

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
    if (!thread)
        return;
    SetEvent(dpiKnown.get());
    WaitForSingleObject(thread.get(), INFINITE);
}

void PictureBatch::add(Picture& picture, const char* from, const char* largeFrom) {
    picture.source = Picture::describe(from);
    picture.largeFrom = largeFrom;
    picture.info = {};
    ResourceData data = findResourceData(from);
    std::uint32_t width = 0, height = 0;
    if (readPngSize(data.bytes, data.size, width, height)) {
        picture.info.bmWidth = static_cast<LONG>(width);
        picture.info.bmHeight = static_cast<LONG>(height);
    }
    entries.push_back({&picture, from, largeFrom, {}});
}

void PictureBatch::keepIn(const std::wstring& folder, std::uint64_t key) {
    keptFolder = folder;
    keptKey = key;
}

void PictureBatch::start() {
    dpiKnown = Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (dpiKnown)
        thread = Handle(CreateThread(nullptr, 0, decodeAll, this, 0, nullptr));
}

DWORD WINAPI PictureBatch::decodeAll(void* parameter) {
    auto* batch = static_cast<PictureBatch*>(parameter);
    // Its own apartment: the imaging factory is made on the thread that decodes.
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    batch->decodeAndResize(true);
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

void PictureBatch::decodeAndResize(bool waitForDpi) {
    // Nothing thrown here may end the launcher: a picture that could not be decoded is
    // reported by finish, and one that could not be resized is resized when painted.
    try {
        if (!decodeEntries())
            return;
        if (waitForDpi)
            WaitForSingleObject(dpiKnown.get(), INFINITE);
        resizeEntries();
    } catch (const std::exception&) {
        for (Entry& entry : entries)
            if (!entry.decoded && entry.error == ERROR_SUCCESS)
                entry.error = ERROR_NOT_ENOUGH_MEMORY;
    }
}

bool PictureBatch::decodeEntries() {
    // As decoded before, when this very program kept them.
    std::vector<SIZE> sizes;
    std::vector<HBITMAP*> decoded;
    for (Entry& entry : entries) {
        sizes.push_back({entry.picture->info.bmWidth, entry.picture->info.bmHeight});
        decoded.push_back(&entry.decoded);
    }
    if (readKept(kDefaultDpi, sizes, decoded))
        return true;
    for (Entry& entry : entries) {
        entry.decoded = decodePicture(entry.from, entry.error);
        if (!entry.decoded)
            return false; // the first failure ends start-up; the rest would be wasted
    }
    keep(kDefaultDpi, decoded);
    return true;
}

void PictureBatch::resizeEntries() {
    if (dpi == kDefaultDpi)
        return;
    std::vector<SIZE> sizes;
    std::vector<HBITMAP*> resized;
    for (Entry& entry : entries) {
        sizes.push_back(entry.size);
        resized.push_back(&entry.resized);
    }
    if (readKept(dpi, sizes, resized))
        return;
    bool all = true;
    for (Entry& entry : entries) {
        entry.resized =
            resizeForDpi(entry.decoded, entry.largeFrom, entry.decodedLarge, dpi, entry.size);
        all = all && entry.resized;
    }
    if (all)
        keep(dpi, resized);
}

std::wstring PictureBatch::keptFile(UINT keptDpi) const {
    return keptFolder.empty() ? std::wstring()
                              : keptFolder + L"pictures-" + std::to_wstring(keptDpi) + L".bin";
}

bool PictureBatch::readKept(UINT keptDpi, const std::vector<SIZE>& sizes,
                            const std::vector<HBITMAP*>& into) const {
    std::wstring file = keptFile(keptDpi);
    std::optional<std::string> bytes;
    std::vector<CachedPicture> pictures;
    // A kept file that cannot be had, for whatever reason, only costs the decoding.
    try {
        if (!file.empty())
            bytes = readCacheFile(file, pictureCacheSize(sizes));
        if (bytes)
            pictures = decodePictureCache(*bytes, keptKey, keptDpi, sizes);
    } catch (const std::exception&) {
        return false;
    }
    if (pictures.empty())
        return false;
    for (size_t i = 0; i < into.size(); ++i) {
        *into[i] = pictureFromPixels(pictures[i].pixels, pictures[i].width, pictures[i].height);
        if (!*into[i]) {
            for (HBITMAP* bitmap : into) {
                if (*bitmap)
                    DeleteObject(*bitmap);
                *bitmap = nullptr;
            }
            return false;
        }
    }
    return true;
}

void PictureBatch::keep(UINT keptDpi, const std::vector<HBITMAP*>& bitmaps) const {
    std::wstring file = keptFile(keptDpi);
    if (file.empty())
        return;
    std::vector<CachedPicture> pictures;
    for (HBITMAP* bitmap : bitmaps) {
        DIBSECTION section = {};
        if (GetObjectW(*bitmap, sizeof(section), &section) != sizeof(section) ||
            !section.dsBm.bmBits)
            return;
        pictures.push_back({section.dsBm.bmWidth, std::abs(section.dsBm.bmHeight),
                            static_cast<const std::uint32_t*>(section.dsBm.bmBits)});
    }
    try {
        writeCacheFile(file, encodePictureCache(keptKey, keptDpi, pictures));
    } catch (const std::exception&) {
        // Not kept: the next start decodes again.
    }
}

bool PictureBatch::finish(DWORD& error, UINT newDpi) {
    // What the thread reads of the entries is written before it is told to go on.
    dpi = newDpi;
    for (Entry& entry : entries)
        entry.size = entry.picture->sizeAt(dpi);
    if (thread) {
        SetEvent(dpiKnown.get());
        WaitForSingleObject(thread.get(), INFINITE);
        thread.reset();
    } else {
        decodeAndResize(false);
    }
    error = ERROR_SUCCESS;
    for (Entry& entry : entries) {
        if (!entry.decoded) {
            error = entry.error != ERROR_SUCCESS ? entry.error : ERROR_INVALID_DATA;
            break;
        }
        // Decoding stops at the first failure, and nothing is resized after one: no bitmap
        // follows it.
        entry.picture->adopt(entry.decoded);
        entry.picture->adoptScaled(dpi, entry.resized, entry.decodedLarge);
    }
    entries.clear();
    return error == ERROR_SUCCESS;
}

} // namespace VellGui

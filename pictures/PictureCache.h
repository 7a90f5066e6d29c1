#pragma once
// Pictures resized for one DPI, kept on disk from one start to the next, so that a start at
// another scale than 96 DPI reads them instead of decoding the artwork drawn at twice the
// size and resizing it. The file is checked whole (the key that names the program that
// wrote it, the DPI, every size and a checksum of every byte) and passed over when anything
// is off: a broken or foreign file costs only the resizing, and is written anew.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace VellGui {

struct CachedPicture {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr; // premultiplied BGRA, rows top-down
};

// The file's bytes for the pictures, in order.
std::string encodePictureCache(std::uint64_t key, UINT dpi,
                               const std::vector<CachedPicture>& pictures);
// The pictures of `bytes` (pointing into it), in order, when it is a whole file written
// for `key` and `dpi` with exactly these sizes; empty otherwise.
std::vector<CachedPicture> decodePictureCache(const std::string& bytes, std::uint64_t key, UINT dpi,
                                              const std::vector<SIZE>& sizes);

// The size in bytes of a file for pictures of these sizes.
std::uint64_t pictureCacheSize(const std::vector<SIZE>& sizes);
// The whole file when it has exactly `expectedSize` bytes; nothing otherwise, and then
// nothing of it is read.
std::optional<std::string> readCacheFile(const std::wstring& path, std::uint64_t expectedSize);
// Writes the file through a temporary beside it, flushed and put in place with one rename,
// making its folder first; a failure leaves no trace and is not reported. Temporaries that earlier
// writes cut short left beside it go first.
void writeCacheFile(const std::wstring& path, const std::string& bytes);

} // namespace VellGui

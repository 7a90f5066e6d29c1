#include "pictures/PictureCache.h"

#include "platform/Files.h"
#include "platform/Fnv.h"
#include "platform/Handle.h"

#include <cstring>
#include <utility>

namespace VellGui {

namespace {

constexpr char kMagic[8] = {'V', 'T', 'R', 'P', 'I', 'C', 'S', '1'};
// A picture larger than any the launcher shows is no picture of its.
constexpr std::uint32_t kLargestSide = 16384;

struct Header {
    char magic[8];
    std::uint64_t key;
    std::uint32_t dpi;
    std::uint32_t count;
};

// FNV-1a over 32-bit words, then the bytes that are left over.
std::uint64_t checksum(const char* bytes, size_t size) {
    Fnv1a hash;
    size_t words = size / 4;
    for (size_t i = 0; i < words; ++i) {
        std::uint32_t word;
        std::memcpy(&word, bytes + i * 4, 4);
        hash.add(word);
    }
    for (size_t i = words * 4; i < size; ++i)
        hash.add(static_cast<unsigned char>(bytes[i]));
    return hash.value;
}

// The temporaries of writes beside `path` that were cut short ("<path>.<pid>.new"), each
// named after its process, so that every cut leaves another one. One still held open by a
// write going on now refuses the delete and stays.
void removeLeftTemporaries(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((path + L".*.new").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((path.substr(0, slash + 1) + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

template <typename T> void append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

} // namespace

std::string encodePictureCache(std::uint64_t key, UINT dpi,
                               const std::vector<CachedPicture>& pictures) {
    Header header = {};
    std::memcpy(header.magic, kMagic, sizeof(kMagic));
    header.key = key;
    header.dpi = dpi;
    header.count = static_cast<std::uint32_t>(pictures.size());
    std::string bytes;
    append(bytes, header);
    for (const CachedPicture& picture : pictures) {
        append(bytes, static_cast<std::uint32_t>(picture.width));
        append(bytes, static_cast<std::uint32_t>(picture.height));
    }
    for (const CachedPicture& picture : pictures)
        bytes.append(reinterpret_cast<const char*>(picture.pixels),
                     size_t(picture.width) * size_t(picture.height) * 4);
    append(bytes, checksum(bytes.data(), bytes.size()));
    return bytes;
}

std::uint64_t pictureCacheSize(const std::vector<SIZE>& sizes) {
    std::uint64_t size = sizeof(Header) + sizes.size() * 8 + sizeof(std::uint64_t);
    for (const SIZE& picture : sizes)
        size += std::uint64_t(std::uint32_t(picture.cx)) * std::uint32_t(picture.cy) * 4;
    return size;
}

std::vector<CachedPicture> decodePictureCache(const std::string& bytes, std::uint64_t key, UINT dpi,
                                              const std::vector<SIZE>& sizes) {
    Header header = {};
    size_t sizesEnd = sizeof(header) + sizes.size() * 8;
    if (bytes.size() < sizesEnd + 8)
        return {};
    std::memcpy(&header, bytes.data(), sizeof(header));
    if (std::memcmp(header.magic, kMagic, sizeof(kMagic)) != 0 || header.key != key ||
        header.dpi != dpi || header.count != sizes.size())
        return {};
    size_t pixelBytes = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::uint32_t size[2];
        std::memcpy(size, bytes.data() + sizeof(header) + i * 8, 8);
        if (size[0] != std::uint32_t(sizes[i].cx) || size[1] != std::uint32_t(sizes[i].cy) ||
            size[0] == 0 || size[1] == 0 || size[0] > kLargestSide || size[1] > kLargestSide)
            return {};
        pixelBytes += size_t(size[0]) * size[1] * 4;
    }
    if (bytes.size() != sizesEnd + pixelBytes + 8)
        return {};
    std::uint64_t stored;
    std::memcpy(&stored, bytes.data() + bytes.size() - 8, 8);
    if (stored != checksum(bytes.data(), bytes.size() - 8))
        return {};
    std::vector<CachedPicture> pictures;
    const char* at = bytes.data() + sizesEnd;
    for (const SIZE& size : sizes) {
        pictures.push_back({size.cx, size.cy, reinterpret_cast<const std::uint32_t*>(at)});
        at += size_t(size.cx) * size.cy * 4;
    }
    return pictures;
}

std::optional<std::string> readCacheFile(const std::wstring& path, std::uint64_t expectedSize) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return std::nullopt;
    FileContent content = readOpenFile(file.get(), expectedSize);
    if (!content.complete)
        return std::nullopt;
    return std::move(content.bytes);
}

void writeCacheFile(const std::wstring& path, const std::string& bytes) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return;
    createDirectories(path.substr(0, slash));
    removeLeftTemporaries(path);
    replaceThroughTemporary(path + L"." + std::to_wstring(GetCurrentProcessId()) + L".new", path,
                            bytes);
}

} // namespace VellGui

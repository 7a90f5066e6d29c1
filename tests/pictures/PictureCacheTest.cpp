// The file of pictures kept between starts: read back as written, and passed over whole when
// any part of it is off, so that a broken or foreign file never shows a wrong picture.
#include "pictures/PictureBatch.h"
#include "pictures/PictureCache.h"
#include "platform/SystemHooks.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <vector>

using namespace VellGui;
using namespace testing_support;

namespace {

const std::uint64_t kKey = 0x1234567890ABCDEFull;
const std::vector<SIZE> kSizes = {{3, 2}, {1, 1}};

std::string validFile() {
    static const std::uint32_t first[6] = {1, 2, 3, 4, 5, 6};
    static const std::uint32_t second[1] = {0xFF00FF00u};
    return encodePictureCache(kKey, 144, {{3, 2, first}, {1, 1, second}});
}

struct Damage {
    const char* what;
    std::function<void(std::string&)> apply;
};

class BrokenCache : public ::testing::TestWithParam<Damage> {};

int failedReads = 0;
BOOL WINAPI readFailingToAllocate(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) {
    ++failedReads;
    throw std::bad_alloc();
}

} // namespace

TEST(PictureCache, ReadsBackWhatItWrote) {
    std::string bytes = validFile();
    std::vector<CachedPicture> pictures = decodePictureCache(bytes, kKey, 144, kSizes);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(std::vector<std::uint32_t>(pictures[0].pixels, pictures[0].pixels + 6),
              (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(pictures[1].pixels[0], 0xFF00FF00u);
    // Another program's file, another scale, other sizes: none of it is taken.
    EXPECT_TRUE(decodePictureCache(bytes, kKey + 1, 144, kSizes).empty());
    EXPECT_TRUE(decodePictureCache(bytes, kKey, 120, kSizes).empty());
    EXPECT_TRUE(decodePictureCache(bytes, kKey, 144, {{3, 2}, {2, 1}}).empty());
    EXPECT_TRUE(decodePictureCache(bytes, kKey, 144, {{3, 2}}).empty());
}

TEST_P(BrokenCache, IsPassedOverWhole) {
    std::string bytes = validFile();
    GetParam().apply(bytes);
    EXPECT_TRUE(decodePictureCache(bytes, kKey, 144, kSizes).empty()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Damages, BrokenCache,
    ::testing::Values(Damage{"empty", [](std::string& b) { b.clear(); }},
                      Damage{"cut after the header", [](std::string& b) { b.resize(24); }},
                      Damage{"cut by one byte", [](std::string& b) { b.pop_back(); }},
                      Damage{"one byte more", [](std::string& b) { b.push_back('x'); }},
                      Damage{"a pixel changed", [](std::string& b) { b[24 + 16 + 5] ^= 1; }},
                      Damage{"the checksum changed", [](std::string& b) { b.back() ^= 0x80; }},
                      Damage{"a size changed, checksum kept",
                             [](std::string& b) {
                                 b[24] = 2;
                                 b[24 + 8] = 2;
                             }},
                      Damage{"foreign bytes", [](std::string& b) { b.assign(b.size(), 'A'); }}));

// A write cut short leaves its temporary only until the next write; a failed read on the
// picture thread costs the decoding; a file of another size, a damaged one of 200 MB that
// would hold up the window, is not read at all.
TEST(KeptPictures, ATemporaryLeftOrAFailedReadOnlyCostsTheDecoding) {
    TempDir folder;
    const std::wstring kept = folder / L"pictures-96.bin";
    Picture picture;
    auto load = [&] {
        PictureBatch batch;
        batch.add(picture, MAKEINTRESOURCEA(121));
        batch.keepIn(folder.path(), kKey);
        batch.start();
        DWORD error = ERROR_SUCCESS;
        return batch.finish(error) && picture.bitmap;
    };
    ASSERT_TRUE(writeFile(kept + L".4242.new", "cut short"));
    EXPECT_TRUE(load());
    EXPECT_FALSE(fileExists(kept + L".4242.new"));
    systemHooks.readFile = readFailingToAllocate;
    EXPECT_TRUE(load());
    systemHooks = SystemHooks{};
    EXPECT_EQ(failedReads, 1);
    ASSERT_TRUE(writeSparseFile(kept, 200 << 20));
    EXPECT_FALSE(readCacheFile(kept, pictureCacheSize({picture.sizeAt(96)})));
}

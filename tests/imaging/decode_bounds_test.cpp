// Files that make a decoder hold or do far more than their size allows (decode_bounds.h), as
// the fuzz targets keep them: each is refused at once, holding next to nothing, and leaves no
// target. Natively only, where AddressSanitizer's hooks count the heap.
#include <time.h>

#include <atomic>

#include "imaging_fixture.h"
#include "picture_files.h"

// AddressSanitizer's interface (sanitizer/allocator_interface.h, which g++ does not install).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                              void (*onFree)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* block);
}

namespace {

using testing_support::readBytes;

// The heap's growth since the last reset, and its largest.
std::atomic<int64_t> held, largest;

void onMalloc(const volatile void*, size_t size) {
    int64_t now = held += int64_t(size), seen = largest;
    while (now > seen && !largest.compare_exchange_weak(seen, now)) {
    }
}
void onFree(const volatile void* block) {
    if (block != nullptr) held -= int64_t(__sanitizer_get_allocated_size(block));
}

struct Bomb {
    const char* file;
    bool (*convert)(const char*, const char*);
};
const Bomb kBombs[] = {
    {"jpeg_regressions/arithmetic_progressive_16x16_declaring_20000x20000.jpg", convertJpegFile},
    {"jpeg_regressions/arithmetic_progressive_16x16_of_210_scans.jpg", convertJpegFile},
    {"heif_regressions/hevc_16384x16384_behind_ispe_64x64.heic", convertHeifFile},
    {"heif_regressions/av1_16384x16384_behind_ispe_64x64.avif", convertHeifFile},
};

std::string saved(const char* file) { return std::string(MURALTO_FUZZ_INPUTS) + "/" + file; }

using DecodeBounds = ImagingTest;

TEST_F(DecodeBounds, BombsAreRefusedAtOnceHoldingLittleAndLeaveNoTarget) {
    static const int installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    ASSERT_NE(0, installed);
    for (const Bomb& bomb : kBombs) {
        SCOPED_TRACE(bomb.file);
        const std::string path = saved(bomb.file);
        ASSERT_TRUE(testing_support::fileExists(path));
        held = largest = 0;
        // Processor time, every thread's: a busy machine does not change it.
        clock_t start = clock();
        EXPECT_FALSE(bomb.convert(path.c_str(), target.c_str()));
        EXPECT_LT(double(clock() - start) / CLOCKS_PER_SEC, 0.5);
        EXPECT_LT(largest, 100 << 20);
        EXPECT_FALSE(targetExists());
    }

    // The count is what is refused: the same file with as many scans as the cap allows (its
    // third, of 17 bytes, repeated 90 times rather than 200: 100 in all) converts.
    const std::string scans = readBytes(saved(kBombs[1].file));
    const size_t repeats = 249; // where the repeats start
    ASSERT_TRUE(testing_support::writeBytes(source, scans.substr(0, repeats + 90 * 17) +
                                                        scans.substr(repeats + 200 * 17)));
    EXPECT_TRUE(convertJpegFile(source.c_str(), target.c_str()));
}

} // namespace

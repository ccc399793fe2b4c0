// The bitmap-file writer that all three picture writers share: sizes, layout, row order and
// what a failing write leaves behind.
#include <string.h>

#include "bitmap_file.h"
#include "imaging_fixture.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace {

using imaging::BitmapSource;
using Writer = ImagingTest;

void copyRow(const uint8_t* source, uint32_t width, uint8_t* row) {
    memcpy(row, source, 3 * width);
}

// A picture already in file byte order, its rows `pitch` bytes apart.
struct Rows {
    std::vector<uint8_t> bytes;
    BitmapSource source(uint32_t width, uint32_t height, size_t pitch, bool bottomUp) const {
        return {width, height, 0, bytes.data(), pitch, bottomUp, copyRow};
    }
};

TEST(BitmapFileSize, FollowsTheRowStrideAndStopsAtTheFieldsLimit) {
    struct Case {
        uint32_t width, height;
        uint64_t size;
    } cases[] = {
        {1, 1, 58},
        {4, 1, 66},
        {151, 112, 51126},
        {0, 10, 0},
        {10, 0, 0},
        // The largest file that the 32-bit size field holds, and one row more.
        {4, 357913936, 4294967286u},
        {4, 357913937, 0},
        {100000, 100000, 0},
        // 3 × width × height passes 2^64 here: it must not wrap into a small size.
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.size, imaging::bitmapFileSize(c.width, c.height))
            << c.width << " x " << c.height;
}

TEST(BufferSize, RefusesProductsThatDoNotFit) {
    size_t bytes = 0;
    EXPECT_TRUE(imaging::bufferSize(6000ull * 4000, 3, &bytes));
    EXPECT_EQ(72000000u, bytes);
    EXPECT_FALSE(imaging::bufferSize(1ull << 62, 4, &bytes)) << "wraps in 64 bits";
    EXPECT_FALSE(imaging::bufferSize(100000ull * 100000 * 4, 1ull << 32, &bytes));
    // 2^32 bytes: fits only where size_t has 64 bits.
    EXPECT_EQ(sizeof(size_t) > 4, imaging::bufferSize(1ull << 30, 4, &bytes));
}

TEST_F(Writer, HeadersAndRowsAreLaidOutByteForByte) {
    // 5 × 2 pixels: rows of 15 bytes and 1 fill byte; 96 in both resolution fields.
    Rows rows;
    for (int i = 0; i < 30; ++i) rows.bytes.push_back(uint8_t(i + 1));
    BitmapSource source = rows.source(5, 2, 15, false);
    source.resolution = 96;
    ASSERT_TRUE(imaging::writeBitmapFile(target.c_str(), source));
    const char headers[] = "BM\x56\0\0\0\0\0\0\0\x36\0\0\0"
                           "\x28\0\0\0\x05\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\0\0\0\0"
                           "\x60\0\0\0\x60\0\0\0\0\0\0\0\0\0\0\0";
    std::string expected(headers, 54);
    expected += std::string(reinterpret_cast<const char*>(&rows.bytes[15]), 15) + '\0';
    expected += std::string(reinterpret_cast<const char*>(&rows.bytes[0]), 15) + '\0';
    EXPECT_EQ(expected, written().bytes);
}

TEST_F(Writer, RowsComeBottomUpWhateverTheSourceOrderAndPitch) {
    // Row y holds bytes of value y + 1; the source rows are padded to a pitch of 8.
    const uint32_t width = 2, height = 3;
    Rows rows;
    for (uint32_t y = 0; y < height; ++y) rows.bytes.insert(rows.bytes.end(), 8, uint8_t(y + 1));
    for (bool bottomUp : {false, true}) {
        ASSERT_TRUE(
            imaging::writeBitmapFile(target.c_str(), rows.source(width, height, 8, bottomUp)));
        BitmapFile file = written();
        ASSERT_EQ(54u + 3 * 8, file.bytes.size());
        for (uint32_t k = 0; k < height; ++k) {
            uint8_t expected = uint8_t(bottomUp ? k + 1 : height - k);
            EXPECT_EQ(std::string(6, char(expected)) + std::string(2, '\0'),
                      file.bytes.substr(54 + 8 * k, 8))
                << "file row " << k << (bottomUp ? " from a bottom-up source" : "");
        }
    }
}

// Rows already laid out as the file holds them go out as they are, to the same file the
// converting writer makes of them; and nothing is left of a target that cannot be had.
TEST_F(Writer, RowsPreparedAsInTheFileGiveTheSameFile) {
    const uint32_t width = 5, height = 3; // 15 bytes of pixels and 1 fill byte a row
    Rows rows;
    for (uint32_t i = 0; i < 16 * height; ++i) rows.bytes.push_back(i % 16 < 15 ? uint8_t(i) : 0);
    ASSERT_TRUE(imaging::writeBitmapFile(target.c_str(), rows.source(width, height, 16, true)));
    const std::string converted = written().bytes;
    ASSERT_TRUE(
        imaging::writePreparedBitmapFile(target.c_str(), width, height, 0, rows.bytes.data()));
    EXPECT_EQ(converted, written().bytes);
    EXPECT_FALSE(imaging::writePreparedBitmapFile(target.c_str(), 0, 3, 0, rows.bytes.data()));
    EXPECT_FALSE(imaging::writePreparedBitmapFile(target.c_str(), 5, 3, 0, nullptr));
    EXPECT_FALSE(
        imaging::writePreparedBitmapFile("no such folder/x.bmp", 5, 3, 0, rows.bytes.data()));
}

TEST_F(Writer, EveryRowArrivesWhenThePictureSpansSeveralWriteChunks) {
    const uint32_t width = 1000, height = 300; // 3000-byte rows, about 0.9 MB in all
    Rows rows;
    for (uint32_t y = 0; y < height; ++y)
        rows.bytes.insert(rows.bytes.end(), 3 * width, uint8_t(y * 7));
    ASSERT_TRUE(
        imaging::writeBitmapFile(target.c_str(), rows.source(width, height, 3 * width, false)));
    BitmapFile file = written();
    ASSERT_EQ(54u + 3000u * height, file.bytes.size());
    int wrong = 0;
    for (uint32_t k = 0; k < height; ++k) {
        std::string expected(3000, char(uint8_t((height - 1 - k) * 7)));
        if (file.bytes.compare(54 + 3000 * k, 3000, expected) != 0 && ++wrong <= 3)
            ADD_FAILURE() << "file row " << k << " holds the wrong source row";
    }
}

TEST_F(Writer, NoConverterGivesABlackPictureOfTheRightSize) {
    BitmapSource source = {3, 2, 96, nullptr, 0, false, nullptr};
    ASSERT_TRUE(imaging::writeBitmapFile(target.c_str(), source));
    BitmapFile file = written();
    ASSERT_EQ(54u + 2 * 12, file.bytes.size());
    EXPECT_EQ(std::string(24, '\0'), file.bytes.substr(54));
}

TEST_F(Writer, PicturesWithoutAFileAndUncreatableTargetsGiveFalse) {
    Rows rows;
    rows.bytes.assign(12, 0x11);
    EXPECT_FALSE(imaging::writeBitmapFile(target.c_str(), rows.source(0, 1, 0, false)));
    EXPECT_FALSE(imaging::writeBitmapFile(target.c_str(), rows.source(1, 0, 3, false)));
    EXPECT_FALSE(imaging::writeBitmapFile(nullptr, rows.source(1, 1, 3, false)));
    EXPECT_FALSE(targetExists());
    EXPECT_FALSE(imaging::writeBitmapFile("no such folder/x.bmp", rows.source(1, 1, 3, false)));
}

#ifndef _WIN32
// A file-size limit makes writes fail as on a full disk: once in the middle of the rows, and
// once only when the close flushes the buffered rest; rows converted or prepared alike.
TEST_F(Writer, AFailedWriteGivesFalseAndRemovesThePartialTarget) {
    struct Case {
        uint32_t width, height;
        rlim_t limit;
    } cases[] = {{200, 200, 65536}, {1, 1, 10}};
    Rows rows;
    rows.bytes.assign(3 * 200 * 200, 0x5A);
    rlimit saved;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    void (*savedHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    for (bool prepared : {false, true})
        for (const Case& c : cases) {
            rlimit limited = saved;
            limited.rlim_cur = c.limit;
            ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
            bool result =
                prepared ? imaging::writePreparedBitmapFile(target.c_str(), c.width, c.height, 0,
                                                            rows.bytes.data())
                         : imaging::writeBitmapFile(
                               target.c_str(), rows.source(c.width, c.height, 3 * c.width, false));
            setrlimit(RLIMIT_FSIZE, &saved);
            EXPECT_FALSE(result) << c.width << " x " << c.height << " past " << c.limit << " bytes"
                                 << (prepared ? ", rows prepared" : "");
            EXPECT_FALSE(targetExists()) << c.width << " x " << c.height;
        }
    signal(SIGXFSZ, savedHandler);
}
#endif

} // namespace

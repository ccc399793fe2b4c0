// The preview made from a picture's rows on their way into its file: the same bytes as the
// whole-picture area average, through every converter, and the cheap check of what was written.
#include <stdlib.h>

#include <string>
#include <vector>

#include "area_scale.h"
#include "bitmap_file.h"
#include "bitmap_headers.h"
#include "imaging_fixture.h"
#include "picture_files.h"
#include "streamed_preview.h"

namespace {

struct WholeRows {
    const uint8_t* bgr;
    size_t pitch;
};

const uint8_t* wholeRow(void* context, int row) {
    const WholeRows* rows = static_cast<const WholeRows*>(context);
    return rows->bgr + rows->pitch * row;
}

// The whole-picture scaler, as the previews have been made from a loaded bitmap.
std::vector<uint8_t> wholeScale(const std::vector<uint8_t>& bgr, int width, int height,
                                int outWidth, int outHeight) {
    WholeRows rows = {bgr.data(), 3 * static_cast<size_t>(width)};
    std::vector<uint8_t> out(3 * outWidth * outHeight);
    EXPECT_TRUE(
        scaleByArea(wholeRow, &rows, width, height, out.data(), outWidth, outHeight, 3 * outWidth));
    return out;
}

// Rows come bottom first, as a bitmap file holds them; sizes that shrink, grow, both, the
// growing axes whose pixel centres fall on a boundary (2 -> 3), and a picture too wide for its
// columns to be summed down first (more than 2^26 bytes for two rows of them).
TEST(StreamedAreaScale, GivesTheWholePictureScalersBytesOnOddSizes) {
    const struct {
        int width, height, outWidth, outHeight;
    } cases[] = {{1, 1, 151, 112},      {2, 3, 3, 5},        {7, 5, 3, 2},
                 {13, 11, 5, 17},       {997, 13, 151, 112}, {301, 223, 151, 112},
                 {151, 112, 151, 112},  {4001, 3, 151, 112}, {5, 999, 151, 112},
                 {2796203, 2, 151, 112}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << "x" << c.height << " -> " << c.outWidth << "x" << c.outHeight);
        std::vector<uint8_t> bgr = bgrOf(noise(c.width, c.height));
        AreaScaleStream stream;
        ASSERT_TRUE(beginAreaScale(&stream, c.width, c.height, c.outWidth, c.outHeight));
        std::vector<uint8_t> out(3 * c.outWidth * c.outHeight, 0xEE);
        for (int row = c.height - 1; row >= 0; --row) {
            EXPECT_FALSE(finishAreaScale(&stream, out.data(), 3 * c.outWidth)) << "row " << row;
            addAreaScaleRow(&stream, row, bgr.data() + 3 * static_cast<size_t>(c.width) * row);
        }
        ASSERT_TRUE(finishAreaScale(&stream, out.data(), 3 * c.outWidth));
        releaseAreaScale(&stream);
        EXPECT_EQ(wholeScale(bgr, c.width, c.height, c.outWidth, c.outHeight), out);
    }
}

using StreamedPreviewTest = ImagingTest;

// Each converter's rows make the preview of exactly the pixels it wrote, and what it wrote
// passes the check of its headers.
TEST_F(StreamedPreviewTest, EveryConverterHandsOverTheRowsItWrites) {
    bool (*const converters[])(const char*, const char*, const imaging::BitmapRowSink*) = {
        convertJpegFile, convertTiffFile, convertPngFile, convertWebpFile};
    const std::string previewFile = testing_support::testFileName(".preview.bmp");
    for (int kind = 0; kind < 4; ++kind) {
        const PictureFormat& format = kPictureFormats[kind + 1];
        SCOPED_TRACE(format.extension);
        const Picture picture = photoLike(333, 251);
        ASSERT_TRUE(format.write(source, picture));
        imaging::StreamedPreview preview;
        imaging::startStreamedPreview(&preview, 151, 112);
        const imaging::BitmapRowSink rows = imaging::streamedPreviewRows(&preview);
        ASSERT_TRUE(converters[kind](source.c_str(), target.c_str(), &rows));
        ASSERT_TRUE(imaging::writeStreamedPreview(&preview, previewFile.c_str()));
        imaging::releaseStreamedPreview(&preview);
        EXPECT_TRUE(imaging::isWrittenBitmapFile(target.c_str(), 333, 251));

        std::vector<uint8_t> expected = wholeScale(bgrOf(written().picture()), 333, 251, 151, 112);
        BitmapFile shown(testing_support::readBytes(previewFile));
        ASSERT_EQ(151, shown.width());
        ASSERT_EQ(112, shown.height());
        EXPECT_EQ(96u, shown.field(38, 4)) << "the resolution the previews have always had";
        EXPECT_EQ(expected, bgrOf(shown.picture()));
    }
    testing_support::removeFile(previewFile);
}

// A picture whose rows never came (its conversion failed) gives no preview file.
TEST_F(StreamedPreviewTest, NoPreviewWithoutEveryRow) {
    imaging::StreamedPreview preview;
    imaging::startStreamedPreview(&preview, 151, 112);
    EXPECT_FALSE(imaging::writeStreamedPreview(&preview, target.c_str()));
    const imaging::BitmapRowSink rows = imaging::streamedPreviewRows(&preview);
    ASSERT_TRUE(testing_support::writeBytes(source, "not a picture"));
    EXPECT_FALSE(convertPngFile(source.c_str(), target.c_str(), &rows));
    EXPECT_FALSE(imaging::writeStreamedPreview(&preview, target.c_str()));
    EXPECT_FALSE(targetExists());
    imaging::releaseStreamedPreview(&preview);
}

// Any difference from what the writer wrote for width x height is refused, by the check and by
// the loader that reads such a file back: a file cut short or grown by a byte, other fields,
// another size asked.
TEST_F(StreamedPreviewTest, TheHeaderCheckRefusesAnythingButTheFileWritten) {
    const std::string good = expectedBitmap(noise(5, 3), 0);
    ASSERT_TRUE(testing_support::writeBytes(target, good));
    EXPECT_TRUE(imaging::isWrittenBitmapFile(target.c_str(), 5, 3));
    uint32_t width = 0, height = 0;
    uint8_t* rows = imaging::loadWrittenBitmapFile(target.c_str(), &width, &height);
    ASSERT_NE(nullptr, rows);
    EXPECT_EQ(5u, width);
    EXPECT_EQ(3u, height);
    EXPECT_EQ(
        good.substr(imaging::kBitmapHeadersSize),
        std::string(reinterpret_cast<char*>(rows), good.size() - imaging::kBitmapHeadersSize));
    free(rows);
    EXPECT_FALSE(imaging::isWrittenBitmapFile(target.c_str(), 3, 5));
    EXPECT_FALSE(imaging::isWrittenBitmapFile(target.c_str(), 0, 3));
    const struct {
        const char* what;
        size_t offset; // the byte changed by `change`
        int change;
        int lengthChange; // or the file cut short or grown by a byte
    } cases[] = {{"signature", 0, 1, 0},    {"file size", 2, 1, 0},  {"pixel offset", 10, 1, 0},
                 {"header size", 14, 1, 0}, {"planes", 26, 1, 0},    {"depth", 28, 8, 0},
                 {"compression", 30, 1, 0}, {"cut short", 0, 0, -1}, {"a byte more", 0, 0, 1}};
    for (const auto& c : cases) {
        std::string bytes = good;
        bytes[c.offset] = static_cast<char>(bytes[c.offset] + c.change);
        if (c.lengthChange < 0) bytes.pop_back();
        if (c.lengthChange > 0) bytes.push_back('\0');
        ASSERT_TRUE(testing_support::writeBytes(target, bytes));
        EXPECT_FALSE(imaging::isWrittenBitmapFile(target.c_str(), 5, 3)) << c.what;
        EXPECT_EQ(nullptr, imaging::loadWrittenBitmapFile(target.c_str(), &width, &height))
            << c.what;
    }
    testing_support::removeFile(target);
    EXPECT_FALSE(imaging::isWrittenBitmapFile(target.c_str(), 5, 3)) << "no file";
}

} // namespace

// convertTiffFile: TIFF files are read losslessly, so every byte of the result is checked.
#include <tiffio.h>

#include "imaging_fixture.h"
#include "picture_files.h"
#include "test_bitmaps.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
using TiffFile = ImagingTest;

bool convert(const std::string& source, const std::string& target) {
    return convertTiffFile(source.c_str(), target.c_str());
}

// Every pixel a different colour, so that any misplaced byte shows.
Picture distinct(uint32_t width, uint32_t height) {
    Picture picture(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            picture.set(x, y, {uint8_t(10 + x), uint8_t(100 + y), uint8_t(200 + x + 7 * y)});
    return picture;
}

TEST_F(TiffFile, WidthsOneToFiveGiveTheExactFile) {
    for (uint32_t width = 1; width <= 5; ++width) {
        Picture picture = distinct(width, 3);
        ASSERT_TRUE(writeTiff(source, {{picture, ORIENTATION_TOPLEFT, {}}}));
        ASSERT_TRUE(convert(source, target)) << "width " << width;
        EXPECT_EQ(expectedBitmap(picture, 0), written().bytes) << "width " << width;
    }
}

TEST_F(TiffFile, TopLeftAndBottomLeftFilesGiveTheSameUprightPicture) {
    Picture picture = quadrants(6, 4);
    picture.set(0, 0, {1, 2, 3}); // the top left corner, to be found at its place
    for (uint16_t orientation : {ORIENTATION_TOPLEFT, ORIENTATION_BOTLEFT}) {
        ASSERT_TRUE(writeTiff(source, {{picture, orientation, {}}}));
        ASSERT_TRUE(convert(source, target));
        BitmapFile file = written();
        EXPECT_EQ(expectedBitmap(picture, 0), file.bytes) << "orientation " << orientation;
        EXPECT_EQ(Rgb({1, 2, 3}), file.pixel(0, 0)) << "orientation " << orientation;
    }
}

TEST_F(TiffFile, AlphaIsDroppedNotBlended) {
    Picture picture = distinct(5, 4);
    std::vector<uint8_t> alpha;
    for (int i = 0; i < 20; ++i) alpha.push_back(uint8_t(i * 13));
    ASSERT_TRUE(writeTiff(source, {{picture, ORIENTATION_TOPLEFT, alpha}}));
    ASSERT_TRUE(convert(source, target));
    EXPECT_EQ(expectedBitmap(picture, 0), written().bytes);
}

TEST_F(TiffFile, OnlyTheFirstImageOfAFileIsConverted) {
    Picture first = quadrants(4, 2), second = distinct(9, 5);
    ASSERT_TRUE(
        writeTiff(source, {{first, ORIENTATION_TOPLEFT, {}}, {second, ORIENTATION_TOPLEFT, {}}}));
    ASSERT_TRUE(convert(source, target));
    EXPECT_EQ(expectedBitmap(first, 0), written().bytes);
}

TEST_F(TiffFile, AnExistingTargetIsReplaced) {
    ASSERT_TRUE(writeBytes(target, std::string(100000, 'x')));
    Picture picture = distinct(3, 3);
    ASSERT_TRUE(writeTiff(source, {{picture, ORIENTATION_TOPLEFT, {}}}));
    ASSERT_TRUE(convert(source, target));
    EXPECT_EQ(expectedBitmap(picture, 0), written().bytes);
}

TEST_F(TiffFile, FilesTheLibraryCannotReadGiveFalseAndNoTarget) {
    ASSERT_TRUE(writeTiff(source, {{distinct(8, 40), ORIENTATION_TOPLEFT, {}}}));
    const std::string tiff = readBytes(source);
    // Damage in the first strip: the library stops at the first error instead of going on.
    ASSERT_TRUE(writeTiff(source, {{photoLike(64, 40), ORIENTATION_TOPLEFT, {}, COMPRESSION_LZW}}));
    std::string damaged = readBytes(source);
    damaged.replace(12, 64, 64, '\xFF');
    std::string noise;
    for (uint32_t v = 7; noise.size() < 4096;) noise.push_back(char((v = v * 69069 + 1) >> 24));
    expectRefused(convertTiffFile,
                  {
                      {"an empty file", ""},
                      {"a bitmap file", testing_support::bitmapFileBytes(8, 8, 0x336699)},
                      {"random bytes", noise},
                      {"random bytes after a TIFF header", std::string("II*\0", 4) + noise},
                      {"a file without its directory, which follows the pixels",
                       tiff.substr(0, tiff.size() / 2)},
                      {"damaged compressed pixels", damaged},
                  });
}

TEST_F(TiffFile, MissingSourceOrPathGivesFalse) {
    EXPECT_FALSE(convert("no such file.tif", target));
    EXPECT_FALSE(targetExists());
    EXPECT_FALSE(convertTiffFile(nullptr, target.c_str()));
    ASSERT_TRUE(writeTiff(source, {{distinct(2, 2), ORIENTATION_TOPLEFT, {}}}));
    EXPECT_FALSE(convertTiffFile(source.c_str(), nullptr));
    EXPECT_FALSE(convert(source, "no such folder/x.bmp"));
}

TEST_F(TiffFile, AFileClaimingAHugePictureIsRefusedBeforeAnyAllocation) {
    // 100000 × 100000 would need 40 GB of raster and a 30 GB bitmap file; in 32 bits the
    // raster size wraps to 1.3 GB. Natively the sanitizer's allocation limit turns any attempt
    // into a failed run.
    ASSERT_TRUE(writeClaimingTiff(source, 100000, 100000));
    EXPECT_FALSE(convert(source, target));
    EXPECT_FALSE(targetExists());
}

TEST_F(TiffFile, APictureInOneStripLargerThanItsDirectoryMayNeedStillConverts) {
    // 2400 × 2400 in a single LZW strip, which the library decodes whole: 17 MB, more than it
    // may allocate while the file's size is not known yet.
    Picture picture = quadrants(2400, 2400);
    TIFF* tiff = TIFFOpen(source.c_str(), "w");
    ASSERT_NE(nullptr, tiff);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, picture.height);
    bool stripWritten = TIFFWriteEncodedStrip(tiff, 0, picture.rgb.data(),
                                              static_cast<tmsize_t>(picture.rgb.size())) != -1;
    TIFFClose(tiff);
    ASSERT_TRUE(stripWritten);
    ASSERT_TRUE(convert(source, target));
    EXPECT_EQ(expectedBitmap(picture, 0), written().bytes);
}

} // namespace

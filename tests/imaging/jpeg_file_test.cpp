// convertJpegFile: JPEG files of every kind the library decodes, and files it cannot.
#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

#include "imaging_fixture.h"
#include "picture_files.h"
#include "test_bitmaps.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
using JpegFile = ImagingTest;

bool convert(const std::string& source, const std::string& target) {
    return convertJpegFile(source.c_str(), target.c_str());
}

// Where the first scan's data starts (just after its SOS marker), or npos.
size_t scanStart(const std::string& jpeg) {
    size_t sos = jpeg.find("\xFF\xDA");
    return sos == std::string::npos ? sos : sos + 2;
}

TEST_F(JpegFile, WidthsOneToFiveGetTheirFillBytes) {
    const Rgb colour = {200, 100, 50};
    for (uint32_t width = 1; width <= 5; ++width) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        ASSERT_TRUE(writeColourJpeg(source, Picture(width, 3, colour), 95));
        ASSERT_TRUE(convert(source, target));
        BitmapFile file = written();
        ASSERT_TRUE(file.hasHeaders());
        EXPECT_EQ(int32_t(width), file.width());
        EXPECT_EQ(3, file.height());
        EXPECT_EQ(54 + 3 * file.stride(), file.bytes.size());
        EXPECT_EQ(file.bytes.size(), file.field(2, 4));
        EXPECT_EQ(0u, file.field(38, 4));
        EXPECT_EQ(0u, file.field(42, 4));
        for (uint32_t row = 0; row < 3; ++row)
            EXPECT_EQ(std::string((4 - 3 * width % 4) % 4, '\0'), file.fill(row)) << "row " << row;
        EXPECT_TRUE(closeTo(colour, file.pixel(width - 1, 0), 6));
    }
}

TEST_F(JpegFile, ColoursStayUprightAndUnswapped) {
    ASSERT_TRUE(writeColourJpeg(source, quadrants(32, 32), 95));
    ASSERT_TRUE(convert(source, target));
    BitmapFile file = written();
    ASSERT_TRUE(file.hasHeaders());
    ASSERT_EQ(32, file.width());
    ASSERT_EQ(32, file.height());
    EXPECT_TRUE(closeTo(kRed, file.pixel(8, 8), 12)) << "top left";
    EXPECT_TRUE(closeTo(kGreen, file.pixel(24, 8), 12)) << "top right";
    EXPECT_TRUE(closeTo(kBlue, file.pixel(8, 24), 12)) << "bottom left";
    EXPECT_TRUE(closeTo(kWhite, file.pixel(24, 24), 12)) << "bottom right";
}

TEST_F(JpegFile, GreyFilesBecomeEqualRedGreenAndBlue) {
    // Left half grey 40, right half grey 220; 7 wide to need fill bytes as well.
    std::vector<uint8_t> grey;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 14; ++x) grey.push_back(x < 7 ? 40 : 220);
    ASSERT_TRUE(writeGreyJpeg(source, 14, 16, grey));
    ASSERT_TRUE(convert(source, target));
    BitmapFile file = written();
    ASSERT_TRUE(file.hasHeaders());
    EXPECT_EQ(54 + 16 * file.stride(), file.bytes.size());
    for (uint32_t y : {0u, 15u}) {
        Rgb left = file.pixel(1, y), right = file.pixel(12, y);
        EXPECT_TRUE(left.r == left.g && left.g == left.b) << left;
        EXPECT_TRUE(closeTo({40, 40, 40}, left, 4));
        EXPECT_TRUE(closeTo({220, 220, 220}, right, 4));
    }
}

// Four-colour files: stored values, and the colour each gives.
TEST_F(JpegFile, CmykAndYcckFilesConvertToTheirColours) {
    struct Ink {
        uint8_t c, m, y, k;
        Rgb colour;
    } inks[] = {
        {0, 255, 255, 0, kRed},          {255, 0, 255, 0, kGreen}, {0, 0, 0, 128, {127, 127, 127}},
        {128, 0, 0, 0, {127, 255, 255}}, {0, 0, 0, 0, kWhite},     {0, 0, 0, 255, {0, 0, 0}},
    };
    struct Kind {
        const char* name;
        bool ycck, adobe;
    } kinds[] = {
        {"Adobe CMYK", false, true}, {"Adobe YCCK", true, true}, {"plain CMYK", false, false}};
    const uint32_t block = 16, width = block * 6, height = block;
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::vector<uint8_t> samples;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const Ink& ink = inks[x / block];
                // Adobe's programs store the inks inverted: 255 is no ink.
                uint8_t flip = kind.adobe ? 255 : 0;
                for (uint8_t v : {ink.c, ink.m, ink.y, ink.k}) samples.push_back(v ^ flip);
            }
        ASSERT_TRUE(writeCmykJpeg(source, width, height, samples, kind.ycck, kind.adobe));
        ASSERT_TRUE(convert(source, target));
        BitmapFile file = written();
        ASSERT_TRUE(file.hasHeaders());
        ASSERT_EQ(54 + height * file.stride(), file.bytes.size());
        for (size_t i = 0; i < sizeof inks / sizeof inks[0]; ++i)
            EXPECT_TRUE(closeTo(inks[i].colour, file.pixel(uint32_t(i) * block + block / 2, 8), 8))
                << "ink " << i;
    }
}

TEST_F(JpegFile, AnExistingTargetIsReplaced) {
    ASSERT_TRUE(writeBytes(target, std::string(100000, 'x')));
    ASSERT_TRUE(writeColourJpeg(source, Picture(4, 4, kBlue), 90));
    ASSERT_TRUE(convert(source, target));
    BitmapFile file = written();
    EXPECT_EQ(54u + 4 * 12, file.bytes.size());
    EXPECT_EQ("BM", file.bytes.substr(0, 2));
}

TEST_F(JpegFile, FilesTheLibraryCannotDecodeGiveFalseAndNoTarget) {
    ASSERT_TRUE(writeColourJpeg(source, quadrants(64, 64), 90));
    const std::string jpeg = readBytes(source);
    ASSERT_NE(std::string::npos, scanStart(jpeg));
    std::string noise;
    for (uint32_t v = 7; noise.size() < 4096;) noise.push_back(char((v = v * 69069 + 1) >> 24));
    expectRefused(convertJpegFile,
                  {
                      {"an empty file", ""},
                      {"a bitmap file", testing_support::bitmapFileBytes(8, 8, 0x336699)},
                      {"random bytes", noise},
                      {"random bytes after a JPEG start", "\xFF\xD8" + noise},
                      {"a file cut in its header", jpeg.substr(0, scanStart(jpeg) - 40)},
                      {"a file cut after its start marker", jpeg.substr(0, 2)},
                  });
}

TEST_F(JpegFile, MissingSourceOrPathGivesFalse) {
    EXPECT_FALSE(convert("no such file.jpg", target));
    EXPECT_FALSE(targetExists());
    EXPECT_FALSE(convertJpegFile(nullptr, target.c_str()));
    ASSERT_TRUE(writeColourJpeg(source, Picture(2, 2), 90));
    EXPECT_FALSE(convertJpegFile(source.c_str(), nullptr));
    EXPECT_FALSE(convert(source, "no such folder/x.bmp"));
}

TEST_F(JpegFile, AFileCutInItsPixelDataStillConverts) {
    // The library warns and ends the picture in grey; the rows before the cut are kept.
    ASSERT_TRUE(writeColourJpeg(source, Picture(64, 64, kRed), 90));
    std::string jpeg = readBytes(source);
    size_t start = scanStart(jpeg);
    ASSERT_TRUE(writeBytes(source, jpeg.substr(0, start + (jpeg.size() - start) / 2)));
    ASSERT_TRUE(convert(source, target));
    BitmapFile file = written();
    ASSERT_EQ(54u + 64 * 192, file.bytes.size());
    EXPECT_TRUE(closeTo(kRed, file.pixel(4, 2), 12));
}

TEST_F(JpegFile, AFileClaimingAHugePictureIsRefusedBeforeAnyAllocation) {
    // 65500 × 65500, the library's largest, needs 12.9 GB; in 32 bits the size wraps to 4 GB.
    ASSERT_TRUE(writeColourJpeg(source, Picture(16, 16, kRed), 90));
    std::string jpeg = readBytes(source);
    size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(std::string::npos, frame);
    jpeg.replace(frame + 5, 4, "\xFF\xDC\xFF\xDC");
    ASSERT_TRUE(writeBytes(source, jpeg));
    EXPECT_FALSE(convert(source, target));
    EXPECT_FALSE(targetExists());
}

TEST_F(JpegFile, AFileTooShortForThePictureItDeclaresIsRefusedButTheShortestRealOneConverts) {
    // 2048 × 2048 has 65536 blocks of 8 × 8: the file holds little more than a bit for each.
    ASSERT_TRUE(writeShortestGreyJpeg(source, 2048));
    std::string jpeg = readBytes(source);
    ASSERT_LT(jpeg.size(), 65536u / 8 + 512) << "not the shortest file";
    ASSERT_TRUE(convert(source, target));
    EXPECT_TRUE(closeTo({128, 128, 128}, written().pixel(2047, 2047), 1));

    // The same bytes declaring 8192 rows: fewer bits than blocks. Such a file used to make the
    // library allocate the whole picture, and its coefficients, and fill the missing rows grey.
    size_t frame = jpeg.find("\xFF\xC2");
    ASSERT_NE(std::string::npos, frame);
    jpeg.replace(frame + 5, 2, std::string("\x20\x00", 2));
    ASSERT_TRUE(writeBytes(source, jpeg));
    testing_support::removeFile(target);
    EXPECT_FALSE(convert(source, target));
    EXPECT_FALSE(targetExists());
}

TEST_F(JpegFile, PixelRowsEqualThoseOfDjpeg) {
#ifdef _WIN32
    GTEST_SKIP() << "djpeg runs natively only";
#else
    if (system("djpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "djpeg is not installed";
    // Odd width for fill bytes, 2 x 2 chroma so that upsampling is compared too.
    ASSERT_TRUE(writeColourJpeg(source, photoLike(301, 203), 90, true));
    ASSERT_TRUE(convert(source, target));
    std::string djpegFile = testing_support::testFileName(".djpeg.bmp");
    std::string command = "djpeg -bmp -outfile '" + djpegFile + "' '" + source + "'";
    ASSERT_EQ(0, system(command.c_str())) << command;
    BitmapFile theirs(readBytes(djpegFile));
    testing_support::removeFile(djpegFile);
    BitmapFile ours = written();
    ASSERT_TRUE(theirs.hasHeaders());
    ASSERT_EQ(24u, theirs.field(28, 2)) << "djpeg wrote no 24-bit file";
    std::string theirRows = theirs.bytes.substr(theirs.field(10, 4));
    std::string ourRows = ours.bytes.substr(54);
    ASSERT_EQ(theirRows.size(), ourRows.size());
    size_t differ = 0;
    while (differ < ourRows.size() && ourRows[differ] == theirRows[differ]) ++differ;
    EXPECT_EQ(ourRows.size(), differ)
        << "first different byte at offset " << differ << " of " << ourRows.size();
#endif
}

} // namespace

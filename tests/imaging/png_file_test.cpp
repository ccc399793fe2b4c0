// convertPngFile: every colour type and depth, checked pixel for pixel, and files it refuses.
#include <png.h>
#include <zlib.h>

#include "imaging_fixture.h"
#include "picture_files.h"
#include "test_bitmaps.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
using PngFile = ImagingTest;

bool convert(const std::string& source, const std::string& target) {
    return convertPngFile(source.c_str(), target.c_str());
}

struct Kind {
    const char* name;
    int colourType, depth;
    bool interlaced, transparency; // transparency: a tRNS chunk
};
const Kind kKinds[] = {
    {"palette 1", PNG_COLOR_TYPE_PALETTE, 1, false, false},
    {"palette 2 with alphas", PNG_COLOR_TYPE_PALETTE, 2, false, true},
    {"palette 4, interlaced", PNG_COLOR_TYPE_PALETTE, 4, true, false},
    {"palette 8 with alphas", PNG_COLOR_TYPE_PALETTE, 8, false, true},
    {"grey 1", PNG_COLOR_TYPE_GRAY, 1, false, false},
    {"grey 2", PNG_COLOR_TYPE_GRAY, 2, false, false},
    {"grey 4", PNG_COLOR_TYPE_GRAY, 4, false, false},
    {"grey 8 with a transparent grey", PNG_COLOR_TYPE_GRAY, 8, false, true},
    {"grey 16 with a transparent grey, interlaced", PNG_COLOR_TYPE_GRAY, 16, true, true},
    {"grey and alpha 8", PNG_COLOR_TYPE_GA, 8, false, false},
    {"grey and alpha 16", PNG_COLOR_TYPE_GA, 16, false, false},
    {"RGB 8 with a transparent colour", PNG_COLOR_TYPE_RGB, 8, false, true},
    {"RGB 8, interlaced", PNG_COLOR_TYPE_RGB, 8, true, false},
    {"RGB 16", PNG_COLOR_TYPE_RGB, 16, false, false},
    {"RGBA 8", PNG_COLOR_TYPE_RGBA, 8, false, false},
    {"RGBA 16, interlaced", PNG_COLOR_TYPE_RGBA, 16, true, false},
};

// 13 × 7: rows that need fill bytes, and end inside a byte at depths below 8. Any sample
// values, with alphas 0 and full in the first two pixels and the first pixel's colour the
// transparent one.
PngImage makeImage(const Kind& kind) {
    PngImage image = {13, 7, kind.colourType, kind.depth, kind.interlaced, {}, {}, -1};
    const unsigned channels = pngChannels(kind.colourType), range = 1u << kind.depth;
    uint32_t noise = 99;
    for (unsigned i = 0; i < 13 * 7 * channels; ++i)
        image.samples.push_back(uint16_t(((noise = noise * 1103515245u + 12345u) >> 8) % range));
    if (channels % 2 == 0) {
        image.samples[channels - 1] = 0;
        image.samples[2 * channels - 1] = uint16_t(range - 1);
    }
    if (kind.transparency && kind.colourType == PNG_COLOR_TYPE_PALETTE)
        image.paletteAlpha = {0, 128, 255, 77};
    else if (kind.transparency) {
        for (unsigned i = 1; i < channels; ++i) image.samples[i] = image.samples[0];
        image.transparentValue = image.samples[0];
    }
    return image;
}

// The colours the file holds, taken from its samples independently of libpng.
Picture colours(const PngImage& image) {
    Picture picture(image.width, image.height);
    const unsigned channels = pngChannels(image.colourType), maxval = (1u << image.depth) - 1;
    for (uint32_t i = 0; i < image.width * image.height; ++i) {
        const uint16_t* s = &image.samples[i * channels];
        Rgb colour;
        if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
            Rgb c = paletteColour(s[0]);
            unsigned a = s[0] < image.paletteAlpha.size() ? image.paletteAlpha[s[0]] : 255;
            colour = overBlack(c.r, c.g, c.b, a, 255);
        } else {
            unsigned r = s[0], g = channels < 3 ? r : s[1], b = channels < 3 ? r : s[2];
            bool transparent = int(r) == image.transparentValue && g == r && b == r;
            unsigned a = channels % 2 == 0 ? s[channels - 1] : transparent ? 0 : maxval;
            colour = overBlack(r, g, b, a, maxval);
        }
        picture.set(i % image.width, i / image.width, colour);
    }
    return picture;
}

TEST_F(PngFile, EveryColourTypeAndDepthGivesItsSamplesColoursAsPngtopamDoes) {
    ASSERT_TRUE(writeBytes(target, std::string(100000, 'x'))); // replaced by the first
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        PngImage image = makeImage(kind);
        ASSERT_TRUE(writePng(source, image));
        ASSERT_TRUE(convert(source, target));
        const std::string ours = written().bytes;
        EXPECT_EQ(expectedBitmap(colours(image), 0), ours);
#ifndef _WIN32
        // Netpbm leaves the tRNS colour of a truecolour file opaque (its verbose output names
        // the colour); the file's own samples check that kind.
        if (kind.colourType == PNG_COLOR_TYPE_RGB && kind.transparency) continue;
        Picture theirs = referenceDecode("pngtopam -alphapam", source);
        ASSERT_EQ(13u, theirs.width) << "pngtopam failed (scripts/setup installs netpbm)";
        EXPECT_EQ(expectedBitmap(theirs, 0), ours);
#endif
    }
}

std::string bigEndian32(uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// The file with all its pixel data in one chunk, as some writers make it.
std::string withOneDataChunk(const std::string& png) {
    std::string before, data, after;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint8_t* length = reinterpret_cast<const uint8_t*>(&png[at]);
        size_t size =
            12 + (uint32_t(length[0]) << 24 | length[1] << 16 | length[2] << 8 | length[3]);
        if (png.compare(at + 4, 4, "IDAT") == 0)
            data += png.substr(at + 8, size - 12);
        else
            (data.empty() ? before : after) += png.substr(at, size);
        at += size;
    }
    std::string chunk = "IDAT" + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), uInt(chunk.size()));
    return png.substr(0, 8) + before + bigEndian32(uint32_t(data.size())) + chunk +
           bigEndian32(uint32_t(crc)) + after;
}

TEST_F(PngFile, PixelDataInOneChunkLargerThanAnyOtherChunkMayBeStillConverts) {
    // 700 × 700 of noise does not compress: 1.4 MB of pixel data in one chunk, beyond the bound
    // on every other chunk.
    PngImage image = {700, 700, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, -1};
    uint32_t noise = 7;
    for (unsigned i = 0; i < 700 * 700 * 3; ++i)
        image.samples.push_back(uint16_t((noise = noise * 1103515245u + 12345u) >> 24));
    ASSERT_TRUE(writePng(source, image));
    const std::string png = withOneDataChunk(readBytes(source));
    ASSERT_GT(png.size(), 1024u * 1024);
    ASSERT_TRUE(writeBytes(source, png));
    ASSERT_TRUE(convert(source, target));
    EXPECT_EQ(expectedBitmap(colours(image), 0), written().bytes);
}

TEST_F(PngFile, DamagedCutAndHugeFilesGiveFalseAndNoTarget) {
    EXPECT_FALSE(convert("no such file.png", target));
    ASSERT_TRUE(writePng(source, makeImage({"RGBA 8", PNG_COLOR_TYPE_RGBA, 8, false, false})));
    const std::string png = readBytes(source);
    const size_t idat = png.find("IDAT");
    ASSERT_NE(std::string::npos, idat);
    std::string damaged = png;
    damaged[idat + 10] ^= 0x55; // the chunk's CRC no longer matches
    // 100000 × 100000 needs a 30 GB bitmap file; the header's CRC is made right again.
    std::string huge = png;
    huge.replace(16, 8, std::string("\0\x01\x86\xA0\0\x01\x86\xA0", 8));
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(&huge[12]), 17);
    for (int i = 0; i < 4; ++i) huge[29 + i] = char(crc >> (24 - 8 * i));
    expectRefused(convertPngFile,
                  {
                      {"an empty file", ""},
                      {"a bitmap file", testing_support::bitmapFileBytes(8, 8, 0x336699)},
                      {"noise after a PNG signature", png.substr(0, 8) + std::string(300, '\x5A')},
                      {"a file cut in its pixel data", png.substr(0, idat + 20)},
                      {"a file cut before its end chunk", png.substr(0, png.size() - 12)},
                      {"damaged pixel data", damaged},
                      {"a file claiming a huge picture", huge},
                      // A 3 x 3 picture, then a text chunk whose length field reads "iTXt":
                      // 1.77 GB that the file does not hold (the PNG fuzzer's regression input).
                      {"a text chunk declaring 1.77 GB",
                       std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x03\0\0\0\x03\x08\x04"
                                   "\0\0\0\xFC\x21\x7D\x34iTXttEXtIDATND`\x82",
                                   49)},
                  });
}

} // namespace

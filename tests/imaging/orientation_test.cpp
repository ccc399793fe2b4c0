// Pictures turned upright by their EXIF orientation: the reader of the EXIF block, the bitmap
// writer's eight orientations, and each converter, against its own upright output (both builds)
// and against ImageMagick's -auto-orient of files tagged by exiftool (natively).
#include <stdlib.h>
#include <string.h>

#include <png.h>
#include <tiffio.h>

#include "bitmap_file.h"
#include "exif_orientation.h"
#include "imaging_fixture.h"
#include "picture_files.h"

namespace {

using Orientation = ImagingTest;

const uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(ExifOrientation, ReadsIfd0InEitherByteOrderAndTakesAnythingDamagedAsUpright) {
    // Each case damages a valid block (orientation 6) in one place.
    struct Case {
        const char* name;
        bool bigEndian;
        void (*damage)(std::string*);
        uint16_t expected;
    } cases[] = {
        {"intact, little-endian", false, [](std::string*) {}, 6},
        {"intact, big-endian", true, [](std::string*) {}, 6},
        {"JPEG's Exif prefix", true, [](std::string* b) { b->insert(0, "Exif\0\0", 6); }, 6},
        {"empty", false, [](std::string* b) { b->clear(); }, 1},
        {"header only", false, [](std::string* b) { b->resize(8); }, 1},
        {"cut inside the entries", true, [](std::string* b) { b->resize(30); }, 1},
        {"cut inside the orientation's value", false,
         [](std::string* b) { b->resize(kExifOrientationEntry + 9); }, 1},
        {"unknown byte order", false, [](std::string* b) { (*b)[0] = (*b)[1] = 'X'; }, 1},
        {"mixed byte order", false, [](std::string* b) { (*b)[1] = 'M'; }, 1},
        {"not 42", false, [](std::string* b) { (*b)[2] = 43; }, 1},
        {"IFD0 past the end", false, [](std::string* b) { (*b)[7] = char(0x80); }, 1},
        {"IFD0 at 2^32 - 1", false, [](std::string* b) { memset(&(*b)[4], 0xFF, 4); }, 1},
        {"IFD0 inside the header", false, [](std::string* b) { (*b)[4] = 2; }, 1},
        {"65535 entries", true, [](std::string* b) { (*b)[8] = (*b)[9] = char(0xFF); }, 1},
        {"orientation as a LONG", false,
         [](std::string* b) { (*b)[kExifOrientationEntry + 2] = 4; }, 1},
        {"two orientations", false, [](std::string* b) { (*b)[kExifOrientationEntry + 4] = 2; }, 1},
        {"value 0", false, [](std::string* b) { (*b)[kExifOrientationEntry + 8] = 0; }, 1},
        {"value 9", false, [](std::string* b) { (*b)[kExifOrientationEntry + 8] = 9; }, 1},
        {"value 256 + 6", false, [](std::string* b) { (*b)[kExifOrientationEntry + 9] = 1; }, 1},
        {"no orientation tag", true, [](std::string* b) { (*b)[kExifOrientationEntry + 1] = 0x13; },
         1},
    };
    for (const Case& c : cases) {
        std::string block = exifBlock(c.bigEndian, 6);
        c.damage(&block);
        EXPECT_EQ(c.expected, imaging::exifOrientation(bytesOf(block), block.size())) << c.name;
    }
    for (uint16_t o = 1; o <= 8; ++o) {
        std::string block = exifBlock(true, o);
        EXPECT_EQ(o, imaging::exifOrientation(bytesOf(block), block.size())) << o;
    }
    EXPECT_EQ(1, imaging::exifOrientation(nullptr, 100));
    const char exif[] = "Exif\0\0MM", xmp[] = "http://ns.adobe.com/xap/1.0/";
    EXPECT_TRUE(imaging::isExifSegment(reinterpret_cast<const uint8_t*>(exif), 8));
    EXPECT_FALSE(imaging::isExifSegment(reinterpret_cast<const uint8_t*>(xmp), 28));
}

// The first of the pixels that differ, as a failure naming them and how many there are.
::testing::AssertionResult samePixels(const Picture& expected, const Picture& actual,
                                      int tolerance = 0) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure()
               << actual.width << " x " << actual.height << " instead of " << expected.width
               << " x " << expected.height;
    size_t wrong = 0;
    ::testing::AssertionResult first = ::testing::AssertionSuccess();
    for (uint32_t y = 0; y < expected.height; ++y) {
        for (uint32_t x = 0; x < expected.width; ++x) {
            if (closeTo(expected.at(x, y), actual.at(x, y), tolerance)) continue;
            if (wrong++ == 0)
                first = ::testing::AssertionFailure()
                        << "at " << x << ", " << y << ": " << actual.at(x, y) << " instead of "
                        << expected.at(x, y);
        }
    }
    if (wrong == 0) return first;
    return first << " (" << wrong << " pixels differ)";
}

void rgbToBgr(const uint8_t* rgb, uint32_t width, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, rgb += 3, bgr += 3) {
        bgr[0] = rgb[2];
        bgr[1] = rgb[1];
        bgr[2] = rgb[0];
    }
}

TEST_F(Orientation, TheWriterTurnsEachOrientationUpright) {
    // A small picture and a single pixel, each as red-green-blue rows top to bottom, as
    // blue-green-red-alpha rows bottom to top, and with padded rows; and one whose quarter turn
    // spans several write chunks (1000-pixel stored rows, 300 upright ones).
    struct Size {
        uint32_t width, height;
    } sizes[] = {{5, 3}, {1000, 300}, {1, 1}};
    for (const Size& size : sizes) {
        Picture stored = photoLike(size.width, size.height);
        for (int layout = 0; layout < (size.width > 5 ? 1 : 3); ++layout) {
            bool bottomUp = layout == 1;
            uint32_t pixelBytes = bottomUp ? 4 : 3;
            size_t pitch = size_t(size.width) * pixelBytes + (layout == 2 ? 5 : 0);
            std::vector<uint8_t> bytes(pitch * size.height);
            for (uint32_t y = 0; y < size.height; ++y) {
                uint8_t* row = &bytes[pitch * (bottomUp ? size.height - 1 - y : y)];
                for (uint32_t x = 0; x < size.width; ++x, row += pixelBytes) {
                    Rgb c = stored.at(x, y);
                    uint8_t bgra[4] = {c.b, c.g, c.r, 255};
                    uint8_t rgb[3] = {c.r, c.g, c.b};
                    memcpy(row, bottomUp ? bgra : rgb, pixelBytes);
                }
            }
            for (uint16_t o = 0; o <= 9; ++o) {
                imaging::BitmapSource source = {size.width,
                                                size.height,
                                                0,
                                                bytes.data(),
                                                pitch,
                                                bottomUp,
                                                bottomUp ? imaging::bgraOverBlack : rgbToBgr,
                                                pixelBytes,
                                                o};
                ASSERT_TRUE(imaging::writeBitmapFile(target.c_str(), source));
                // 0 and 9 are no orientation: the picture as stored.
                uint16_t meant = o >= 1 && o <= 8 ? o : 1;
                EXPECT_TRUE(samePixels(upright(stored, meant), written().picture()))
                    << size.width << " x " << size.height << ", layout " << layout
                    << ", orientation " << o;
            }
        }
    }
}

// An orientation as a file holds it: an EXIF block (none when empty) for the formats that embed
// one, the value itself for TIFF, which keeps the tag in its own directory.
struct Tag {
    std::string exif;
    uint16_t orientation; // what the picture should turn by: 1 when the block is damaged
};

// Each format, tagged as its writers tag it, by the tests' own scaffolding.
struct TaggedFormat {
    const char* name;
    const char* extension; // exiftool knows the format by it
    bool (*convert)(const char*, const char*);
    bool (*write)(const std::string& path, const Picture& picture, const Tag& tag);
    bool lossless;
    // The scaffolding stores a TIFF's bottom-left picture's rows bottom first: the upright one.
    uint16_t storedUpright;
    // ImageMagick 6 takes the orientation only from JPEG and TIFF files; for PNG and WebP it is
    // told the value that exiftool wrote (-orient).
    bool magickReadsTheTag;
};

const TaggedFormat kTaggedFormats[] = {
    {"JPEG", "jpg", convertJpegFile,
     [](const std::string& path, const Picture& picture, const Tag& tag) {
         if (!writeColourJpeg(path, picture, 90, true)) return false;
         if (tag.exif.empty()) return true;
         std::string jpeg = testing_support::readBytes(path);
         return testing_support::writeBytes(path,
                                            withApp1(jpeg, std::string("Exif\0\0", 6) + tag.exif));
     },
     false, 0, true},
    {"TIFF", "tif", convertTiffFile,
     [](const std::string& path, const Picture& picture, const Tag& tag) {
         return writeTiff(path, {{picture, tag.orientation, {}}});
     },
     true, ORIENTATION_BOTLEFT, true},
    {"PNG", "png", convertPngFile,
     [](const std::string& path, const Picture& picture, const Tag& tag) {
         PngImage image = {picture.width, picture.height, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, -1,
                           tag.exif};
         image.samples.assign(picture.rgb.begin(), picture.rgb.end());
         return writePng(path, image);
     },
     true, 0, false},
    {"WebP", "webp", convertWebpFile,
     [](const std::string& path, const Picture& picture, const Tag& tag) {
         if (!writeWebp(path, picture, {}, false)) return false;
         if (tag.exif.empty()) return true;
         std::string webp = testing_support::readBytes(path);
         return testing_support::writeBytes(
             path, withExifChunk(webp, picture.width, picture.height, tag.exif));
     },
     false, 0, false},
};

TEST_F(Orientation, EachConverterTurnsItsPictureByItsExifData) {
    // The same pixels as the untagged file decodes to (the picture itself, when lossless),
    // turned by the orientation the file holds, or left as they are when it is damaged. TIFF
    // holds the value, not the block, so the damaged ones give it a plain upright file.
    Picture picture = photoLike(40, 24);
    std::vector<Tag> tags;
    for (uint16_t o = 1; o <= 8; ++o) tags.push_back({exifBlock(o % 2 == 1 || o == 8, o), o});
    tags.push_back({exifBlock(false, 6).substr(0, kExifOrientationEntry + 6), 1});
    tags.push_back({exifBlock(true, 6), 1});
    tags.back().exif[kExifOrientationEntry + 9] = 0;
    for (const TaggedFormat& format : kTaggedFormats) {
        SCOPED_TRACE(format.name);
        ASSERT_TRUE(format.write(source, picture, {"", 1}));
        ASSERT_TRUE(format.convert(source.c_str(), target.c_str()));
        Picture plain = written().picture();
        if (format.lossless) {
            EXPECT_TRUE(samePixels(picture, plain));
        }
        for (const Tag& tag : tags) {
            const uint16_t o = tag.orientation;
            ASSERT_TRUE(format.write(source, picture, tag));
            EXPECT_TRUE(format.convert(source.c_str(), target.c_str())) << "orientation " << o;
            Picture expected = o == format.storedUpright ? plain : upright(plain, o);
            EXPECT_TRUE(samePixels(expected, written().picture())) << "orientation " << o;
        }
    }
}

#ifndef _WIN32
// The eight orientations written by exiftool into each format, against ImageMagick decoding
// the very same file and turning it with -auto-orient: every pixel equal.
TEST_F(Orientation, EveryFormatMatchesImageMagicksAutoOrient) {
    const char* names[] = {"",        "TopLeft",  "TopRight",    "BottomRight", "BottomLeft",
                           "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    Picture picture = photoLike(45, 29);
    for (const TaggedFormat& format : kTaggedFormats) {
        std::string path = source + "." + format.extension;
        for (int o = 1; o <= 8; ++o) {
            SCOPED_TRACE(std::string(format.name) + ", orientation " + std::to_string(o));
            ASSERT_TRUE(format.write(path, picture, {"", 1}));
            std::string tag =
                "exiftool -q -n -overwrite_original -Orientation=" + std::to_string(o) + " '" +
                path + "'";
            ASSERT_EQ(0, system(tag.c_str())) << "exiftool failed (scripts/setup installs it)";
            std::string orient =
                format.magickReadsTheTag ? "" : std::string(" -orient ") + names[o];
            Picture theirs = referencePam("convert '" + path + "'" + orient +
                                          " -auto-orient -depth 8 -alpha on pam:-");
            ASSERT_NE(0u, theirs.width) << "ImageMagick failed (scripts/setup installs it)";
            EXPECT_TRUE(format.convert(path.c_str(), target.c_str()));
            EXPECT_TRUE(samePixels(theirs, written().picture()));
        }
        testing_support::removeFile(path);
    }
}
#endif

} // namespace

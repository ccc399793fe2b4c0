// Pictures made for the tests with libjpeg, libtiff, libpng and libwebp, and bitmap files read
// back.
#ifndef MURALTO_IMAGING_FIXTURE_H
#define MURALTO_IMAGING_FIXTURE_H

#include <gtest/gtest.h>
#include <stdint.h>

#include <ostream>
#include <string>
#include <vector>

#include "test_files.h"

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

const Rgb kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255}, kWhite = {255, 255, 255};

// Each channel of actual within tolerance of expected (lossy JPEG colours).
::testing::AssertionResult closeTo(const Rgb& expected, const Rgb& actual, int tolerance);

// Red, green, blue per pixel, rows top to bottom.
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    Picture(uint32_t w, uint32_t h, Rgb fill = {0, 0, 0});
    Rgb at(uint32_t x, uint32_t y) const;
    void set(uint32_t x, uint32_t y, Rgb colour);
};

// Red top left, green top right, blue bottom left, white bottom right: upside down, mirrored
// or with red and blue swapped, no quadrant keeps its colour.
Picture quadrants(uint32_t width, uint32_t height);
// Gradients and fine texture, so that the JPEG codec works as on a photo.
Picture photoLike(uint32_t width, uint32_t height);
// An alpha plane for the picture: 0 at the left edge to 255 at the right, on every row.
std::vector<uint8_t> alphaAcross(const Picture& picture);
// Pseudo-random pixels, the same for the same size: no two neighbours alike.
Picture noise(uint32_t width, uint32_t height);
// Blue, green, red per pixel, rows top to bottom, as the writers' and scalers' memory holds them.
std::vector<uint8_t> bgrOf(const Picture& picture);

// Rings whose frequency grows from the centre outwards (cos of r squared): fine detail that
// point sampling turns into moiré. A spread above 1 widens the rings by that factor.
Picture zonePlate(uint32_t width, uint32_t height, double spread = 1);
// The exact mean of the area each of outWidth x outHeight pixels covers, in floating point, as
// red, green, blue per pixel; where an axis grows, the source pixel under each centre.
std::vector<double> exactAreaAverage(const Picture& picture, uint32_t outWidth, uint32_t outHeight);
// Peak signal-to-noise ratio of 8-bit samples against the reference, in dB (999 when equal).
double psnr(const std::vector<double>& reference, const std::vector<uint8_t>& samples);

// JPEG files. Colour ones keep full chroma resolution unless subsampled (the encoder's 2 × 2).
bool writeColourJpeg(const std::string& path, const Picture& picture, int quality,
                     bool subsampled = false);
bool writeGreyJpeg(const std::string& path, uint32_t width, uint32_t height,
                   const std::vector<uint8_t>& grey);
// Four samples per pixel as stored; ycck stores them as YCCK, adobeMarker adds the APP14
// marker that Adobe's programs write (and whose files hold inverted inks).
bool writeCmykJpeg(const std::string& path, uint32_t width, uint32_t height,
                   const std::vector<uint8_t>& cmyk, bool ycck, bool adobeMarker);
// A plain grey square in as few bytes as Huffman coding allows: a scan of the blocks' DC
// coefficients alone, each a 1-bit code once the tables are optimised, then a scan of the rest,
// which end-of-band runs cover for next to nothing.
bool writeShortestGreyJpeg(const std::string& path, uint32_t side);

// TIFF files: 8-bit RGB, one image per entry, strips of 16 rows from offset 8 on.
struct TiffImage {
    Picture picture;
    uint16_t orientation;       // ORIENTATION_TOPLEFT or ORIENTATION_BOTLEFT
    std::vector<uint8_t> alpha; // empty, or one associated-alpha sample per pixel
    uint16_t compression = 1;   // COMPRESSION_NONE
};
bool writeTiff(const std::string& path, const std::vector<TiffImage>& images);
// A TIFF whose header claims width × height pixels but holds only its first row.
bool writeClaimingTiff(const std::string& path, uint32_t width, uint32_t height);

// PNG files of any colour type (PNG_COLOR_TYPE_...) and depth. Samples as stored, one value
// each (palette indexes, grey, grey and alpha, red-green-blue, or with alpha), rows top to
// bottom. Palette files get 2^depth colours (at most 256), the first paletteAlpha.size() of
// them with those alphas; transparentValue >= 0 gives a grey or colour file a tRNS colour
// whose samples all hold that value.
struct PngImage {
    uint32_t width, height;
    int colourType, depth;
    bool interlaced;
    std::vector<uint16_t> samples;
    std::vector<uint8_t> paletteAlpha;
    int transparentValue;
    std::string exif = {}; // an eXIf chunk's content, when not empty
};
int pngChannels(int colourType);
Rgb paletteColour(unsigned index);
bool writePng(const std::string& path, const PngImage& image);

// WebP files of a picture, with alpha (one sample per pixel) unless it is empty.
bool writeWebp(const std::string& path, const Picture& picture, const std::vector<uint8_t>& alpha,
               bool lossless, int quality = 90);

// EXIF data holding an Orientation tag, from the TIFF header on: IFD0 with two other tags
// before it and one after, then an empty IFD1. Offsets of its parts, for tests that damage it:
// IFD0 at 8, its orientation entry at 8 + 2 + 2 × 12.
const size_t kExifOrientationEntry = 8 + 2 + 2 * 12;
std::string exifBlock(bool bigEndian, uint16_t orientation);
// A JPEG file with an APP1 segment holding payload (its "Exif\0\0" included) after its SOI.
std::string withApp1(const std::string& jpeg, const std::string& payload);
// A simple-format WebP file turned into the extended one, with an EXIF chunk after its frame.
std::string withExifChunk(const std::string& webp, uint32_t width, uint32_t height,
                          const std::string& exif);
// The upright picture of a stored one in an EXIF orientation: where each orientation puts the
// stored first row and column, straight from their definitions.
Picture upright(const Picture& stored, uint16_t orientation);
// HEIF files (natively only): encoded by heif-enc from a PNG file of the picture, with alpha
// unless it is empty, at 8 bits or deeper (the picture's samples scaled), its chroma halved both
// ways (4:2:0) or whole (4:4:4); or, for an EXIF orientation other than 1 (the picture as
// stored), by the library at 8 bits, 4:4:4, with its irot and imir boxes. Quality 90.
struct HeifEncoding {
    bool avif;
    int bits;
    bool chroma444;
    int orientation = 1;
};
bool writeHeif(const std::string& path, const Picture& picture, const std::vector<uint8_t>& alpha,
               const HeifEncoding& encoding);
// A HEIC grid (natively only) as phones write one: rows × columns flat tiles of tileSide ×
// tileSide, colours row by row, each encoded alone at 8 bits 4:2:0 and marked hidden, cropped to
// width × height (output sizes of 32 bits with wideSizes), the descriptor in idat; turned
// adds irot to the grid, a quarter turn anticlockwise.
struct HeifGrid {
    uint32_t columns, rows, tileSide, width, height;
    std::vector<Rgb> colours;
    bool wideSizes, turned;
};
bool writeHeifGrid(const std::string& path, const HeifGrid& grid);
// heif-convert's picture of source, composited by overBlack, its samples taken at the depth
// the file has (bits); 0 × 0 when it fails.
Picture heifConvertDecode(const std::string& source, unsigned bits = 8);

// A colour of `maxval`-scaled samples as the converters give it: each sample rounded to 8
// bits, then the colour composited over black, round(c × alpha / 255).
Rgb overBlack(unsigned r, unsigned g, unsigned b, unsigned alpha, unsigned maxval);
// A reference decoder's picture of source, composited by overBlack: `command source` writes a
// PAM file with alpha to its standard output (pngtopam -alphapam, dwebp -pam). 0 × 0 when that
// fails, and always under Wine, where the tools do not run. A 16-bit file whose samples were
// widened from widenedBits bits by repeating their bits is read back at that depth.
Picture referenceDecode(const std::string& command, const std::string& source,
                        unsigned widenedBits = 0);
// The same for a whole command line, which writes such a PAM file to its standard output.
Picture referencePam(const std::string& commandLine, unsigned widenedBits = 0);

// A bitmap file as read back: its fields and pixels.
struct BitmapFile {
    explicit BitmapFile(std::string fileBytes) : bytes(std::move(fileBytes)) {}
    std::string bytes;
    bool hasHeaders() const { return bytes.size() >= 54; }
    uint32_t field(size_t offset, int size) const;
    int32_t width() const { return static_cast<int32_t>(field(18, 4)); }
    int32_t height() const { return static_cast<int32_t>(field(22, 4)); }
    size_t stride() const { return (3 * static_cast<size_t>(width()) + 3) / 4 * 4; }
    // y = 0 is the picture's top row.
    Rgb pixel(uint32_t x, uint32_t y) const;
    // The fill bytes after the pixels of file row `row` (0 = first in the file).
    std::string fill(uint32_t row) const;
    // All the pixels, rows top to bottom.
    Picture picture() const;
};

// The bytes of a bitmap file with the given resolution, built independently of the writers.
std::string expectedBitmap(const Picture& picture, uint32_t resolution);

// The formats the program takes, in the order of the open-file dialog's filters (the filter
// index is the position + 1), each with a writer of a picture in it: for tests that go over
// them all. JPEG at quality 95, lossless WebP.
struct PictureFormat {
    const char* extension;
    bool (*write)(const std::string& path, const Picture& picture);
};
extern const PictureFormat kPictureFormats[5];

class ImagingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        source = testing_support::testFileName(".src");
        target = testing_support::testFileName(".bmp");
    }
    void TearDown() override {
        testing_support::removeFile(source);
        testing_support::removeFile(target);
    }
    BitmapFile written() const { return BitmapFile(testing_support::readBytes(target)); }
    bool targetExists() const { return testing_support::fileExists(target); }

    struct RefusedFile {
        const char* name;
        std::string bytes;
    };
    // Each file, as the source, gives false and no target; a refused source then leaves an
    // existing target as it was.
    void expectRefused(bool (*convert)(const char*, const char*),
                       const std::vector<RefusedFile>& files) {
        for (const RefusedFile& f : files) {
            ASSERT_TRUE(testing_support::writeBytes(source, f.bytes));
            EXPECT_FALSE(convert(source.c_str(), target.c_str())) << f.name;
            EXPECT_FALSE(targetExists()) << f.name;
        }
        ASSERT_TRUE(testing_support::writeBytes(target, "old"));
        EXPECT_FALSE(convert(source.c_str(), target.c_str()));
        EXPECT_EQ("old", testing_support::readBytes(target))
            << "a failed decode leaves an existing target as it was";
    }

    std::string source, target;
};

#endif

// convertHeifFile: HEIC and AVIF files encoded here, every pixel against heif-convert; the
// container's rotations and mirrors; grids of tiles; libheif's own example files; files it
// refuses. The files are encoded natively only; under Wine the committed pictures show the
// cross-built decoders.
#include <algorithm>

#include "imaging_fixture.h"
#include "picture_files.h"
#include "test_bitmaps.h"

namespace {

using testing_support::readBytes;

bool convert(const std::string& source, const std::string& target) {
    return convertHeifFile(source.c_str(), target.c_str());
}

class HeifFile : public ImagingTest {
  protected:
#ifndef _WIN32
    // Converts file into *ours, which heif-convert's picture of it, its samples read at the
    // file's depth (bits), must equal to the last sample; fatal when either fails.
    void convertAsHeifConvertDoes(const std::string& file, Picture* ours, unsigned bits = 8) {
        ASSERT_TRUE(convert(file, target)) << file;
        *ours = written().picture();
        Picture theirs = heifConvertDecode(file, bits);
        ASSERT_EQ(ours->width, theirs.width) << "heif-convert or pngtopam failed";
        ASSERT_EQ(ours->height, theirs.height);
        int largest = 0;
        for (size_t i = 0; i < theirs.rgb.size(); ++i)
            largest = std::max(largest, abs(theirs.rgb[i] - ours->rgb[i]));
        EXPECT_EQ(0, largest) << "the largest difference of one channel";
    }
#endif
};

// The colour at the centre of each quadrant: red, green, blue, white when upright.
void expectUprightQuadrants(const Picture& picture, int tolerance) {
    const uint32_t w = picture.width, h = picture.height;
    EXPECT_TRUE(closeTo(kRed, picture.at(w / 4, h / 4), tolerance)) << "top left";
    EXPECT_TRUE(closeTo(kGreen, picture.at(3 * w / 4, h / 4), tolerance)) << "top right";
    EXPECT_TRUE(closeTo(kBlue, picture.at(w / 4, 3 * h / 4), tolerance)) << "bottom left";
    EXPECT_TRUE(closeTo(kWhite, picture.at(3 * w / 4, 3 * h / 4), tolerance)) << "bottom right";
}

#ifndef _WIN32
struct Kind {
    const char* name;
    HeifEncoding encoding;
    bool alpha;
};
// 37 × 23: odd sides, which a 4:2:0 picture cannot have, so heif-enc stores those as a grid
// of one larger tile cropped to the picture; 4:4:4 ones as the picture itself.
const Kind kKinds[] = {
    {"HEIC 8-bit 4:2:0 (a grid)", {false, 8, false}, false},
    {"HEIC 8-bit 4:4:4", {false, 8, true}, false},
    {"HEIC 10-bit 4:2:0", {false, 10, false}, false},
    {"HEIC 10-bit 4:4:4 with alpha", {false, 10, true}, true},
    {"HEIC 8-bit 4:2:0 with alpha", {false, 8, false}, true},
    {"AVIF 8-bit 4:2:0", {true, 8, false}, false},
    {"AVIF 8-bit 4:4:4 with alpha", {true, 8, true}, true},
    // Debian's aom 3.6 stops on an assertion for 10-bit pictures; 12-bit ones take the same path.
    {"AVIF 12-bit 4:2:0", {true, 12, false}, false},
    {"AVIF 12-bit 4:4:4 with alpha", {true, 12, true}, true},
};

const Picture kPicture = photoLike(37, 23);
std::vector<uint8_t> alphaOf(const Kind& kind) {
    return kind.alpha ? alphaAcross(kPicture) : std::vector<uint8_t>();
}

// Deeper samples, as heif-convert decodes them, are rounded to the nearest 8-bit value as the
// PNG converter rounds its 16-bit ones, then composited.
TEST_F(HeifFile, EveryKindGivesHeifConvertsPixelsRoundedTo8BitsOverBlack) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::vector<uint8_t> alpha = alphaOf(kind);
        ASSERT_TRUE(writeHeif(source, kPicture, alpha, kind.encoding))
            << "heif-enc failed (scripts/setup installs libheif-examples)";
        if (!kind.encoding.avif && !kind.encoding.chroma444) {
            ASSERT_NE(std::string::npos, readBytes(source).find("grid"));
        }
        Picture ours(0, 0);
        ASSERT_NO_FATAL_FAILURE(
            convertAsHeifConvertDoes(source, &ours, unsigned(kind.encoding.bits)));
        ASSERT_EQ(37u, ours.width);
        ASSERT_EQ(23u, ours.height);
        // Both agree with the picture encoded, lossy as it is, and not only with each other.
        Picture expected(37, 23);
        for (uint32_t i = 0; i < 37 * 23; ++i) {
            Rgb c = kPicture.at(i % 37, i / 37);
            expected.set(i % 37, i / 37,
                         overBlack(c.r, c.g, c.b, kind.alpha ? alpha[i] : 255, 255));
        }
        EXPECT_LT(25,
                  psnr(std::vector<double>(expected.rgb.begin(), expected.rgb.end()), ours.rgb));
    }
}

TEST_F(HeifFile, EveryOrientationOfTheContainerIsAppliedAsHeifConvertDoesSidesSwappedFrom5To8) {
    const Picture stored = quadrants(48, 32);
    for (bool avif : {false, true}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE((avif ? "AVIF, orientation " : "HEIC, orientation ") +
                         std::to_string(orientation));
            ASSERT_TRUE(writeHeif(source, stored, {}, {avif, 8, true, orientation}));
            Picture ours(0, 0);
            ASSERT_NO_FATAL_FAILURE(convertAsHeifConvertDoes(source, &ours));
            const bool swapped = orientation >= 5;
            ASSERT_EQ(swapped ? 32u : 48u, ours.width);
            ASSERT_EQ(swapped ? 48u : 32u, ours.height);
            // The quadrants land where the orientation puts them, by its own definition.
            const Picture meant = upright(stored, static_cast<uint16_t>(orientation));
            for (uint32_t y = 4; y < meant.height; y += meant.height / 2)
                for (uint32_t x = 4; x < meant.width; x += meant.width / 2)
                    EXPECT_TRUE(closeTo(meant.at(x, y), ours.at(x, y), 24)) << x << ", " << y;
        }
    }
}

// The pictures that come with libheif's sources (MIT licence), read where the build unpacked
// them: a HEIC with two pictures and their thumbnails, and an AVIF.
TEST_F(HeifFile, LibheifsExamplesGiveTheirPrimaryPictureAsHeifConvertDoes) {
    for (const char* name : {"example.heic", "example.avif"}) {
        SCOPED_TRACE(name);
        Picture ours(0, 0);
        convertAsHeifConvertDoes(std::string(MURALTO_HEIF_EXAMPLES) + "/" + name, &ours);
    }
}

// Phones store large photos as a grid of HEVC tiles, the right and bottom ones cropped: the
// whole picture must come out, each tile where the grid puts it, not one tile or a thumbnail.
TEST_F(HeifFile, GridsOfTilesGiveTheWholeCroppedPictureWithEachTileInPlace) {
    const std::vector<Rgb> colours = {{200, 40, 40},  {40, 200, 40},  {40, 40, 200},
                                      {220, 220, 60}, {200, 60, 200}, {60, 200, 200}};
    const struct {
        const char* name;
        HeifGrid grid;
    } layouts[] = {
        {"2 rows of 3 tiles, 170 x 120", {3, 2, 64, 170, 120, colours, false, false}},
        {"3 rows of 2 tiles, 100 x 150, 32-bit sizes, irot",
         {2, 3, 64, 100, 150, colours, true, true}},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const HeifGrid& grid = layout.grid;
        ASSERT_TRUE(writeHeifGrid(source, grid)) << "heif-enc failed";
        Picture ours(0, 0);
        ASSERT_NO_FATAL_FAILURE(convertAsHeifConvertDoes(source, &ours));
        ASSERT_EQ(grid.turned ? grid.height : grid.width, ours.width);
        ASSERT_EQ(grid.turned ? grid.width : grid.height, ours.height);
        // Independently of libheif: the pixel stored at sx, sy (turned back by irot's own
        // definition) has its tile's colour, 4 pixels or more inside the tile's edges.
        int checked = 0;
        for (uint32_t y = 0; y < ours.height; ++y) {
            for (uint32_t x = 0; x < ours.width; ++x) {
                const uint32_t sx = grid.turned ? grid.width - 1 - y : x;
                const uint32_t sy = grid.turned ? x : y;
                const uint32_t side = grid.tileSide, u = sx % side, v = sy % side;
                if (u < 4 || v < 4 || u >= side - 4 || v >= side - 4) continue;
                const Rgb tile = grid.colours[sy / side * grid.columns + sx / side];
                ASSERT_TRUE(closeTo(tile, ours.at(x, y), 16)) << x << ", " << y;
                ++checked;
            }
        }
        EXPECT_LT(int(ours.width * ours.height / 2), checked);
    }
}

TEST_F(HeifFile, DamagedCutAndHugeFilesGiveFalseAndNoTarget) {
    EXPECT_FALSE(convert("no such file.heic", target));
    ASSERT_TRUE(writeHeif(source, quadrants(64, 64), {}, {false, 8, false}));
    const std::string heic = readBytes(source);
    ASSERT_TRUE(writeHeif(source, quadrants(64, 64), {}, {true, 8, false}));
    const std::string avif = readBytes(source);
    // The picture's declared size (its ispe box: version and flags, width, height) changed to
    // 40000 × 40000, a 4.8 GB bitmap file, and to 30000 × 30000, which the file's data is not.
    auto claiming = [](std::string file, const char* sides) {
        size_t ispe = file.find("ispe");
        if (ispe != std::string::npos) file.replace(ispe + 8, 8, sides, 8);
        return file;
    };
    const std::string mdatOffByOne = heic.substr(0, heic.size() - 1);
    expectRefused(
        convertHeifFile,
        {
            {"an empty file", ""},
            {"a bitmap file", testing_support::bitmapFileBytes(8, 8, 0x336699)},
            {"noise after a HEIC header", heic.substr(0, 32) + std::string(300, 'Z')},
            {"a HEIC cut in half", heic.substr(0, heic.size() / 2)},
            {"a HEIC short of its last byte", mdatOffByOne},
            {"an AVIF cut in half", avif.substr(0, avif.size() / 2)},
            {"a HEIC claiming a huge picture", claiming(heic, "\x00\x00\x9C\x40\x00\x00\x9C\x40")},
            {"a HEIC claiming more than it holds",
             claiming(heic, "\x00\x00\x75\x30\x00\x00\x75\x30")},
            {"an AVIF claiming a huge picture", claiming(avif, "\x00\x00\x9C\x40\x00\x00\x9C\x40")},
        });
}
#endif

// The pictures committed beside the fuzz target's seeds, which the journeys add too: a portrait
// photo stored as a phone stores it (landscape, turned by irot), an AVIF with alpha, and a grid
// of 2 rows of 3 tiles cropped to 170 × 120.
TEST_F(HeifFile, CommittedPicturesAreUpright) {
    const std::string folder = MURALTO_TEST_PICTURES;
    ASSERT_TRUE(convert(folder + "/portrait.heic", target));
    Picture portrait = written().picture();
    EXPECT_EQ(64u, portrait.width);
    EXPECT_EQ(96u, portrait.height);
    expectUprightQuadrants(portrait, 40);

    ASSERT_TRUE(convert(folder + "/quadrants-12bit-alpha.avif", target));
    Picture avif = written().picture();
    EXPECT_EQ(64u, avif.width);
    EXPECT_EQ(64u, avif.height);
    // Opaque on the left, transparent (black) on the right.
    EXPECT_TRUE(closeTo(kRed, avif.at(4, 16), 40));
    EXPECT_TRUE(closeTo(kBlue, avif.at(4, 48), 40));
    EXPECT_TRUE(closeTo({0, 0, 0}, avif.at(60, 16), 8));

    ASSERT_TRUE(convert(folder + "/grid.heic", target));
    Picture grid = written().picture();
    ASSERT_EQ(170u, grid.width);
    ASSERT_EQ(120u, grid.height);
    const Rgb tiles[] = {kRed, kGreen, kBlue, kWhite, {0, 0, 0}, {128, 128, 128}};
    for (uint32_t i = 0; i < 6; ++i)
        EXPECT_TRUE(closeTo(tiles[i], grid.at(i % 3 * 64 + 20, i / 3 * 64 + 20), 16)) << i;
}

} // namespace

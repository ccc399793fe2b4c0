// Writes the committed HEIF pictures (tests/fuzz/heif_seeds) that the tests under Wine, the
// journeys and the fuzz target read, where no encoder runs. Built natively on request:
//   cmake --build build/native --target make_heif_pictures
//   build/native/tests/imaging/make_heif_pictures tests/fuzz/heif_seeds
#include <stdio.h>

#include "imaging_fixture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_heif_pictures FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    // Upright, a 64 × 96 portrait of the four quadrants; stored turned a quarter left, as the
    // phone's sensor saw it, with orientation 6 (irot) turning it back.
    const Picture upright = quadrants(64, 96);
    Picture stored(96, 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 96; ++x) stored.set(x, y, upright.at(63 - y, x));
    // Opaque on the left half, transparent on the right.
    std::vector<uint8_t> alpha;
    for (uint32_t i = 0; i < 64 * 64; ++i) alpha.push_back(i % 64 < 32 ? 255 : 0);
    // A phone's large photo: 2 rows of 3 tiles, the right and bottom ones cropped.
    const std::vector<Rgb> tiles = {kRed, kGreen, kBlue, kWhite, {0, 0, 0}, {128, 128, 128}};
    const HeifGrid grid = {3, 2, 64, 170, 120, tiles, false, false};
    bool ok = writeHeif(folder + "/portrait.heic", stored, {}, {false, 8, true, 6}) &&
              writeHeif(folder + "/quadrants.heic", quadrants(64, 64), {}, {false, 8, false}) &&
              writeHeif(folder + "/quadrants-12bit-alpha.avif", quadrants(64, 64), alpha,
                        {true, 12, false}) &&
              writeHeifGrid(folder + "/grid.heic", grid);
    if (!ok) fprintf(stderr, "make_heif_pictures: encoding failed\n");
    return ok ? 0 : 1;
}

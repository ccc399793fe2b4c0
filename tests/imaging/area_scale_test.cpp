// The preview scaler against the exact area average, worked out here in floating point.
#include <math.h>

#include <vector>

#include "area_scale.h"
#include "imaging_fixture.h"

namespace {

struct Rows {
    const Picture* picture;
    std::vector<uint8_t> bgr;
    int asked = -1;
};

const uint8_t* topDown(void* context, int row) {
    Rows* rows = static_cast<Rows*>(context);
    EXPECT_GT(row, rows->asked) << "rows asked out of order or twice";
    rows->asked = row;
    const Picture& p = *rows->picture;
    rows->bgr.resize(3 * p.width);
    for (uint32_t x = 0; x < p.width; ++x) {
        Rgb c = p.at(x, row);
        rows->bgr[3 * x] = c.b, rows->bgr[3 * x + 1] = c.g, rows->bgr[3 * x + 2] = c.r;
    }
    return rows->bgr.data();
}

// Red, green, blue per pixel, as the reference lists them.
std::vector<uint8_t> scaled(const Picture& picture, int width, int height) {
    Rows rows = {&picture, {}};
    std::vector<uint8_t> bgr(3 * width * height + 1, 0xEE); // one byte past the end
    EXPECT_TRUE(scaleByArea(topDown, &rows, picture.width, picture.height, bgr.data(), width,
                            height, 3 * width));
    EXPECT_EQ(0xEE, bgr.back()) << "written past the last row";
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]});
    return rgb;
}

TEST(AreaScale, EachPixelIsTheRoundedMeanOfItsArea) {
    const struct {
        uint32_t width, height;
        int outWidth, outHeight;
    } cases[] = {
        {8, 6, 4, 3},         {7, 5, 3, 2},        {1, 1, 151, 112}, {10, 1, 3, 1},
        {1, 10, 1, 4},        {13, 11, 5, 17},     {2, 3, 5, 7},     {151, 112, 151, 112},
        {300, 200, 151, 112}, {997, 13, 151, 112},
    };
    for (const auto& c : cases) {
        Picture picture = noise(c.width, c.height);
        std::vector<uint8_t> ours = scaled(picture, c.outWidth, c.outHeight);
        std::vector<double> exact = exactAreaAverage(picture, c.outWidth, c.outHeight);
        ASSERT_EQ(exact.size(), ours.size());
        int wrong = 0;
        for (size_t i = 0; i < ours.size(); ++i) {
            double error = fabs(ours[i] - exact[i]);
            bool tie = fabs(exact[i] - floor(exact[i]) - 0.5) < 1e-6;
            if (error > 0.5 + 1e-6 || (!tie && ours[i] != uint8_t(floor(exact[i] + 0.5)))) {
                if (++wrong <= 3)
                    ADD_FAILURE() << c.width << "x" << c.height << " -> " << c.outWidth << "x"
                                  << c.outHeight << " sample " << i << ": " << int(ours[i])
                                  << " for " << exact[i];
            }
        }
        EXPECT_EQ(0, wrong) << c.width << "x" << c.height;
        if (c.width == uint32_t(c.outWidth) && c.height == uint32_t(c.outHeight)) {
            EXPECT_EQ(picture.rgb, ours) << "the same size is a copy";
        }
    }
}

TEST(AreaScale, AZonePlateKeepsItsRingsWherePointSamplingMakesMoire) {
    Picture plate = zonePlate(1600, 1200);
    std::vector<double> exact = exactAreaAverage(plate, 151, 112);
    double ours = psnr(exact, scaled(plate, 151, 112));
    std::vector<uint8_t> sampled;
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 151; ++x) {
            Rgb p = plate.at(x * 1600 / 151, y * 1200 / 112);
            sampled.insert(sampled.end(), {p.r, p.g, p.b});
        }
    printf("zone plate 1600 x 1200 -> 151 x 112: PSNR %.1f dB (point sampling %.1f dB)\n", ours,
           psnr(exact, sampled));
    EXPECT_GE(ours, 40.0);
}

TEST(AreaScale, RefusesWhatItCannotScale) {
    Picture picture = noise(4, 4);
    Rows rows = {&picture, {}};
    uint8_t out[3 * 4 * 4];
    EXPECT_FALSE(scaleByArea(topDown, &rows, 4, 4, out, 0, 4, 12));
    EXPECT_FALSE(scaleByArea(topDown, &rows, 0, 4, out, 4, 4, 12));
    EXPECT_FALSE(scaleByArea([](void*, int) -> const uint8_t* { return nullptr; }, nullptr, 4, 4,
                             out, 2, 2, 6))
        << "a missing row";
}

} // namespace

// The composed desktop against a reckoning of its own, in floating point: for each pixel of the
// virtual screen, the monitor it lies on, where the mode puts the picture there, and the mean
// (shrinking) or bilinear blend (growing) of the picture's pixels it stands for.
#include <math.h>

#include <vector>

#include "desktop_composition.h"
#include "imaging_fixture.h"

using imaging::ScreenRect;

namespace {

const char* const kModeNames[] = {"centred", "tiled", "stretched", "fit", "fill"};

// Weights of the picture's pixels for output pixel o of `out`, from `source` pixels.
std::vector<double> axisWeights(int source, int out, int o) {
    std::vector<double> w(source, 0.0);
    double ratio = double(source) / out;
    if (source > out) {
        double from = o * ratio, to = (o + 1) * ratio;
        for (int s = 0; s < source; ++s) {
            double overlap = fmin(to, s + 1.0) - fmax(from, double(s));
            if (overlap > 0) w[s] = overlap / ratio;
        }
    } else {
        double centre = fmin(fmax((o + 0.5) * ratio - 0.5, 0.0), source - 1.0);
        int s = int(floor(centre));
        double part = centre - s;
        w[s] = 1 - part;
        if (part > 0) w[s + 1] = part;
    }
    return w;
}

// Gaps split toward the right and bottom: C++'s division's truncation, reckoned here.
int halfGap(double gap) { return int(trunc(gap / 2)); }

// The colour expected at (x, y) of a monitor showing the picture in the mode; false for black.
bool expectedAt(const Picture& p, int mode, int mw, int mh, int x, int y, double rgb[3]) {
    int pw = int(p.width), ph = int(p.height);
    int left = 0, top = 0, w = mw, h = mh;                 // where the scaled crop lands
    int cropLeft = 0, cropTop = 0, cropW = pw, cropH = ph; // what of the picture it shows
    if (mode == imaging::kPlaceCentre || mode == imaging::kPlaceTile) {
        int px = x - (mode == imaging::kPlaceCentre ? halfGap(mw - pw) : 0);
        int py = y - (mode == imaging::kPlaceCentre ? halfGap(mh - ph) : 0);
        if (mode == imaging::kPlaceTile) px %= pw, py %= ph;
        if (px < 0 || py < 0 || px >= pw || py >= ph) return false;
        Rgb c = p.at(px, py);
        rgb[0] = c.r, rgb[1] = c.g, rgb[2] = c.b;
        return true;
    }
    if (mode == imaging::kPlaceFit) {
        double s = fmin(double(mw) / pw, double(mh) / ph);
        w = int(lround(pw * s)), h = int(lround(ph * s));
        left = halfGap(mw - w), top = halfGap(mh - h);
    } else if (mode == imaging::kPlaceFill) {
        double s = fmax(double(mw) / pw, double(mh) / ph);
        cropW = int(lround(mw / s)), cropH = int(lround(mh / s));
        cropLeft = halfGap(pw - cropW), cropTop = halfGap(ph - cropH);
    }
    if (x < left || y < top || x >= left + w || y >= top + h) return false;
    std::vector<double> wx = axisWeights(cropW, w, x - left), wy = axisWeights(cropH, h, y - top);
    rgb[0] = rgb[1] = rgb[2] = 0;
    for (int sy = 0; sy < cropH; ++sy) {
        if (wy[sy] == 0) continue;
        for (int sx = 0; sx < cropW; ++sx) {
            if (wx[sx] == 0) continue;
            Rgb c = p.at(cropLeft + sx, cropTop + sy);
            rgb[0] += wx[sx] * wy[sy] * c.r, rgb[1] += wx[sx] * wy[sy] * c.g;
            rgb[2] += wx[sx] * wy[sy] * c.b;
        }
    }
    return true;
}

const uint8_t kUntouched = 0x77;

struct Layout {
    const char* name;
    std::vector<ScreenRect> monitors;
};

} // namespace

TEST(DesktopComposition, EveryModeOnEveryLayoutPlacesEachPixel) {
    const Layout layouts[] = {
        {"one monitor", {{0, 0, 40, 30}}},
        {"second left of and above the primary", {{0, 0, 64, 48}, {-40, -12, 40, 30}}},
        {"three, one portrait", {{0, 0, 48, 36}, {48, -10, 27, 48}, {-32, 20, 32, 24}}},
        {"portrait primary, one below", {{0, 0, 30, 52}, {-5, 52, 44, 20}}},
    };
    // Shrinking on both axes, growing on both, and shrinking on one while growing on the other.
    const Picture pictures[] = {photoLike(101, 67), photoLike(13, 9), photoLike(20, 70)};
    int checked = 0;
    for (const Layout& layout : layouts) {
        ScreenRect screen =
            imaging::virtualScreen(layout.monitors.data(), int(layout.monitors.size()));
        for (int turn = 0; turn < 5; ++turn) {
            std::vector<uint8_t> canvasBytes(size_t(screen.width) * screen.height * 3 + 1,
                                             kUntouched);
            imaging::DesktopCanvas canvas = {canvasBytes.data(), screen.width, screen.height,
                                             3 * screen.width,   screen.left,  screen.top};
            std::vector<std::vector<uint8_t>> keep;
            for (size_t m = 0; m < layout.monitors.size(); ++m) {
                const Picture& p = pictures[(m + turn) % 3];
                keep.push_back(bgrOf(p));
                imaging::PixelsView view = {keep.back().data(), int(p.width), int(p.height),
                                            3 * int(p.width)};
                ASSERT_TRUE(
                    imaging::drawMonitor(canvas, layout.monitors[m], view, int((m + turn) % 5)));
            }
            EXPECT_EQ(kUntouched, canvasBytes.back()) << layout.name << ": written past the end";
            int wrong = 0;
            for (int y = 0; y < screen.height; ++y)
                for (int x = 0; x < screen.width; ++x) {
                    const uint8_t* got = &canvasBytes[(size_t(y) * screen.width + x) * 3];
                    int vx = x + screen.left, vy = y + screen.top;
                    double want[3] = {kUntouched, kUntouched, kUntouched}; // off every monitor
                    size_t m = 0;
                    for (; m < layout.monitors.size(); ++m) {
                        const ScreenRect& r = layout.monitors[m];
                        if (vx < r.left || vy < r.top || vx >= r.left + r.width ||
                            vy >= r.top + r.height)
                            continue;
                        if (!expectedAt(pictures[(m + turn) % 3], int((m + turn) % 5), r.width,
                                        r.height, vx - r.left, vy - r.top, want))
                            want[0] = want[1] = want[2] = 0;
                        break;
                    }
                    // Weights kept in 12 bits each way round to at most one level off.
                    for (int c = 0; c < 3; ++c)
                        if (fabs(got[2 - c] - want[c]) > 1.0 && ++wrong <= 3)
                            ADD_FAILURE()
                                << layout.name << ", turn " << turn << ": (" << vx << ", " << vy
                                << ") on monitor " << m << " "
                                << (m < layout.monitors.size() ? kModeNames[(m + turn) % 5]
                                                               : "none")
                                << ", channel " << c << ": " << int(got[2 - c]) << " for "
                                << want[c];
                    ++checked;
                }
            EXPECT_EQ(0, wrong) << layout.name << ", turn " << turn;
        }
    }
    EXPECT_GT(checked, 40000);
}

// Scaling must not band a flat colour: each pixel's weights add up exactly, whatever the ratio.
TEST(DesktopComposition, FlatColourStaysExactAtAnyScale) {
    const struct {
        int pictureWidth, pictureHeight;
        ScreenRect monitor;
    } cases[] = {{997, 3, {0, 0, 7, 5}},
                 {3, 2, {-9, -4, 31, 17}},
                 {4000, 1, {0, 0, 3, 1}},
                 {60, 40, {0, 0, 61, 39}}};
    for (const auto& c : cases) {
        std::vector<uint8_t> flat(size_t(c.pictureWidth) * c.pictureHeight * 3);
        for (size_t i = 0; i < flat.size(); ++i) flat[i] = uint8_t(201 + i % 3 * 23);
        imaging::PixelsView view = {flat.data(), c.pictureWidth, c.pictureHeight,
                                    3 * c.pictureWidth};
        for (int mode : {imaging::kPlaceStretch, imaging::kPlaceFill}) {
            std::vector<uint8_t> out(size_t(c.monitor.width) * c.monitor.height * 3);
            imaging::DesktopCanvas canvas = {out.data(),          c.monitor.width, c.monitor.height,
                                             3 * c.monitor.width, c.monitor.left,  c.monitor.top};
            ASSERT_TRUE(imaging::drawMonitor(canvas, c.monitor, view, mode));
            for (size_t i = 0; i < out.size(); ++i)
                ASSERT_EQ(201 + i % 3 * 23, out[i])
                    << c.pictureWidth << "x" << c.pictureHeight << " " << kModeNames[mode];
        }
    }
}

TEST(DesktopComposition, AnEmptyPictureLeavesItsMonitorBlackAndFails) {
    ScreenRect monitors[] = {{0, 0, 4, 2}, {4, 0, 2, 2}};
    ScreenRect screen = imaging::virtualScreen(monitors, 2);
    EXPECT_EQ(6, screen.width);
    std::vector<uint8_t> out(6 * 2 * 3, kUntouched);
    imaging::DesktopCanvas canvas = {out.data(), 6, 2, 18, 0, 0};
    imaging::PixelsView empty = {nullptr, 0, 0, 0};
    EXPECT_FALSE(imaging::drawMonitor(canvas, monitors[0], empty, imaging::kPlaceFill));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 18; ++x)
            EXPECT_EQ(x < 12 ? 0 : kUntouched, out[y * 18 + x]) << x << ", " << y;
}

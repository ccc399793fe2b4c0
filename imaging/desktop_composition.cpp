#include "desktop_composition.h"

#include <stdlib.h>
#include <string.h>

namespace imaging {

namespace {

// Each output pixel's weights along one axis add up to 2^12, so the two axes together give
// 255 * 2^24 at most: 32 bits across, 64 for the sum of a row.
const int kWeightBits = 12;
const int kWeightTotal = 1 << kWeightBits;

struct Tap {
    int source; // relative to the first source pixel of the axis
    int weight;
};

// Where each of `out` pixels takes its value from among `source` pixels.
struct AxisTaps {
    int* first; // out + 1 entries: output pixel o's taps are taps[first[o]] to taps[first[o + 1]]
    Tap* taps;
};

void releaseTaps(AxisTaps* axis) {
    free(axis->first);
    free(axis->taps);
}

// Shrinking: source pixel s covers [s * out, (s + 1) * out) and output pixel o covers
// [o * source, (o + 1) * source), so the overlaps are whole numbers adding up to `source`.
// Growing: output pixel o's centre falls at (o + 0.5) * source / out - 0.5 in source pixels,
// held to the picture, and the two pixels around it share it.
bool makeTaps(int64_t source, int64_t out, AxisTaps* axis) {
    const bool shrinks = source > out;
    const int64_t most = shrinks ? source / out + 2 : 2;
    axis->first = static_cast<int*>(malloc(sizeof(int) * static_cast<size_t>(out + 1)));
    axis->taps = static_cast<Tap*>(malloc(sizeof(Tap) * static_cast<size_t>(most * out)));
    if (axis->first == nullptr || axis->taps == nullptr) {
        releaseTaps(axis);
        return false;
    }
    int count = 0;
    for (int64_t o = 0; o < out; ++o) {
        axis->first[o] = count;
        if (shrinks) {
            // Weights from rounded running sums: they add up to the total exactly.
            int64_t from = o * source, to = (o + 1) * source;
            for (int64_t s = from / out; s * out < to; ++s) {
                int64_t low = s * out > from ? s * out : from;
                int64_t high = (s + 1) * out < to ? (s + 1) * out : to;
                int64_t w = ((high - from) * kWeightTotal + source / 2) / source -
                            ((low - from) * kWeightTotal + source / 2) / source;
                axis->taps[count++] = {static_cast<int>(s), static_cast<int>(w)};
            }
        } else {
            int64_t numerator = (2 * o + 1) * source - out, denominator = 2 * out;
            int64_t s = numerator > 0 ? numerator / denominator : 0;
            int64_t part =
                numerator > 0 ? (numerator % denominator) * kWeightTotal / denominator : 0;
            if (s >= source - 1) s = source - 1, part = 0;
            axis->taps[count++] = {static_cast<int>(s), static_cast<int>(kWeightTotal - part)};
            if (part > 0) axis->taps[count++] = {static_cast<int>(s + 1), static_cast<int>(part)};
        }
    }
    axis->first[out] = count;
    return true;
}

// The part of the canvas a rectangle of the virtual screen covers, clipped to it and to a
// bound (the monitor).
struct Span {
    int from, to; // canvas coordinates, to excluded
};

Span clipped(int start, int length, int canvasStart, int canvasLength, int boundStart,
             int boundLength) {
    int64_t from = start, to = static_cast<int64_t>(start) + length;
    if (from < boundStart) from = boundStart;
    if (to > static_cast<int64_t>(boundStart) + boundLength) to = boundStart + boundLength;
    from -= canvasStart, to -= canvasStart;
    if (from < 0) from = 0;
    if (to > canvasLength) to = canvasLength;
    if (to < from) to = from;
    return {static_cast<int>(from), static_cast<int>(to)};
}

uint8_t* canvasPixel(const DesktopCanvas& canvas, int x, int y) {
    return canvas.bgr + y * canvas.stride + 3 * static_cast<ptrdiff_t>(x);
}

// The picture at its own size with its top left corner at (left, top) of the virtual screen,
// repeated across and down from there when tiled; only the part within the monitor is drawn.
void copyPlaced(const DesktopCanvas& canvas, const ScreenRect& monitor, const PixelsView& picture,
                int left, int top, bool tiled) {
    Span xs = clipped(monitor.left, monitor.width, canvas.left, canvas.width, monitor.left,
                      monitor.width);
    Span ys = clipped(monitor.top, monitor.height, canvas.top, canvas.height, monitor.top,
                      monitor.height);
    for (int y = ys.from; y < ys.to; ++y) {
        int64_t py = static_cast<int64_t>(y) + canvas.top - top;
        if (tiled) py %= picture.height;
        if (py < 0 || py >= picture.height) continue;
        const uint8_t* row = picture.bgr + py * picture.stride;
        int x = xs.from;
        while (x < xs.to) {
            int64_t px = static_cast<int64_t>(x) + canvas.left - left;
            if (tiled) px %= picture.width;
            if (px >= picture.width) break;
            if (px < 0) {
                x = static_cast<int>(x - px);
                continue;
            }
            int64_t run = picture.width - px;
            if (run > xs.to - x) run = xs.to - x;
            memcpy(canvasPixel(canvas, x, y), row + 3 * px, static_cast<size_t>(3 * run));
            x += static_cast<int>(run);
            if (!tiled) break;
        }
    }
}

// The picture's crop (cropLeft, cropTop, cropWidth x cropHeight) scaled to a rectangle of the
// virtual screen, the part within the monitor drawn. Source columns are summed down first for
// each output row, then resized across.
bool drawScaled(const DesktopCanvas& canvas, const ScreenRect& monitor, const PixelsView& picture,
                int cropLeft, int cropTop, int cropWidth, int cropHeight, const ScreenRect& to) {
    Span xs = clipped(to.left, to.width, canvas.left, canvas.width, monitor.left, monitor.width);
    Span ys = clipped(to.top, to.height, canvas.top, canvas.height, monitor.top, monitor.height);
    if (xs.from == xs.to || ys.from == ys.to) return true;
    AxisTaps across = {}, down = {};
    uint32_t* columns = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * 3 * cropWidth));
    bool ok = columns != nullptr && makeTaps(cropWidth, to.width, &across) &&
              makeTaps(cropHeight, to.height, &down);
    if (ok) {
        const int outLeft = to.left - canvas.left, outTop = to.top - canvas.top;
        for (int y = ys.from; y < ys.to; ++y) {
            const int o = y - outTop;
            memset(columns, 0, sizeof(uint32_t) * 3 * cropWidth);
            for (int t = down.first[o]; t < down.first[o + 1]; ++t) {
                const uint32_t w = static_cast<uint32_t>(down.taps[t].weight);
                const uint8_t* p = picture.bgr + (cropTop + down.taps[t].source) * picture.stride +
                                   3 * static_cast<ptrdiff_t>(cropLeft);
                for (int i = 0; i < 3 * cropWidth; ++i) columns[i] += w * p[i];
            }
            uint8_t* out = canvasPixel(canvas, xs.from, y);
            for (int x = xs.from; x < xs.to; ++x, out += 3) {
                const int ox = x - outLeft;
                uint64_t b = 0, g = 0, r = 0;
                for (int t = across.first[ox]; t < across.first[ox + 1]; ++t) {
                    const uint64_t w = static_cast<uint64_t>(across.taps[t].weight);
                    const uint32_t* c = columns + 3 * across.taps[t].source;
                    b += w * c[0], g += w * c[1], r += w * c[2];
                }
                const uint64_t half = uint64_t(1) << (2 * kWeightBits - 1);
                out[0] = static_cast<uint8_t>((b + half) >> (2 * kWeightBits));
                out[1] = static_cast<uint8_t>((g + half) >> (2 * kWeightBits));
                out[2] = static_cast<uint8_t>((r + half) >> (2 * kWeightBits));
            }
        }
    }
    free(columns);
    releaseTaps(&across);
    releaseTaps(&down);
    return ok;
}

// a * b / c rounded to the nearest, at least 1.
int scaledSide(int64_t a, int64_t b, int64_t c) {
    int64_t side = (2 * a * b + c) / (2 * c);
    return side < 1 ? 1 : static_cast<int>(side);
}

void clearMonitor(const DesktopCanvas& canvas, const ScreenRect& monitor) {
    Span xs = clipped(monitor.left, monitor.width, canvas.left, canvas.width, monitor.left,
                      monitor.width);
    Span ys = clipped(monitor.top, monitor.height, canvas.top, canvas.height, monitor.top,
                      monitor.height);
    for (int y = ys.from; y < ys.to; ++y)
        memset(canvasPixel(canvas, xs.from, y), 0, static_cast<size_t>(3 * (xs.to - xs.from)));
}

} // namespace

ScreenRect virtualScreen(const ScreenRect* monitors, int count) {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        const ScreenRect& m = monitors[i];
        if (m.width <= 0 || m.height <= 0) continue;
        int64_t r = static_cast<int64_t>(m.left) + m.width;
        int64_t b = static_cast<int64_t>(m.top) + m.height;
        if (!any || m.left < left) left = m.left;
        if (!any || m.top < top) top = m.top;
        if (!any || r > right) right = r;
        if (!any || b > bottom) bottom = b;
        any = true;
    }
    if (!any) return {0, 0, 0, 0};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

bool drawMonitor(const DesktopCanvas& canvas, const ScreenRect& monitor, const PixelsView& picture,
                 int mode) {
    if (monitor.width <= 0 || monitor.height <= 0) return true;
    clearMonitor(canvas, monitor);
    if (picture.bgr == nullptr || picture.width <= 0 || picture.height <= 0) return false;
    const int64_t pw = picture.width, ph = picture.height, mw = monitor.width, mh = monitor.height;
    switch (mode) {
    case kPlaceTile:
        copyPlaced(canvas, monitor, picture, monitor.left, monitor.top, true);
        return true;
    case kPlaceStretch:
        return drawScaled(canvas, monitor, picture, 0, 0, picture.width, picture.height, monitor);
    case kPlaceFit: {
        // The wider of the two proportions decides which sides meet.
        int w = monitor.width, h = monitor.height;
        if (pw * mh >= ph * mw)
            h = scaledSide(ph, mw, pw);
        else
            w = scaledSide(pw, mh, ph);
        ScreenRect to = {monitor.left + (monitor.width - w) / 2,
                         monitor.top + (monitor.height - h) / 2, w, h};
        return drawScaled(canvas, monitor, picture, 0, 0, picture.width, picture.height, to);
    }
    case kPlaceFill: {
        int w = picture.width, h = picture.height;
        if (pw * mh > ph * mw)
            w = scaledSide(ph, mw, mh);
        else
            h = scaledSide(pw, mh, mw);
        return drawScaled(canvas, monitor, picture, (picture.width - w) / 2,
                          (picture.height - h) / 2, w, h, monitor);
    }
    default:
        copyPlaced(canvas, monitor, picture, monitor.left + (monitor.width - picture.width) / 2,
                   monitor.top + (monitor.height - picture.height) / 2, false);
        return true;
    }
}

} // namespace imaging

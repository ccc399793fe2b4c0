#include "desktop_composition.h"

#include <stdlib.h>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace imaging {

namespace {

// Each output pixel's weights along one axis add up to 2^12. The down pass sums bytes into 32
// bits (255 * 2^12 at most), then keeps them as 16-bit values with 7 bits below the level
// (255 * 2^7 at most), which the across pass weighs again: 2^19 per level, within 32 bits.
const int kWeightBits = 12;
const int kWeightTotal = 1 << kWeightBits;
const int kNarrowBits = 5;                             // dropped between the two passes
const int kResultBits = 2 * kWeightBits - kNarrowBits; // what the across pass divides by

// Where each of `out` pixels takes its value from among `source` pixels: `count` neighbours
// from first[o], the same count for every output pixel (zero weights where it needs fewer), so
// the loops that apply them have one shape. `stride` is count rounded up to even: the taps are
// applied two at a time.
struct AxisTaps {
    int count, stride;
    int* first;       // out entries, relative to the axis' first source pixel
    uint16_t* weight; // out * stride entries
};

void releaseTaps(AxisTaps* axis) {
    free(axis->first);
    free(axis->weight);
}

// Shrinking: source pixel s covers [s * out, (s + 1) * out) and output pixel o covers
// [o * source, (o + 1) * source), so the overlaps are whole numbers adding up to `source`.
// Growing: output pixel o's centre falls at (o + 0.5) * source / out - 0.5 in source pixels,
// held to the picture, and the two pixels around it share it.
bool makeTaps(int64_t source, int64_t out, AxisTaps* axis) {
    const bool shrinks = source > out;
    int64_t count = shrinks ? source / out + 2 : 2;
    if (count > source) count = source;
    axis->count = static_cast<int>(count);
    axis->stride = static_cast<int>((count + 1) & ~int64_t(1));
    axis->first = static_cast<int*>(malloc(sizeof(int) * static_cast<size_t>(out)));
    axis->weight =
        static_cast<uint16_t*>(calloc(static_cast<size_t>(axis->stride * out), sizeof(uint16_t)));
    if (axis->first == nullptr || axis->weight == nullptr) {
        releaseTaps(axis);
        return false;
    }
    for (int64_t o = 0; o < out; ++o) {
        int64_t begin = 0, end = 0, part = 0;
        if (shrinks) {
            begin = o * source / out;
            end = ((o + 1) * source + out - 1) / out;
        } else {
            int64_t numerator = (2 * o + 1) * source - out, denominator = 2 * out;
            begin = numerator > 0 ? numerator / denominator : 0;
            part = numerator > 0 ? (numerator % denominator) * kWeightTotal / denominator : 0;
            if (begin >= source - 1) begin = source - 1, part = 0;
            end = begin + 1;
        }
        // The taps start early enough to end within the picture.
        const int64_t first = begin + count <= source ? begin : source - count;
        axis->first[o] = static_cast<int>(first);
        uint16_t* weight = axis->weight + o * axis->stride - first;
        if (shrinks) {
            // Weights from rounded running sums: they add up to the total exactly.
            const int64_t from = o * source, to = (o + 1) * source;
            for (int64_t s = begin; s < end; ++s) {
                int64_t low = s * out > from ? s * out : from;
                int64_t high = (s + 1) * out < to ? (s + 1) * out : to;
                weight[s] =
                    static_cast<uint16_t>(((high - from) * kWeightTotal + source / 2) / source -
                                          ((low - from) * kWeightTotal + source / 2) / source);
            }
        } else {
            weight[begin] = static_cast<uint16_t>(kWeightTotal - part);
            if (part > 0) weight[begin + 1] = static_cast<uint16_t>(part);
        }
    }
    return true;
}

// The down pass for one output row: its source rows weighed and summed, two at a time (SSE2
// multiplies 16-bit pairs and adds them into 32 bits), then narrowed to 16 bits.
void sumDown(const uint8_t* top, ptrdiff_t rowStride, const uint16_t* weight, int count, int n,
             uint32_t* __restrict wide, int16_t* __restrict narrow) {
    for (int t = 0; t < count; t += 2) {
        const uint8_t* a = top + t * rowStride;
        const uint8_t* b = t + 1 < count ? a + rowStride : a; // an odd last row weighs 0
        const uint32_t wa = weight[t], wb = t + 1 < count ? weight[t + 1] : 0;
        int i = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i weights = _mm_set1_epi32(static_cast<int>(wb << 16 | wa));
        for (; i + 16 <= n; i += 16) {
            const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
            const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            const __m128i pairs[2] = {_mm_unpacklo_epi8(va, vb), _mm_unpackhi_epi8(va, vb)};
            __m128i* out = reinterpret_cast<__m128i*>(wide + i);
            for (int h = 0; h < 2; ++h) {
                __m128i low = _mm_madd_epi16(_mm_unpacklo_epi8(pairs[h], zero), weights);
                __m128i high = _mm_madd_epi16(_mm_unpackhi_epi8(pairs[h], zero), weights);
                if (t > 0) {
                    low = _mm_add_epi32(low, _mm_loadu_si128(out + 2 * h));
                    high = _mm_add_epi32(high, _mm_loadu_si128(out + 2 * h + 1));
                }
                _mm_storeu_si128(out + 2 * h, low);
                _mm_storeu_si128(out + 2 * h + 1, high);
            }
        }
#endif
        for (; i < n; ++i) wide[i] = (t > 0 ? wide[i] : 0) + wa * a[i] + wb * b[i];
    }
    const uint32_t half = 1u << (kNarrowBits - 1);
    for (int i = 0; i < n; ++i) narrow[i] = static_cast<int16_t>((wide[i] + half) >> kNarrowBits);
}

// The across pass for one output row, pixels from to `to`: each from `count` neighbouring
// pixels of the narrowed sums, which hold 3 * (2 + stride) spare zeros past their end, since
// the taps are applied two pixels at a time and SSE2 loads four values for a pixel's three.
void sumAcross(const int16_t* sums, const AxisTaps& across, int from, int to, uint8_t* out) {
    const int32_t half = 1 << (kResultBits - 1);
    for (int o = from; o < to; ++o, out += 3) {
        const int16_t* c = sums + 3 * across.first[o];
        const uint16_t* w = across.weight + static_cast<ptrdiff_t>(o) * across.stride;
#if defined(__SSE2__)
        __m128i sum = _mm_set1_epi32(half);
        for (int t = 0; t < across.stride; t += 2, c += 6) {
            // (b, g, r, next) of two neighbours, interleaved: b0 b1 g0 g1 r0 r1 x x.
            const __m128i pair =
                _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c)),
                                   _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + 3)));
            const __m128i weights =
                _mm_set1_epi32(static_cast<int>(uint32_t(w[t + 1]) << 16 | w[t]));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(pair, weights));
        }
        sum = _mm_srai_epi32(sum, kResultBits);
        sum = _mm_packus_epi16(_mm_packs_epi32(sum, sum), sum);
        const uint32_t bgr = static_cast<uint32_t>(_mm_cvtsi128_si32(sum));
        out[0] = static_cast<uint8_t>(bgr), out[1] = static_cast<uint8_t>(bgr >> 8);
        out[2] = static_cast<uint8_t>(bgr >> 16);
#else
        int32_t b = half, g = half, r = half;
        for (int t = 0; t < across.count; ++t, c += 3)
            b += w[t] * c[0], g += w[t] * c[1], r += w[t] * c[2];
        out[0] = static_cast<uint8_t>(b >> kResultBits);
        out[1] = static_cast<uint8_t>(g >> kResultBits);
        out[2] = static_cast<uint8_t>(r >> kResultBits);
#endif
    }
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
// virtual screen, the part within the monitor drawn. For each output row the crop's columns are
// summed down first, then resized across.
bool drawScaled(const DesktopCanvas& canvas, const ScreenRect& monitor, const PixelsView& picture,
                int cropLeft, int cropTop, int cropWidth, int cropHeight, const ScreenRect& to) {
    Span xs = clipped(to.left, to.width, canvas.left, canvas.width, monitor.left, monitor.width);
    Span ys = clipped(to.top, to.height, canvas.top, canvas.height, monitor.top, monitor.height);
    if (xs.from == xs.to || ys.from == ys.to) return true;
    AxisTaps across = {}, down = {};
    const int n = 3 * cropWidth;
    uint32_t* wide = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * static_cast<size_t>(n)));
    bool ok = wide != nullptr && makeTaps(cropWidth, to.width, &across) &&
              makeTaps(cropHeight, to.height, &down);
    int16_t* narrow = ok ? static_cast<int16_t*>(calloc(
                               static_cast<size_t>(n + 3 * (2 + across.stride)), sizeof(int16_t)))
                         : nullptr;
    ok = ok && narrow != nullptr;
    if (ok) {
        const int outLeft = to.left - canvas.left, outTop = to.top - canvas.top;
        for (int y = ys.from; y < ys.to; ++y) {
            const int o = y - outTop;
            sumDown(picture.bgr + (cropTop + down.first[o]) * picture.stride +
                        3 * static_cast<ptrdiff_t>(cropLeft),
                    picture.stride, down.weight + static_cast<ptrdiff_t>(o) * down.stride,
                    down.count, n, wide, narrow);
            sumAcross(narrow, across, xs.from - outLeft, xs.to - outLeft,
                      canvasPixel(canvas, xs.from, y));
        }
    }
    free(wide);
    free(narrow);
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

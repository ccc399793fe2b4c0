#include "area_scale.h"

#include <stdlib.h>
#include <string.h>

namespace {

// One axis: `source` pixels shown as `out` pixels. Where it shrinks, source pixel s covers
// [s * out, (s + 1) * out) and output pixel o covers [o * source, (o + 1) * source), so the
// overlaps are whole numbers and each output pixel's weights add up to `source`.
struct Axis {
    int64_t source, out;

    bool shrinks() const { return source >= out; }
    int64_t total() const { return shrinks() ? source : 1; }
    int first(int o) const {
        if (!shrinks()) return static_cast<int>((2 * o + 1) * source / (2 * out));
        return static_cast<int>(o * source / out);
    }
    int last(int o) const {
        if (!shrinks()) return first(o);
        return static_cast<int>(((o + 1) * source - 1) / out);
    }
    int64_t weight(int o, int s) const {
        if (!shrinks()) return 1;
        int64_t low = s * out > o * source ? s * out : o * source;
        int64_t high = (s + 1) * out < (o + 1) * source ? (s + 1) * out : (o + 1) * source;
        return high - low;
    }
};

// Where each output column takes its pixels from, worked out once for all rows.
struct Column {
    int first, last;
    int64_t firstWeight, lastWeight; // the inner ones weigh `out` each
};

struct Work {
    Column* columns;
    uint32_t* rowSums; // one source row, resized across: outWidth * 3
    int64_t* sums;     // the output row being gathered: outWidth * 3
};

// Each output column's weighted sum of one source row. Where the row shrinks, the pixels inside
// a column weigh `out` each, so they are added first and multiplied once; the sums stay below
// 255 * width, which 32 bits hold for any width a bitmap can have here.
void sumAcross(const uint8_t* pixels, const Axis& across, const Column* columns, int outWidth,
               uint32_t* rowSums) {
    const uint32_t inner = static_cast<uint32_t>(across.out);
    for (int o = 0; o < outWidth; ++o) {
        const Column& c = columns[o];
        const uint8_t* p = pixels + 3 * static_cast<size_t>(c.first);
        uint32_t wf = static_cast<uint32_t>(c.firstWeight);
        uint32_t b = wf * p[0], g = wf * p[1], r = wf * p[2];
        if (c.last > c.first) {
            uint32_t ib = 0, ig = 0, ir = 0;
            for (int s = c.first + 1; s < c.last; ++s) {
                p += 3;
                ib += p[0];
                ig += p[1];
                ir += p[2];
            }
            p += 3;
            uint32_t wl = static_cast<uint32_t>(c.lastWeight);
            b += inner * ib + wl * p[0];
            g += inner * ig + wl * p[1];
            r += inner * ir + wl * p[2];
        }
        rowSums[3 * o] = b;
        rowSums[3 * o + 1] = g;
        rowSums[3 * o + 2] = r;
    }
}

void placeColumns(const Axis& across, Column* columns, int outWidth) {
    for (int o = 0; o < outWidth; ++o) {
        Column& c = columns[o];
        c.first = across.first(o);
        c.last = across.last(o);
        c.firstWeight = across.weight(o, c.first);
        c.lastWeight = across.weight(o, c.last);
    }
}

bool validSizes(int width, int height, int outWidth, int outHeight) {
    // 255 * width must fit the 32-bit row sums.
    return width > 0 && height > 0 && outWidth > 0 && outHeight > 0 && width <= 0x7FFFFF;
}

void releaseWork(Work* work) {
    free(work->columns);
    free(work->rowSums);
    free(work->sums);
}

} // namespace

bool scaleByArea(SourceRow row, void* context, int width, int height, uint8_t* out, int outWidth,
                 int outHeight, ptrdiff_t outStride) {
    if (row == nullptr || out == nullptr || !validSizes(width, height, outWidth, outHeight))
        return false;
    const Axis across = {width, outWidth};
    const Axis down = {height, outHeight};
    const size_t values = 3 * static_cast<size_t>(outWidth);
    Work work = {static_cast<Column*>(malloc(sizeof(Column) * outWidth)),
                 static_cast<uint32_t*>(malloc(sizeof(uint32_t) * values)),
                 static_cast<int64_t*>(malloc(sizeof(int64_t) * values))};
    if (work.columns == nullptr || work.rowSums == nullptr || work.sums == nullptr) {
        releaseWork(&work);
        return false;
    }
    placeColumns(across, work.columns, outWidth);

    const int64_t total = across.total() * down.total();
    int summedRow = -1; // the source row in rowSums: a row shared by two output rows is read once
    bool ok = true;
    for (int y = 0; y < outHeight && ok; ++y) {
        memset(work.sums, 0, sizeof(int64_t) * values);
        for (int s = down.first(y); s <= down.last(y); ++s) {
            if (s != summedRow) {
                const uint8_t* pixels = row(context, s);
                if (pixels == nullptr) {
                    ok = false;
                    break;
                }
                sumAcross(pixels, across, work.columns, outWidth, work.rowSums);
                summedRow = s;
            }
            int64_t w = down.weight(y, s);
            for (size_t i = 0; i < values; ++i) work.sums[i] += w * work.rowSums[i];
        }
        uint8_t* target = out + y * outStride;
        for (size_t i = 0; i < values && ok; ++i)
            target[i] = static_cast<uint8_t>((work.sums[i] + total / 2) / total);
    }
    releaseWork(&work);
    return ok;
}

bool beginAreaScale(AreaScaleStream* stream, int width, int height, int outWidth, int outHeight) {
    if (stream == nullptr) return false;
    memset(stream, 0, sizeof *stream);
    if (!validSizes(width, height, outWidth, outHeight)) return false;
    const size_t values = 3 * static_cast<size_t>(outWidth);
    Column* columns = static_cast<Column*>(malloc(sizeof(Column) * outWidth));
    stream->columns = columns;
    stream->rowSums = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * values));
    stream->rows = static_cast<int*>(malloc(2 * sizeof(int) * static_cast<size_t>(outHeight)));
    stream->sums =
        static_cast<int64_t*>(calloc(values * static_cast<size_t>(outHeight), sizeof(int64_t)));
    if (columns == nullptr || stream->rowSums == nullptr || stream->rows == nullptr ||
        stream->sums == nullptr) {
        releaseAreaScale(stream);
        return false;
    }
    stream->width = width;
    stream->height = height;
    stream->outWidth = outWidth;
    stream->outHeight = outHeight;
    placeColumns(Axis{width, outWidth}, columns, outWidth);
    const Axis down = {height, outHeight};
    for (int y = 0; y < outHeight; ++y) {
        stream->rows[2 * y] = down.first(y);
        stream->rows[2 * y + 1] = down.last(y);
    }
    return true;
}

// The sums are exact integers, so the order the rows come in changes nothing.
void addAreaScaleRow(AreaScaleStream* stream, int row, const uint8_t* pixels) {
    if (stream == nullptr || stream->sums == nullptr || pixels == nullptr || row < 0 ||
        row >= stream->height)
        return;
    const Axis across = {stream->width, stream->outWidth};
    const Axis down = {stream->height, stream->outHeight};
    sumAcross(pixels, across, static_cast<const Column*>(stream->columns), stream->outWidth,
              stream->rowSums);
    const size_t values = 3 * static_cast<size_t>(stream->outWidth);
    // The output rows this source row falls in: at most two where the picture shrinks. Their
    // first source rows never decrease, so the search ends at the first that starts below it.
    for (int y = 0; y < stream->outHeight && stream->rows[2 * y] <= row; ++y) {
        if (row > stream->rows[2 * y + 1]) continue;
        int64_t w = down.weight(y, row);
        int64_t* sums = stream->sums + values * static_cast<size_t>(y);
        for (size_t i = 0; i < values; ++i) sums[i] += w * stream->rowSums[i];
    }
    ++stream->rowsAdded;
}

bool finishAreaScale(const AreaScaleStream* stream, uint8_t* out, ptrdiff_t outStride) {
    if (stream == nullptr || stream->sums == nullptr || out == nullptr ||
        stream->rowsAdded != stream->height)
        return false;
    const Axis across = {stream->width, stream->outWidth};
    const Axis down = {stream->height, stream->outHeight};
    const int64_t total = across.total() * down.total();
    const size_t values = 3 * static_cast<size_t>(stream->outWidth);
    for (int y = 0; y < stream->outHeight; ++y) {
        const int64_t* sums = stream->sums + values * static_cast<size_t>(y);
        uint8_t* target = out + y * outStride;
        for (size_t i = 0; i < values; ++i)
            target[i] = static_cast<uint8_t>((sums[i] + total / 2) / total);
    }
    return true;
}

void releaseAreaScale(AreaScaleStream* stream) {
    if (stream == nullptr) return;
    free(stream->columns);
    free(stream->rows);
    free(stream->rowSums);
    free(stream->sums);
    stream->columns = nullptr;
    stream->rows = nullptr;
    stream->rowSums = nullptr;
    stream->sums = nullptr;
}

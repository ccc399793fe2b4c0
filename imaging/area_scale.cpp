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

namespace {

// Beyond this the columns summed down would take more memory than they save time.
const size_t MAX_COLUMN_SUMS = 64 * 1024 * 1024;

// Adds the open row's columns, resized across, to its output row's sums, and empties it.
void closeOpenRow(AreaScaleStream* stream, int slot) {
    if (stream->openRow[slot] < 0) return;
    const size_t wide = 3 * static_cast<size_t>(stream->width);
    uint32_t* columnSums = stream->columnSums + wide * static_cast<size_t>(slot);
    const Column* columns = static_cast<const Column*>(stream->columns);
    const uint64_t inner = static_cast<uint64_t>(stream->outWidth); // the across axis's `out`
    int64_t* sums =
        stream->sums + 3 * static_cast<size_t>(stream->outWidth) * stream->openRow[slot];
    for (int o = 0; o < stream->outWidth; ++o) {
        const Column& c = columns[o];
        for (int channel = 0; channel < 3; ++channel) {
            const uint32_t* p = columnSums + 3 * static_cast<size_t>(c.first) + channel;
            uint64_t total = static_cast<uint64_t>(c.firstWeight) * *p;
            if (c.last > c.first) {
                uint64_t inside = 0;
                for (int s = c.first + 1; s < c.last; ++s) inside += *(p += 3);
                total += inner * inside + static_cast<uint64_t>(c.lastWeight) * *(p += 3);
            }
            sums[3 * o + channel] += static_cast<int64_t>(total);
        }
    }
    memset(columnSums, 0, wide * sizeof(uint32_t));
    stream->openRow[slot] = -1;
    stream->openWeight[slot] = 0;
}

// The slot that gathers output row y: its own, a free one, or the one holding the row farther
// from it, closed first. Rows that come in order never close a row before it is complete.
int openSlot(AreaScaleStream* stream, int y, uint32_t weight) {
    int slot = stream->openRow[0] == y ? 0 : stream->openRow[1] == y ? 1 : -1;
    if (slot < 0) {
        int distance0 = stream->openRow[0] < 0 ? -1 : abs(stream->openRow[0] - y);
        int distance1 = stream->openRow[1] < 0 ? -1 : abs(stream->openRow[1] - y);
        slot = distance0 < 0 ? 0 : distance1 < 0 ? 1 : distance0 > distance1 ? 0 : 1;
        closeOpenRow(stream, slot);
    }
    if (stream->openWeight[slot] + static_cast<uint64_t>(weight) > 0xFFFFFFFFu / 255)
        closeOpenRow(stream, slot);
    stream->openRow[slot] = y;
    stream->openWeight[slot] += weight;
    return slot;
}

void addDown(AreaScaleStream* stream, int y, int64_t weight, const uint8_t* pixels) {
    const size_t wide = 3 * static_cast<size_t>(stream->width);
    const uint32_t w = static_cast<uint32_t>(weight);
    uint32_t* columnSums = stream->columnSums + wide * openSlot(stream, y, w);
    for (size_t i = 0; i < wide; ++i) columnSums[i] += w * pixels[i];
}

void addAcross(AreaScaleStream* stream, int y, int64_t weight) {
    const size_t values = 3 * static_cast<size_t>(stream->outWidth);
    int64_t* sums = stream->sums + values * static_cast<size_t>(y);
    for (size_t i = 0; i < values; ++i) sums[i] += weight * stream->rowSums[i];
}

} // namespace

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
    stream->openRow[0] = stream->openRow[1] = -1;
    const size_t wide = 3 * static_cast<size_t>(width);
    if (wide <= MAX_COLUMN_SUMS / (2 * sizeof(uint32_t)))
        stream->columnSums = static_cast<uint32_t*>(calloc(2 * wide, sizeof(uint32_t)));
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
    // Summed down first where there is room: resizing across then comes once per output row,
    // not once per source row.
    if (stream->columnSums == nullptr)
        sumAcross(pixels, across, static_cast<const Column*>(stream->columns), stream->outWidth,
                  stream->rowSums);
    // The output rows this source row falls in: at most two where the picture shrinks. Their
    // first source rows never decrease, so the search ends at the first that starts below it.
    for (int y = 0; y < stream->outHeight && stream->rows[2 * y] <= row; ++y) {
        if (row > stream->rows[2 * y + 1]) continue;
        if (stream->columnSums != nullptr)
            addDown(stream, y, down.weight(y, row), pixels);
        else
            addAcross(stream, y, down.weight(y, row));
    }
    if (++stream->rowsAdded == stream->height && stream->columnSums != nullptr) {
        closeOpenRow(stream, 0);
        closeOpenRow(stream, 1);
    }
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
    free(stream->columnSums);
    stream->columnSums = nullptr;
    stream->columns = nullptr;
    stream->rows = nullptr;
    stream->rowSums = nullptr;
    stream->sums = nullptr;
}

// Resizing a 24-bit picture by area averaging, for the previews. Portable.
//
// Along an axis where the picture shrinks, each output pixel is the mean of the source area it
// covers, source pixels that it covers only in part weighted by their share; along an axis
// where it grows, each output pixel takes the source pixel under its centre. All in integers:
// every build gives the same bytes, rounded to the nearest (halves up).
#ifndef MURALTO_AREA_SCALE_H
#define MURALTO_AREA_SCALE_H

#include <stddef.h>
#include <stdint.h>

// The source's rows, asked for in order from the top row, each at most once: width * 3 bytes
// (B, G, R) that stay valid until the next call; null when the row cannot be had.
typedef const uint8_t* (*SourceRow)(void* context, int row);

// Writes outWidth x outHeight pixels to out, its rows outStride bytes apart from the top one.
// False, with out incomplete, when a size is not positive, a row is missing, or the working
// rows (a few times outWidth) cannot be allocated.
bool scaleByArea(SourceRow row, void* context, int width, int height, uint8_t* out, int outWidth,
                 int outHeight, ptrdiff_t outStride);

// The same average gathered from rows handed over as they come, in any order, so that a picture
// on its way to a file is reduced without being read back: each output value keeps its sum of
// weighted source values, and the bytes at the end are those scaleByArea gives.
struct AreaScaleStream {
    int width, height, outWidth, outHeight;
    int rowsAdded;
    void* columns;     // where each output column takes its pixels from
    int* rows;         // the first and last source row of each output row
    uint32_t* rowSums; // one source row, resized across: outWidth * 3
    int64_t* sums;     // every output value: outWidth * outHeight * 3
    // The source columns of two output rows summed down, before they are resized across once
    // per output row: 2 * width * 3, or null for a picture too wide, whose rows are then
    // resized across one by one.
    uint32_t* columnSums;
    int openRow[2];         // the output row each holds, or -1
    uint32_t openWeight[2]; // the weights summed into each, kept below 2^32 / 255
};

// False, with nothing to release, when a size is not positive or memory runs short.
bool beginAreaScale(AreaScaleStream* stream, int width, int height, int outWidth, int outHeight);
// Row row (0 = the top) of width * 3 bytes (B, G, R); a row outside the picture is ignored.
void addAreaScaleRow(AreaScaleStream* stream, int row, const uint8_t* pixels);
// Writes the output as scaleByArea does; false, writing nothing, until as many rows as the
// picture has were added.
bool finishAreaScale(const AreaScaleStream* stream, uint8_t* out, ptrdiff_t outStride);
void releaseAreaScale(AreaScaleStream* stream);

#endif

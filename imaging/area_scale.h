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

#endif

// The one kind of file every picture writer produces: a Windows bitmap file with 24 bits per
// pixel, uncompressed, rows bottom-up, each pixel blue-green-red, rows padded with zeros to a
// multiple of 4 bytes. Portable: standard C file I/O only, the target's path in UTF-8
// (file_open.h).
#ifndef MURALTO_BITMAP_FILE_H
#define MURALTO_BITMAP_FILE_H

#include <stddef.h>
#include <stdint.h>

namespace imaging {

// The file header (14 bytes) and the info header (40); the pixel rows follow at once.
const uint32_t kBitmapHeadersSize = 54;

// Bytes of one row in the file: 3 × width, then 0 to 3 zero bytes.
uint64_t bitmapRowStride(uint32_t width);

// Size of the whole file, or 0 for a picture that cannot have one: no pixels, or more bytes
// than the 32-bit file-size field holds.
uint64_t bitmapFileSize(uint32_t width, uint32_t height);

// count × unit as a size_t; false when the product does not fit in memory's address range.
// Pictures have 32-bit dimensions, so their buffers are sized in 64 bits and checked here.
bool bufferSize(uint64_t count, uint64_t unit, size_t* bytes);

// Turns one row of a writer's picture (`width` pixels in that writer's format) into
// 3 × width bytes of blue, green, red.
typedef void (*BitmapRowConverter)(const uint8_t* source, uint32_t width, uint8_t* row);

// Row converters for pictures decoded as blue, green, red: a copy; and as blue, green, red,
// alpha, composited over black: each channel becomes round(channel × alpha / 255).
void copyBgr(const uint8_t* bgr, uint32_t width, uint8_t* row);
void bgraOverBlack(const uint8_t* bgra, uint32_t width, uint8_t* row);

// A picture held in memory as the writer decoded it, and how to turn it upright.
struct BitmapSource {
    uint32_t width;
    uint32_t height;
    uint32_t resolution; // the value of both resolution fields
    const uint8_t* pixels;
    size_t pitch;  // bytes from the start of one row of pixels to the next
    bool bottomUp; // row 0 of pixels is the bottom row of the picture
    // No converter leaves every pixel black (a format the writer cannot read).
    BitmapRowConverter convertRow;
    // Bytes of one pixel in pixels: the converter is given parts of rows when the picture is
    // turned by a quarter.
    uint32_t pixelBytes = 3;
    // An EXIF orientation (exif_orientation.h): the file holds the picture upright, its width
    // and height swapped for 5 to 8. Anything but 1 to 8 is taken as 1.
    uint16_t orientation = 1;
};

// The size of the file's picture: the source's, its sides swapped for orientations 5 to 8.
uint32_t uprightWidth(const BitmapSource& source);
uint32_t uprightHeight(const BitmapSource& source);

// Someone who wants the rows too (the preview), as they go into the file: begin is told the
// file's width and height first and may refuse them, which fails the write; then row is given
// each row's 3 × width bytes, bottom row (fileRow 0) first.
struct BitmapRowSink {
    bool (*begin)(void* context, uint32_t width, uint32_t height);
    void (*row)(void* context, uint32_t fileRow, const uint8_t* bgr);
    void* context;
};

// Writes the file, replacing whatever is at target, and hands its rows to rows when not null.
// False when the picture cannot have a file, when memory runs short, or when the target cannot
// be created or fully written; in the last case the partial target is removed.
bool writeBitmapFile(const char* target, const BitmapSource& source,
                     const BitmapRowSink* rows = nullptr);

// Writes a file whose rows are in memory exactly as the file holds them: bottom row first,
// bitmapRowStride(width) bytes apart, fill bytes zero. One write of the whole block, for a
// picture composed in place (the desktop of several monitors). False as writeBitmapFile, the
// partial target removed likewise.
bool writePreparedBitmapFile(const char* target, uint32_t width, uint32_t height,
                             uint32_t resolution, const uint8_t* rows);

} // namespace imaging

#endif

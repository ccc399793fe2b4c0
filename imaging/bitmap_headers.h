// Whether a file on disk is, by its headers and length, the bitmap file writeBitmapFile writes
// for a picture: a cheap check that a converted file is one the desktop can load, without
// reading its pixels; and such a file's pixels read back in one go. Portable; the path in UTF-8.
#ifndef MURALTO_BITMAP_HEADERS_H
#define MURALTO_BITMAP_HEADERS_H

#include <stdint.h>

namespace imaging {

// The headers say 24 bits, uncompressed, width x height, rows right after them, and the file
// is exactly as long as they say. The resolution fields are not looked at.
bool isWrittenBitmapFile(const char* path, uint32_t width, uint32_t height);

// The pixel rows of a file that passes that check for the width and height its own headers
// give, as they are in the file (bottom row first, bitmapRowStride(width) bytes apart), in
// memory from malloc for the caller to free. Null for any other file (other kinds of bitmap
// file included), a cut one, or when memory runs short.
uint8_t* loadWrittenBitmapFile(const char* path, uint32_t* width, uint32_t* height);

} // namespace imaging

#endif

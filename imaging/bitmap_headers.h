// Whether a file on disk is, by its headers and length, the bitmap file writeBitmapFile writes
// for a picture: a cheap check that a converted file is one the desktop can load, without
// reading its pixels. Portable; the path in UTF-8.
#ifndef MURALTO_BITMAP_HEADERS_H
#define MURALTO_BITMAP_HEADERS_H

#include <stdint.h>

namespace imaging {

// The headers say 24 bits, uncompressed, width x height, rows right after them, and the file
// is exactly as long as they say. The resolution fields are not looked at.
bool isWrittenBitmapFile(const char* path, uint32_t width, uint32_t height);

} // namespace imaging

#endif

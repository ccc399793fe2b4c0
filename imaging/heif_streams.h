// The coded pictures of a HEIF file as their own streams declare them, read before libheif sees
// the file. libheif sizes a picture by the container (each item's ispe property), but libde265
// and dav1d allocate and decode what the HEVC sequence parameters or the AV1 sequence header
// say, which nothing ties to it: 60 KB holding a 16384 × 16384 HEVC picture behind an ispe of
// 64 × 64 had libde265 allocate 1.6 GB before the size was found wrong.
#ifndef MURALTO_HEIF_STREAMS_H
#define MURALTO_HEIF_STREAMS_H

#include <stddef.h>
#include <stdint.h>

namespace imaging {

// True when every HEVC and AV1 item of the file (the picture, its tiles, alpha plane and
// thumbnails) has an ispe property and a stream whose every sequence header declares a picture
// no larger than it, each side rounded up to 64 (coded sizes are whole blocks); *codedPixels is
// then the sum of the largest picture each stream declares. False when a stream declares more,
// or when an item's size or stream cannot be found, so nothing stands unchecked.
bool codedPicturesWithinContainer(const uint8_t* file, size_t size, uint64_t* codedPixels);

} // namespace imaging

#endif

// How a camera was held: the EXIF Orientation tag (0x0112) of a picture's IFD0. Pictures are
// stored as the sensor saw them and this tag says how to turn them upright. Portable and
// self-contained: it reads bytes only.
#ifndef MURALTO_EXIF_ORIENTATION_H
#define MURALTO_EXIF_ORIENTATION_H

#include <stddef.h>
#include <stdint.h>

namespace imaging {

// The eight orientations, named by where the stored picture's first row and first column are
// seen (TIFF's names). 1 is upright as stored; 5 to 8 swap width and height.
const uint16_t kTopLeft = 1;     // as stored
const uint16_t kTopRight = 2;    // mirrored left to right
const uint16_t kBottomRight = 3; // turned by 180 degrees
const uint16_t kBottomLeft = 4;  // mirrored top to bottom
const uint16_t kLeftTop = 5;     // mirrored along the main diagonal
const uint16_t kRightTop = 6;    // to be turned 90 degrees clockwise
const uint16_t kRightBottom = 7; // mirrored along the other diagonal
const uint16_t kLeftBottom = 8;  // to be turned 90 degrees anticlockwise

// The orientation in an EXIF block: the TIFF header onwards, optionally preceded by JPEG's
// "Exif\0\0" (some PNG and WebP writers keep it). Anything missing, damaged or absurd gives
// kTopLeft: a picture is never refused for its EXIF data.
uint16_t exifOrientation(const uint8_t* block, size_t size);

// Whether a JPEG APP1 segment's payload is EXIF data: it starts with "Exif\0\0".
bool isExifSegment(const uint8_t* payload, size_t size);

// 1 to 8 as given; anything else is kTopLeft.
uint16_t validOrientation(uint32_t value);

// True for kLeftTop to kLeftBottom, where the upright picture's width is the stored height.
bool swapsSides(uint16_t orientation);

} // namespace imaging

#endif

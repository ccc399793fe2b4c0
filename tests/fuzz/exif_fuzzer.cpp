// Any bytes as an EXIF block: reading never fails unsafely (every offset and count is checked
// against the block's length, which ASan holds it to on a copy of exactly that length), the
// result is one of the eight orientations, and JPEG's "Exif\0\0" before the block changes
// nothing.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint16_t orientation = imaging::exifOrientation(data, size);
    if (orientation < 1 || orientation > 8) __builtin_trap();

    uint8_t* segment = static_cast<uint8_t*>(malloc(size + 6));
    if (segment == nullptr) return 0;
    memcpy(segment, "Exif\0\0", 6);
    if (size > 0) memcpy(segment + 6, data, size);
    if (!imaging::isExifSegment(segment, size + 6)) __builtin_trap();
    // A block that itself starts with the prefix loses it twice over, and may then differ.
    bool prefixed = size >= 6 && memcmp(data, "Exif\0\0", 6) == 0;
    if (!prefixed && imaging::exifOrientation(segment, size + 6) != orientation) __builtin_trap();
    free(segment);
    return 0;
}

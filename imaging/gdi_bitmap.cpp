// GDI bitmaps to bitmap files, through the device-dependent bits that GetBitmapBits gives:
// rows top to bottom, bmWidthBytes apart.
#include "gdi_bitmap.h"

#include <stdlib.h>
#include <string.h>

#include "bitmap_file.h"

namespace {

const uint32_t kScreenResolution = 96;

// 5-6-5 words: each colour in the high bits of its byte, the low bits left zero.
void rgb565ToBgr(const uint8_t* bits, uint32_t width, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, bits += 2, bgr += 3) {
        unsigned v = bits[0] | (bits[1] << 8);
        bgr[0] = static_cast<uint8_t>((v & 0x1F) << 3);
        bgr[1] = static_cast<uint8_t>(((v >> 5) & 0x3F) << 2);
        bgr[2] = static_cast<uint8_t>(((v >> 11) & 0x1F) << 3);
    }
}

void copyBgr(const uint8_t* bits, uint32_t width, uint8_t* bgr) { memcpy(bgr, bits, 3 * width); }

// Little-endian words with blue in bits 0-7, green 8-15, red 16-23; the top byte is unused.
void bgrxToBgr(const uint8_t* bits, uint32_t width, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, bits += 4, bgr += 3) {
        bgr[0] = bits[0];
        bgr[1] = bits[1];
        bgr[2] = bits[2];
    }
}

imaging::BitmapRowConverter converterFor(int depth, int* bytesPerPixel) {
    *bytesPerPixel = depth / 8;
    switch (depth) {
    case 16:
        return rgb565ToBgr;
    case 24:
        return copyBgr;
    case 32:
        return bgrxToBgr;
    default:
        return nullptr; // palettes and the like: left black
    }
}

// The bitmap's bits, or null when they cannot be had. pitch × height bytes, checked to hold
// every pixel the converter reads.
uint8_t* fetchBits(HBITMAP bitmap, const BITMAP& description, int bytesPerPixel) {
    size_t bytes = 0;
    if (description.bmWidthBytes < static_cast<int64_t>(description.bmWidth) * bytesPerPixel ||
        !imaging::bufferSize(static_cast<uint64_t>(description.bmWidthBytes),
                             static_cast<uint64_t>(description.bmHeight), &bytes) ||
        bytes > 0x7FFFFFFF)
        return nullptr;
    uint8_t* bits = static_cast<uint8_t*>(calloc(bytes, 1));
    if (bits == nullptr) return nullptr;
    if (GetBitmapBits(bitmap, static_cast<LONG>(bytes), bits) == 0) {
        free(bits);
        return nullptr;
    }
    return bits;
}

} // namespace

void saveBitmapFile(HBITMAP* bitmap, const char* target) {
    if (bitmap == nullptr || target == nullptr) return;
    BITMAP description;
    if (GetObjectA(*bitmap, sizeof description, &description) == 0) return;
    if (description.bmWidth <= 0 || description.bmHeight <= 0) return;

    int bytesPerPixel = 0;
    imaging::BitmapRowConverter convert = converterFor(description.bmBitsPixel, &bytesPerPixel);
    uint8_t* bits = nullptr;
    if (convert != nullptr) {
        bits = fetchBits(*bitmap, description, bytesPerPixel);
        if (bits == nullptr) return;
    }
    // Everything is at hand before the target is created, so a failure leaves no file.
    imaging::BitmapSource picture = {static_cast<uint32_t>(description.bmWidth),
                                     static_cast<uint32_t>(description.bmHeight),
                                     kScreenResolution,
                                     bits,
                                     static_cast<size_t>(description.bmWidthBytes),
                                     false,
                                     convert};
    imaging::writeBitmapFile(target, picture);
    free(bits);
}

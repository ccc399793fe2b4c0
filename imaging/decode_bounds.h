// What one picture file may cost its converter, whatever its headers declare: one rule for every
// format.
//
// A file of n bytes may make its converter hold at most decodeBudget(n) = max(256 MB, 80 × n)
// bytes, the converter's buffers and its library's together, and no more work than decoding
// that much picture once over (a JPEG file's scans are capped apart, kLargestScanCount).
// Each converter refuses a picture whose declared size breaks the rule before the large
// allocation, judging it by what it holds per pixel (measured on 6000 × 4000 photos, peak
// resident memory over the pixels): 3.2 bytes for a baseline JPEG or a PNG, 4 for a TIFF
// raster, 3.3 for a lossy WebP and 7.2 for a lossless one, 6.6 for a HEIC and 7 for an AVIF
// (the decoder's planes, libheif's copy, and the interleaved picture). Where the file's headers
// do not tell the library's share, the library is bounded itself: libjpeg's memory manager
// gets what the budget leaves, and a HEIF file's coded streams must declare no larger picture
// than the container does, their pictures together (tiles, thumbnails, alpha planes, each
// decoded once) within the budget at 3 bytes a pixel.
//
// The floor keeps every picture of up to about 36 megapixels in any format, however well
// compressed; above it a file must spend some 0.3 bits per pixel as a baseline JPEG, 0.6 as a
// progressive one, 0.7 as a HEIC or AVIF: phones' photos spend 1 to 4. A 200-megapixel JPEG of
// 20 MB may hold 1.6 GB. What this stops: 365 bytes of JPEG declaring 20000 × 20000 pixels
// held 2.3 GB and wrote a 1.2 GB bitmap file; 60 KB of HEIC and 3 KB of AVIF whose streams
// hold 16384 × 16384 pixels behind a declared 64 × 64 held 1.6 and 1.8 GB for 5 s or more.
#ifndef MURALTO_DECODE_BOUNDS_H
#define MURALTO_DECODE_BOUNDS_H

#include <stdint.h>

namespace imaging {

const uint64_t kDecodeFloorBytes = 256ull * 1024 * 1024;
const uint64_t kDecodeBytesPerFileByte = 80;

// Real progressive JPEG files have 10 scans or so (libjpeg's own progression has 10, other
// encoders up to about 20). Each scan goes over every block of its components again, up to
// 11 ns a block for an arithmetic-coded one, and can take a few bytes: 18 KB of a plain
// 6000 × 4000 picture in 1010 scans ran for 3 to 5 s, refused at this count in 0.35 s. A
// picture at the floor costs about a second per 100 scans.
const int kLargestScanCount = 100;

// The most a converter may hold for a file of fileBytes bytes.
inline uint64_t decodeBudget(uint64_t fileBytes) {
    uint64_t scaled = fileBytes > UINT64_MAX / kDecodeBytesPerFileByte
                          ? UINT64_MAX
                          : fileBytes * kDecodeBytesPerFileByte;
    return scaled > kDecodeFloorBytes ? scaled : kDecodeFloorBytes;
}

// width × height × bytesPerPixel, saturating instead of wrapping.
inline uint64_t pictureBytes(uint64_t width, uint64_t height, uint64_t bytesPerPixel) {
    if (width == 0 || height == 0 || bytesPerPixel == 0) return 0;
    if (width > UINT64_MAX / height || width * height > UINT64_MAX / bytesPerPixel)
        return UINT64_MAX;
    return width * height * bytesPerPixel;
}

// True when a file of fileBytes bytes may hold `held` bytes while it is decoded.
inline bool withinDecodeBudget(uint64_t fileBytes, uint64_t held) {
    return held <= decodeBudget(fileBytes);
}

} // namespace imaging

#endif

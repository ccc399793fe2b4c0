// TIFF files to bitmap files with libtiff's RGBA raster reader, which copes with every
// photometric, sample layout and orientation the library knows. Its default handlers report
// its warnings and errors.
#include <stdlib.h>

#include <tiffio.h>

#include "bitmap_file.h"
#include "picture_files.h"

namespace {

// A raster entry holds red in its lowest byte, then green, blue and alpha. Alpha is dropped,
// not blended with any background.
void rgbaToBgr(const uint8_t* raster, uint32_t width, uint8_t* bgr) {
    const uint32_t* entry = reinterpret_cast<const uint32_t*>(raster);
    for (uint32_t x = 0; x < width; ++x, bgr += 3) {
        uint32_t value = entry[x];
        bgr[0] = static_cast<uint8_t>(TIFFGetB(value));
        bgr[1] = static_cast<uint8_t>(TIFFGetG(value));
        bgr[2] = static_cast<uint8_t>(TIFFGetR(value));
    }
}

} // namespace

bool convertTiffFile(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) return false;
    TIFF* tiff = TIFFOpen(source, "r");
    if (tiff == nullptr) return false;

    // Only the first image of the file: the one TIFFOpen makes current.
    uint32_t width = 0, height = 0;
    size_t bytes = 0;
    bool ok = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 1 &&
              TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 1 &&
              imaging::bitmapFileSize(width, height) != 0 &&
              imaging::bufferSize(static_cast<uint64_t>(width) * height, 4, &bytes);
    uint8_t* raster = ok ? static_cast<uint8_t*>(calloc(bytes, 1)) : nullptr;
    // Raster row 0 is the picture's bottom row, whatever the file's orientation.
    ok = raster != nullptr &&
         TIFFReadRGBAImage(tiff, width, height, reinterpret_cast<uint32_t*>(raster), 1) == 1;
    TIFFClose(tiff);

    if (ok) {
        imaging::BitmapSource picture = {width, height,   0, raster, static_cast<size_t>(width) * 4,
                                         true,  rgbaToBgr};
        ok = imaging::writeBitmapFile(target, picture);
    }
    free(raster);
    return ok;
}

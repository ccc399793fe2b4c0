// TIFF files to bitmap files with libtiff's RGBA raster reader, which copes with every
// photometric and sample layout the library knows. Its default handlers report its warnings
// and errors.
#include <stdlib.h>

#include <tiffio.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "exif_orientation.h"
#include "file_open.h"
#include "picture_files.h"

namespace {

// What the library may allocate at once for itself, beside our raster. Before the picture's
// size is known only its directory is read, and no directory of a real picture needs more
// (two million strips' offsets and byte counts); a longer tag, such as a layered editor's own
// data, is left out unread, and one the file does not even hold cannot cost its declared size.
const tmsize_t kDirectoryAllocation = 16 * 1024 * 1024;
// A strip or tile as stored takes at most this per pixel of the picture: eight samples of 16
// bits, the most the raster reader takes (colour, alpha and extra channels), with room for
// codes that grow incompressible data. A file whose strips claim more, such as thousands of
// samples a pixel, is refused before its strip is allocated and cleared.
const uint64_t kStoredBytesPerPixel = 16;

// The library opens the file itself: under Windows by its wide name (see file_open.h).
TIFF* openWithLimit(const char* source, tmsize_t largestAllocation) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, largestAllocation);
#ifdef _WIN32
    wchar_t* wide = imaging::newWidePath(source);
    TIFF* tiff = wide != nullptr ? TIFFOpenWExt(wide, "r", options) : nullptr;
    free(wide);
#else
    TIFF* tiff = TIFFOpenExt(source, "r", options);
#endif
    TIFFOpenOptionsFree(options);
    return tiff;
}

// The first image's size, when it can have a bitmap file and a raster in memory within the
// decode budget (the raster is what the decoding holds: the library decodes a strip or tile at
// a time).
bool pictureSize(TIFF* tiff, uint32_t* width, uint32_t* height, size_t* rasterBytes) {
    uint64_t fileBytes = TIFFGetSizeProc(tiff)(TIFFClientdata(tiff));
    return TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, width) == 1 &&
           TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, height) == 1 &&
           imaging::bitmapFileSize(*width, *height) != 0 &&
           imaging::withinDecodeBudget(fileBytes, imaging::pictureBytes(*width, *height, 4)) &&
           imaging::bufferSize(static_cast<uint64_t>(*width) * *height, 4, rasterBytes);
}

// Opens the file with the library's allocations bounded by what its picture can need: the
// bound must be set when the file is opened, so a picture too large for the directory's bound
// is opened a second time with its own. Null when the file cannot be read, or has no picture
// with a bitmap file.
TIFF* openBounded(const char* source, uint32_t* width, uint32_t* height, size_t* rasterBytes) {
    TIFF* tiff = openWithLimit(source, kDirectoryAllocation);
    if (tiff == nullptr) return nullptr;
    if (!pictureSize(tiff, width, height, rasterBytes)) {
        TIFFClose(tiff);
        return nullptr;
    }
    // Under 2^31 × 16 since the bitmap file's size bounds the pixels.
    uint64_t needed = static_cast<uint64_t>(*width) * *height * kStoredBytesPerPixel;
    if (needed <= static_cast<uint64_t>(kDirectoryAllocation)) return tiff;
    TIFFClose(tiff);
    tmsize_t limit = needed < static_cast<uint64_t>(TIFF_TMSIZE_T_MAX)
                         ? static_cast<tmsize_t>(needed)
                         : TIFF_TMSIZE_T_MAX;
    tiff = openWithLimit(source, limit);
    uint32_t sameWidth = 0, sameHeight = 0;
    // The same picture again, unless the file changed in between.
    if (tiff != nullptr && (!pictureSize(tiff, &sameWidth, &sameHeight, rasterBytes) ||
                            sameWidth != *width || sameHeight != *height)) {
        TIFFClose(tiff);
        return nullptr;
    }
    return tiff;
}

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

bool convertTiffFile(const char* source, const char* target, const imaging::BitmapRowSink* rows) {
    if (source == nullptr || target == nullptr) return false;
    // Only the first image of the file: the one TIFFOpen makes current.
    uint32_t width = 0, height = 0;
    size_t bytes = 0;
    TIFF* tiff = openBounded(source, &width, &height, &bytes);
    if (tiff == nullptr) return false;

    // The library only flips rasters, and takes orientations 5 to 8 for 1 to 4: asked for the
    // file's own orientation it flips nothing, raster row 0 being the stored first row, and the
    // bitmap writer turns the picture upright, as for the other formats.
    uint16_t stored = imaging::kTopLeft;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &stored);
    uint16_t orientation = imaging::validOrientation(stored);
    uint8_t* raster = static_cast<uint8_t*>(calloc(bytes, 1));
    bool ok = raster != nullptr &&
              TIFFReadRGBAImageOriented(tiff, width, height, reinterpret_cast<uint32_t*>(raster),
                                        orientation, 1) == 1;
    TIFFClose(tiff);

    if (ok) {
        imaging::BitmapSource picture = {
            width, height,    0, raster,     static_cast<size_t>(width) * 4,
            false, rgbaToBgr, 4, orientation};
        ok = imaging::writeBitmapFile(target, picture, rows);
    }
    free(raster);
    return ok;
}

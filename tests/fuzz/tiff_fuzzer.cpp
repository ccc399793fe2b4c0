// Any bytes as a TIFF file for convertTiffFile (see converter_fuzz.h).
#include <tiffio.h>

#include "converter_fuzz.h"
#include "picture_files.h"

namespace {

// The first image's size is wherever its directory says; the library finds it as the converter
// will, its allocations held to the converter's own bound for a directory.
bool tooLarge(const char* input) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return true;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, 16 * 1024 * 1024);
    TIFF* tiff = TIFFOpenExt(input, "r", options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr) return false;
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFClose(tiff);
    return uint64_t(width) * height > kFuzzLargestPicture;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzConverter(convertTiffFile, "tiff", data, size, tooLarge);
    return 0;
}

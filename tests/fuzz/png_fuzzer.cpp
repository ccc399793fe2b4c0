// Any bytes as a PNG file for convertPngFile (see converter_fuzz.h).
#include <string.h>

#include "converter_fuzz.h"
#include "picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The header chunk comes first, at a fixed place; the library refuses any other file
    // before a picture is allocated.
    if (size >= 24 && memcmp(data + 12, "IHDR", 4) == 0) {
        auto bigEndian = [](const uint8_t* p) {
            return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        };
        if (uint64_t(bigEndian(data + 16)) * bigEndian(data + 20) > kFuzzLargestPicture) return 0;
    }
    fuzzConverter(convertPngFile, "png", data, size);
    return 0;
}

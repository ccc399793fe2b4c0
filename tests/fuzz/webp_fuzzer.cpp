// Any bytes as a WebP file for convertWebpFile (see converter_fuzz.h).
#include <webp/decode.h>

#include "converter_fuzz.h"
#include "picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The converter allocates only for pictures whose features the library reads, and whose
    // sides a frame can have (14 bits): a larger canvas must be refused before any allocation.
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, size, &features) == VP8_STATUS_OK && features.width <= 16383 &&
        features.height <= 16383 &&
        uint64_t(features.width) * uint64_t(features.height) > kFuzzLargestPicture)
        return 0;
    fuzzConverter(convertWebpFile, "webp", data, size);
    return 0;
}

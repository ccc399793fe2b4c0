// Any bytes as a JPEG file for convertJpegFile (see converter_fuzz.h).
#include "converter_fuzz.h"
#include "decode_bounds.h"
#include "picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every frame header the bytes may hold (FF C0 to FF CF, but for the table markers C4, C8
    // and CC), since the library takes the first it reaches past the markers before it. A large
    // picture is skipped, unless it is Huffman-coded in fewer bits than it has 8 × 8 blocks or
    // its pixels pass the decode budget: the converter must refuse those before anything is
    // allocated.
    for (size_t i = 0; i + 9 <= size; ++i) {
        uint8_t marker = data[i + 1];
        if (data[i] != 0xFF || (marker & 0xF0) != 0xC0 || marker == 0xC4 || marker == 0xC8 ||
            marker == 0xCC)
            continue;
        uint64_t height = data[i + 5] << 8 | data[i + 6], width = data[i + 7] << 8 | data[i + 8];
        bool arithmetic = marker >= 0xC9;
        bool holdable =
            (arithmetic || uint64_t(size) * 8 >= (width + 7) / 8 * ((height + 7) / 8)) &&
            imaging::withinDecodeBudget(size, imaging::pictureBytes(width, height, 3));
        if (width * height > kFuzzLargestPicture && holdable) return 0;
    }
    fuzzConverter(convertJpegFile, "jpeg", data, size);
    return 0;
}

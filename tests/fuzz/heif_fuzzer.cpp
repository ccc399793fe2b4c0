// Any bytes as a HEIF file for convertHeifFile (see converter_fuzz.h).
#include <sys/stat.h>

#include <libheif/heif.h>

#include "converter_fuzz.h"
#include "decode_bounds.h"
#include "picture_files.h"

namespace {

// The converter allocates only for a primary picture whose size the library reads, once each
// coded stream is found no larger than the size its item declares; that size must be refused
// before any allocation when its bitmap file could not exist or it passes the decode budget.
bool tooLarge(const char* input) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    uint64_t pixels = 0;
    if (heif_context_read_from_file(context, input, nullptr).code == heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok) {
        pixels = uint64_t(heif_image_handle_get_width(handle)) *
                 uint64_t(heif_image_handle_get_height(handle));
        heif_image_handle_release(handle);
    }
    heif_context_free(context);
    struct stat file;
    return pixels > kFuzzLargestPicture && pixels < (uint64_t(1) << 32) / 3 &&
           stat(input, &file) == 0 &&
           imaging::withinDecodeBudget(uint64_t(file.st_size), imaging::pictureBytes(pixels, 1, 7));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzConverter(convertHeifFile, "heif", data, size, tooLarge);
    return 0;
}

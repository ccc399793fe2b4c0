// WebP files (lossy, lossless, with or without alpha) to bitmap files with libwebp. The library
// decodes the whole file, held in memory, straight into blue, green, red (and alpha) rows;
// transparent pixels are composited over black when the rows are written. Animations are
// refused.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <webp/decode.h>

#include "bitmap_file.h"
#include "picture_files.h"

namespace {

// The whole file, or null when it cannot be read or is empty.
uint8_t* readWholeFile(const char* path, size_t* size) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return nullptr;
    uint8_t* bytes = nullptr;
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0) length = ftell(file);
    if (length > 0 && fseek(file, 0, SEEK_SET) == 0) {
        bytes = static_cast<uint8_t*>(malloc(static_cast<size_t>(length)));
        if (bytes != nullptr &&
            fread(bytes, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
            free(bytes);
            bytes = nullptr;
        }
    }
    fclose(file);
    *size = static_cast<size_t>(length);
    return bytes;
}

// Decodes into pixels, which it allocates (the caller frees them); false when the file is not
// a still picture the library decodes whole, or when its bitmap file could not exist.
bool decode(const uint8_t* data, size_t size, WebPDecoderConfig* config, uint8_t** pixels) {
    if (WebPGetFeatures(data, size, &config->input) != VP8_STATUS_OK) return false;
    const WebPBitstreamFeatures& features = config->input;
    uint32_t width = static_cast<uint32_t>(features.width);
    uint32_t height = static_cast<uint32_t>(features.height);
    // The header of an extended file claims a canvas of up to 2^24 × 2^24 pixels, before any
    // of its picture data is checked, and animations are refused only by the decoding: both
    // are refused here, before anything is allocated.
    unsigned channels = features.has_alpha ? 4 : 3;
    size_t bytes = 0;
    if (features.has_animation || features.width <= 0 || features.height <= 0 ||
        imaging::bitmapFileSize(width, height) == 0 ||
        !imaging::bufferSize(static_cast<uint64_t>(width) * height, channels, &bytes))
        return false;
    *pixels = static_cast<uint8_t*>(calloc(bytes, 1));
    if (*pixels == nullptr) return false;

    WebPDecBuffer* output = &config->output;
    output->colorspace = features.has_alpha ? MODE_BGRA : MODE_BGR;
    output->is_external_memory = 1;
    output->u.RGBA.rgba = *pixels;
    output->u.RGBA.stride = static_cast<int>(width * channels); // at most 2^14 × 4
    output->u.RGBA.size = bytes;
    // Lossy pictures are filtered on a second thread; the pixels are the same.
    config->options.use_threads = 1;
    return WebPDecode(data, size, config) == VP8_STATUS_OK;
}

} // namespace

bool convertWebpFile(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) return false;
    size_t size = 0;
    uint8_t* data = readWholeFile(source, &size);
    if (data == nullptr) return false;

    WebPDecoderConfig config;
    memset(&config, 0, sizeof config);
    uint8_t* pixels = nullptr;
    bool ok = WebPInitDecoderConfig(&config) && decode(data, size, &config, &pixels);
    free(data);
    // The output buffer is ours: this releases nothing but the library's own state.
    WebPFreeDecBuffer(&config.output);

    if (ok) {
        uint32_t width = static_cast<uint32_t>(config.output.width);
        bool alpha = config.output.colorspace == MODE_BGRA;
        imaging::BitmapSource picture = {width,
                                         static_cast<uint32_t>(config.output.height),
                                         0,
                                         pixels,
                                         static_cast<size_t>(width) * (alpha ? 4 : 3),
                                         false,
                                         alpha ? imaging::bgraOverBlack : imaging::copyBgr};
        ok = imaging::writeBitmapFile(target, picture);
    }
    free(pixels);
    return ok;
}

// WebP files (lossy, lossless, with or without alpha) to bitmap files with libwebp. The library
// decodes the whole file, held in memory, straight into blue, green, red (and alpha) rows;
// transparent pixels are composited over black when the rows are written. Animations are
// refused. The EXIF chunk of the extended format, found by the library's demuxer, gives the
// orientation.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <webp/decode.h>
#include <webp/demux.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "exif_orientation.h"
#include "file_open.h"
#include "picture_files.h"

namespace {

// A still picture is one VP8 or VP8L frame, whose sides have 14 bits; an extended header's
// canvas of up to 2^24 × 2^24 matches that frame, so any larger one is no still picture.
const int kLargestSide = 16383;
// Enough for the file header, an extended header and a frame's header, where its size is.
const size_t kHeadBytes = 64;
// What the library holds beside our pixels, per pixel, decoding a lossless picture: its own
// 32-bit rows of the whole picture (7.2 bytes a pixel measured in all, 3.3 for a lossy one).
const uint64_t kLosslessBytesPerPixel = 4;

uint32_t littleEndian32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// How much of the file the library reads, judged by its first bytes before the rest is read
// into memory: 0 when the file is empty or unreadable, or starts as no WebP file does (any
// other file costs no more than its head), else the file up to the end of its RIFF chunk,
// where the library stops.
uint64_t webpLength(FILE* file) {
    long length = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    if (length <= 0 || fseek(file, 0, SEEK_SET) != 0) return 0;
    uint8_t head[kHeadBytes];
    size_t headBytes = fread(head, 1, sizeof head, file);
    WebPBitstreamFeatures features;
    VP8StatusCode status = WebPGetFeatures(head, headBytes, &features);
    if (status != VP8_STATUS_OK && status != VP8_STATUS_NOT_ENOUGH_DATA) return 0;
    uint64_t wanted = static_cast<uint64_t>(length);
    if (headBytes >= 8 && memcmp(head, "RIFF", 4) == 0) {
        uint64_t riffEnd = static_cast<uint64_t>(littleEndian32(head + 4)) + 8;
        if (riffEnd < wanted) wanted = riffEnd;
    }
    return wanted;
}

// The part of the file the library reads, or null when there is none or it cannot be read.
uint8_t* readWebpFile(const char* path, size_t* size) {
    FILE* file = imaging::openFile(path, "rb");
    if (file == nullptr) return nullptr;
    // At most the file's length, which ftell gave as a long.
    size_t wanted = static_cast<size_t>(webpLength(file));
    uint8_t* bytes = imaging::readFromStart(file, wanted);
    fclose(file);
    *size = wanted;
    return bytes;
}

// Decodes into pixels, which it allocates (the caller frees them); false when the file is not
// a still picture the library decodes whole, or when its bitmap file could not exist.
bool decode(const uint8_t* data, size_t size, WebPDecoderConfig* config, uint8_t** pixels) {
    if (WebPGetFeatures(data, size, &config->input) != VP8_STATUS_OK) return false;
    const WebPBitstreamFeatures& features = config->input;
    uint32_t width = static_cast<uint32_t>(features.width);
    uint32_t height = static_cast<uint32_t>(features.height);
    // The header of an extended file claims a canvas of up to 2^24 × 2^24 pixels, which the
    // library reports even when no frame follows, and animations are refused only by the
    // decoding: both are refused here, before anything is allocated.
    unsigned channels = features.has_alpha ? 4 : 3;
    size_t bytes = 0;
    uint64_t perPixel = channels + (features.format == 2 ? kLosslessBytesPerPixel : 0);
    if (features.has_animation || features.width <= 0 || features.height <= 0 ||
        features.width > kLargestSide || features.height > kLargestSide ||
        imaging::bitmapFileSize(width, height) == 0 ||
        !imaging::withinDecodeBudget(size, imaging::pictureBytes(width, height, perPixel)) ||
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

// kTopLeft when the file has no EXIF chunk, or its chunks do not all lie inside it.
uint16_t exifOrientation(const uint8_t* data, size_t size) {
    WebPData whole = {data, size};
    WebPDemuxer* demux = WebPDemux(&whole);
    if (demux == nullptr) return imaging::kTopLeft;
    uint16_t orientation = imaging::kTopLeft;
    WebPChunkIterator chunk;
    if ((WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG) != 0 &&
        WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) {
        orientation = imaging::exifOrientation(chunk.chunk.bytes, chunk.chunk.size);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    WebPDemuxDelete(demux);
    return orientation;
}

} // namespace

bool convertWebpFile(const char* source, const char* target, const imaging::BitmapRowSink* rows) {
    if (source == nullptr || target == nullptr) return false;
    size_t size = 0;
    uint8_t* data = readWebpFile(source, &size);
    if (data == nullptr) return false;

    WebPDecoderConfig config;
    memset(&config, 0, sizeof config);
    uint8_t* pixels = nullptr;
    bool ok = WebPInitDecoderConfig(&config) && decode(data, size, &config, &pixels);
    uint16_t orientation = ok ? exifOrientation(data, size) : imaging::kTopLeft;
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
                                         alpha ? imaging::bgraOverBlack : imaging::copyBgr,
                                         alpha ? 4u : 3u,
                                         orientation};
        ok = imaging::writeBitmapFile(target, picture, rows);
    }
    free(pixels);
    return ok;
}

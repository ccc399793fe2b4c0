// PNG files to bitmap files with libpng. Every colour type and depth is turned by the library
// into 8-bit blue, green, red (and alpha), interlaced files included; 16-bit samples are
// rounded to the nearest 8-bit value (png_set_scale_16: (v × 255 + 32767) / 65535), and
// transparent pixels are composited over black when the rows are written.
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <png.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "exif_orientation.h"
#include "file_open.h"
#include "picture_files.h"

namespace {

// Sides over a million pixels are refused by the library while it reads the header: its own
// default, set here so that every build of it has the same. bitmapFileSize refuses the
// product once both sides are known.
const uint32_t kLargestSide = 1000000;

// The longest chunk but the pixel data (bounded apart, by the picture's size) held whole, one
// at a time, for readOtherChunk to look at; a longer one is skipped unread. Well under the
// library's default of 8 MB, which 1.6.39 only warns about before some of its own chunk
// readers allocate and clear the chunk's whole declared length.
const png_alloc_size_t kLargestChunk = 1024 * 1024;

// Everything one conversion holds. The setjmp frame reaches it through a pointer only, so a
// longjmp back finds every field as last written.
struct Decoding {
    png_structp png;
    png_infop info;
    FILE* source;
    long fileBytes;
    uint8_t* pixels; // blue, green, red (and alpha) per pixel, rows top to bottom
    png_bytep* rows; // where each row of pixels starts, for the library
    uint32_t width;
    uint32_t height;
    size_t pitch;
    unsigned channels;    // 3, or 4 with alpha
    uint16_t orientation; // 0 until an EXIF chunk gives one
    bool sawExif;
};

// Asks the library for 8-bit blue, green, red rows, with alpha when the file has any (an
// alpha channel, or transparent entries or a transparent colour in its tRNS chunk).
void requestBgr(Decoding* d) {
    png_structp png = d->png;
    png_infop info = d->info;
    png_byte type = png_get_color_type(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_scale_16(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d->channels = png_get_channels(png, info);
}

// Each chunk the library does not handle, read whole into memory unless it is longer than
// kLargestChunk (then skipped unread). The first EXIF chunk, before the pixels or after them
// as older writers put it, gives the orientation; every chunk is then dropped.
int readOtherChunk(png_structp png, png_unknown_chunkp chunk) {
    Decoding* d = static_cast<Decoding*>(png_get_user_chunk_ptr(png));
    if (memcmp(chunk->name, "eXIf", 4) == 0 && !d->sawExif) {
        d->sawExif = true;
        d->orientation = imaging::exifOrientation(chunk->data, chunk->size);
    }
    return 1;
}

bool decodeSteps(Decoding* d) {
    png_init_io(d->png, d->source);
    png_set_user_limits(d->png, kLargestSide, kLargestSide);
    png_set_chunk_malloc_max(d->png, kLargestChunk);
    // Every chunk but the header, palette, transparency, pixel data and end goes to
    // readOtherChunk, which looks only at the EXIF chunk, then dropped: the bitmap file has no
    // use for them. The library's own EXIF reader is not used: 1.6.39 allocates any length the
    // chunk declares, 2 GB from a file of a few bytes.
    png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_read_user_chunk_fn(d->png, d, readOtherChunk);
    png_read_info(d->png, d->info);
    d->width = png_get_image_width(d->png, d->info);
    d->height = png_get_image_height(d->png, d->info);
    // Refused before the library sets up its row buffers and before ours are allocated.
    if (imaging::bitmapFileSize(d->width, d->height) == 0) return false;
    requestBgr(d);

    // Anything else would not fill a row exactly. Our pixels and row table are what the
    // decoding holds: the library keeps a row or two.
    d->pitch = static_cast<size_t>(d->width) * d->channels;
    size_t bytes = 0, rowTable = 0;
    uint64_t held = imaging::pictureBytes(d->width, d->height, d->channels) +
                    uint64_t(d->height) * sizeof(png_bytep);
    if (!imaging::withinDecodeBudget(static_cast<uint64_t>(d->fileBytes), held) ||
        (d->channels != 3 && d->channels != 4) || png_get_bit_depth(d->png, d->info) != 8 ||
        png_get_rowbytes(d->png, d->info) != d->pitch ||
        !imaging::bufferSize(static_cast<uint64_t>(d->width) * d->height, d->channels, &bytes) ||
        !imaging::bufferSize(d->height, sizeof(png_bytep), &rowTable))
        return false;
    d->pixels = static_cast<uint8_t*>(calloc(bytes, 1));
    d->rows = static_cast<png_bytep*>(malloc(rowTable));
    if (d->pixels == nullptr || d->rows == nullptr) return false;
    for (uint32_t y = 0; y < d->height; ++y) d->rows[y] = d->pixels + d->pitch * y;
    png_read_image(d->png, d->rows);
    // Up to the end chunk: a file cut after its pixels, or with damage behind them, is refused.
    png_read_end(d->png, nullptr);
    return true;
}

// Only this frame calls setjmp and it keeps no state of its own, so nothing can be clobbered.
bool decode(Decoding* d) {
    if (setjmp(png_jmpbuf(d->png)) != 0) return false;
    return decodeSteps(d);
}

} // namespace

bool convertPngFile(const char* source, const char* target, const imaging::BitmapRowSink* rows) {
    if (source == nullptr || target == nullptr) return false;
    Decoding decoding;
    memset(&decoding, 0, sizeof decoding);
    Decoding* d = &decoding;
    d->source = imaging::openFile(source, "rb");
    if (d->source == nullptr) return false;
    d->fileBytes = imaging::fileLength(d->source);
    // The library's default handlers: errors are reported, then return here through setjmp.
    d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (d->png != nullptr) d->info = png_create_info_struct(d->png);

    bool ok = d->info != nullptr && d->fileBytes >= 0 && decode(d);
    png_destroy_read_struct(&d->png, &d->info, nullptr);
    fclose(d->source);
    free(d->rows);

    if (ok) {
        imaging::BitmapSource picture = {d->width,
                                         d->height,
                                         0,
                                         d->pixels,
                                         d->pitch,
                                         false,
                                         d->channels == 4 ? imaging::bgraOverBlack
                                                          : imaging::copyBgr,
                                         d->channels,
                                         d->orientation};
        ok = imaging::writeBitmapFile(target, picture, rows);
    }
    free(d->pixels);
    return ok;
}

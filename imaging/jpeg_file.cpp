// JPEG files to bitmap files with libjpeg.
#include <limits.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "exif_orientation.h"
#include "file_open.h"
#include "picture_files.h"

namespace {

// libjpeg's standard error manager, except that a fatal error, which would end the process,
// returns to the conversion instead (a bitmap chosen as a JPEG file is enough to cause one).
struct ErrorManager {
    jpeg_error_mgr standard;
    jmp_buf fatal;
};

void returnToConversion(j_common_ptr decoder) {
    (*decoder->err->output_message)(decoder);
    longjmp(reinterpret_cast<ErrorManager*>(decoder->err)->fatal, 1);
}

// Called by the library as it reads each part of the file: a progressive file whose scans go on
// past any encoder's is refused there, before it goes over the picture once more.
void refuseEndlessScans(j_common_ptr decoder) {
    if (reinterpret_cast<j_decompress_ptr>(decoder)->input_scan_number > imaging::kLargestScanCount)
        longjmp(reinterpret_cast<ErrorManager*>(decoder->err)->fatal, 1);
}

// Everything one conversion holds. The setjmp frame reaches it through a pointer only, so a
// longjmp back finds every field as last written.
struct Decoding {
    jpeg_decompress_struct decoder;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    FILE* source;
    uint8_t* pixels;  // red, green, blue per pixel, rows top to bottom
    uint8_t* cmykRow; // one decoded row of a four-colour file
    uint32_t width;
    uint32_t height;
    uint16_t orientation;
};

// round(a × b / 255), exact for every a, b in 0..255.
inline uint8_t scale255(unsigned a, unsigned b) {
    unsigned t = a * b + 128;
    return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

// Four-colour files: CMYK, or YCCK which the library turns into CMYK. Adobe's programs, which
// write nearly all of them (and mark them with their APP14 marker), store the four inks
// inverted, 255 meaning none; without that marker the values are plain ink amounts.
// Red = (1 - C)(1 - K), green = (1 - M)(1 - K), blue = (1 - Y)(1 - K).
void cmykToRgb(const uint8_t* cmyk, uint32_t width, bool inverted, uint8_t* rgb) {
    unsigned flip = inverted ? 0 : 255;
    for (uint32_t x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        unsigned k = cmyk[3] ^ flip;
        rgb[0] = scale255(cmyk[0] ^ flip, k);
        rgb[1] = scale255(cmyk[1] ^ flip, k);
        rgb[2] = scale255(cmyk[2] ^ flip, k);
    }
}

bool readRows(Decoding* d) {
    jpeg_decompress_struct* decoder = &d->decoder;
    bool fourColours = decoder->out_color_space == JCS_CMYK;
    // Anything but these two (a file of two components, say) would not fill a row exactly.
    if (fourColours ? decoder->output_components != 4
                    : decoder->out_color_space != JCS_RGB || decoder->output_components != 3)
        return false;

    d->width = decoder->output_width;
    d->height = decoder->output_height;
    size_t bytes = 0, cmykBytes = 0;
    if (!imaging::bufferSize(static_cast<uint64_t>(d->width) * d->height, 3, &bytes) ||
        !imaging::bufferSize(d->width, 4, &cmykBytes))
        return false;
    d->pixels = static_cast<uint8_t*>(calloc(bytes, 1));
    if (d->pixels == nullptr) return false;
    if (fourColours) {
        d->cmykRow = static_cast<uint8_t*>(calloc(cmykBytes, 1));
        if (d->cmykRow == nullptr) return false;
    }

    size_t rowBytes = static_cast<size_t>(d->width) * 3;
    while (decoder->output_scanline < decoder->output_height) {
        uint8_t* row = d->pixels + rowBytes * decoder->output_scanline;
        JSAMPROW into = fourColours ? d->cmykRow : row;
        // The stdio source never suspends, so no row means the library gave up.
        if (jpeg_read_scanlines(decoder, &into, 1) != 1) return false;
        if (fourColours) cmykToRgb(d->cmykRow, d->width, decoder->saw_Adobe_marker, row);
    }
    return true;
}

// Huffman coding spends at least one bit on every 8 × 8 block of the picture (each block's DC
// difference, zero included, has a code of 1 to 16 bits), so a shorter file cannot hold the
// picture it declares. Without this, 500 bytes claiming 20000 × 20000 pixels had the library
// allocate and clear 1.2 GB of coefficients (a progressive file), then 1.2 GB of grey rows were
// decoded and written. Arithmetic coding has no such floor, a plain picture takes almost
// nothing, so its files keep only the decode budget.
bool holdsItsBlocks(const jpeg_decompress_struct& decoder, long fileBytes) {
    if (decoder.arith_code) return true;
    uint64_t blocks =
        static_cast<uint64_t>((decoder.image_width + 7) / 8) * ((decoder.image_height + 7) / 8);
    return static_cast<uint64_t>(fileBytes) >= blocks / 8;
}

// The orientation in the first APP1 segment that holds EXIF data: cameras write it first,
// and an XMP segment may follow.
uint16_t exifOrientation(const jpeg_decompress_struct& decoder) {
    for (jpeg_saved_marker_ptr marker = decoder.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 &&
            imaging::isExifSegment(marker->data, marker->data_length))
            return imaging::exifOrientation(marker->data, marker->data_length);
    }
    return imaging::kTopLeft;
}

bool decodeSteps(Decoding* d, const char* source) {
    jpeg_create_decompress(&d->decoder);
    d->source = imaging::openFile(source, "rb");
    if (d->source == nullptr) return false;
    long fileBytes = imaging::fileLength(d->source);
    if (fileBytes < 0) return false;
    jpeg_stdio_src(&d->decoder, d->source);
    // APP1 segments are kept whole (at most 64 KB each, as stored) for their EXIF orientation.
    jpeg_save_markers(&d->decoder, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d->decoder, TRUE);
    d->orientation = exifOrientation(d->decoder);
    // At the default scale of 1/1 these are the output's dimensions too. A picture without a
    // bitmap file, one the file is too short to hold, or whose pixels alone pass the decode
    // budget, is refused before the decoder sets up its buffers.
    uint64_t pixelBytes = imaging::pictureBytes(d->decoder.image_width, d->decoder.image_height, 3);
    uint64_t budget = imaging::decodeBudget(static_cast<uint64_t>(fileBytes));
    if (imaging::bitmapFileSize(d->decoder.image_width, d->decoder.image_height) == 0 ||
        !holdsItsBlocks(d->decoder, fileBytes) || pixelBytes > budget)
        return false;
    // The rest is the library's: a progressive or multi-scan file's coefficients, which an
    // arithmetic-coded file of a few bytes can make as large as its pixels, fail the decode
    // ("backing store not supported") beyond it rather than being allocated.
    uint64_t libraryBytes = budget - pixelBytes;
    d->decoder.mem->max_memory_to_use =
        libraryBytes < static_cast<uint64_t>(LONG_MAX) ? static_cast<long>(libraryBytes) : LONG_MAX;
    d->progress.progress_monitor = refuseEndlessScans;
    d->decoder.progress = &d->progress;
    // The library's defaults stay, except that a greyscale file is asked for in red, green,
    // blue like every other: its rows then fill the picture like those of a colour file.
    if (d->decoder.jpeg_color_space == JCS_GRAYSCALE) d->decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d->decoder);
    if (!readRows(d)) return false;
    jpeg_finish_decompress(&d->decoder);
    return true;
}

// Only this frame calls setjmp and it keeps no state of its own, so nothing can be clobbered.
bool decode(Decoding* d, const char* source) {
    if (setjmp(d->errors.fatal) != 0) return false;
    return decodeSteps(d, source);
}

void rgbToBgr(const uint8_t* rgb, uint32_t width, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, rgb += 3, bgr += 3) {
        bgr[0] = rgb[2];
        bgr[1] = rgb[1];
        bgr[2] = rgb[0];
    }
}

} // namespace

bool convertJpegFile(const char* source, const char* target, const imaging::BitmapRowSink* rows) {
    if (source == nullptr || target == nullptr) return false;
    Decoding decoding;
    memset(&decoding, 0, sizeof decoding);
    Decoding* d = &decoding;
    d->decoder.err = jpeg_std_error(&d->errors.standard);
    d->errors.standard.error_exit = returnToConversion;

    bool ok = decode(d, source);
    // Safe at any stage: the library frees what it allocated, even midway through a decode.
    jpeg_destroy_decompress(&d->decoder);
    if (d->source != nullptr) fclose(d->source);
    free(d->cmykRow);

    if (ok) {
        imaging::BitmapSource picture = {
            d->width, d->height, 0, d->pixels,     static_cast<size_t>(d->width) * 3,
            false,    rgbToBgr,  3, d->orientation};
        ok = imaging::writeBitmapFile(target, picture, rows);
    }
    free(d->pixels);
    return ok;
}

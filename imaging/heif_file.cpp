// HEIF files (HEIC: HEVC pictures; AVIF: AV1 pictures) to bitmap files with libheif. The file is
// read into memory whole; the library decodes its primary picture, grids of tiles whole, with
// the container's rotation, mirroring and cropping applied, into red, green, blue (and alpha)
// rows. Samples of more than 8 bits are rounded to the nearest 8-bit value as the PNG converter
// rounds its 16-bit ones (round(v × 255 / max)), and transparent pixels are composited over
// black when the rows are written.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <libheif/heif.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "file_open.h"
#include "heif_functions.h"
#include "heif_streams.h"
#include "picture_files.h"

namespace {

// Longest side the library takes while it reads the file, AV1's largest: above its default of
// 32768, so that, as for the other formats, it is bitmapFileSize that refuses a picture too
// large, by its product, before any pixel is decoded.
const int kLargestSide = 65536;
// A file is read whole into memory; none of a picture the bitmap file can hold comes near it.
const long kLargestFile = 512L * 1024 * 1024;
// Held for each pixel of the picture, beside the interleaved rows asked for: the decoder's
// planes and libheif's copy of them, about as much again (6.6 bytes a pixel measured in all for
// an 8-bit HEIC, 7 for an AVIF), and the decoders' own state.
const uint64_t kPlaneBytesPerPixel = 1;
// Held for each pixel a decoder produces: its planes and libheif's copy, 4:2:0 at 8 bits. Summed
// over the file's coded pictures it bounds the decoding's work too, each tile and thumbnail
// being decoded once.
const uint64_t kCodedBytesPerPixel = 3;

// The whole file, or null when it cannot be read or is empty or too large.
uint8_t* readWholeFile(const char* path, size_t* size) {
    FILE* file = imaging::openFile(path, "rb");
    if (file == nullptr) return nullptr;
    long length = imaging::fileLength(file);
    uint8_t* bytes = length > 0 && length <= kLargestFile
                         ? imaging::readFromStart(file, static_cast<size_t>(length))
                         : nullptr;
    fclose(file);
    *size = static_cast<size_t>(length);
    return bytes;
}

// Row converters from the library's interleaved layouts to blue, green, red. The deeper ones
// hold `bits`-bit samples in 16-bit little-endian words.
void rgbToBgr(const uint8_t* rgb, uint32_t width, uint8_t* row) {
    for (uint32_t x = 0; x < width; ++x, rgb += 3, row += 3) {
        row[0] = rgb[2];
        row[1] = rgb[1];
        row[2] = rgb[0];
    }
}

void rgbaOverBlack(const uint8_t* rgba, uint32_t width, uint8_t* row) {
    for (uint32_t x = 0; x < width; ++x, rgba += 4, row += 3) {
        unsigned alpha = rgba[3];
        // round(c × alpha / 255), as bgraOverBlack.
        for (int i = 0; i < 3; ++i) {
            unsigned t = rgba[2 - i] * alpha + 128;
            row[i] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
        }
    }
}

template <unsigned bits> uint8_t eightBits(const uint8_t* sample) {
    const unsigned max = (1u << bits) - 1;
    unsigned v = (sample[0] | sample[1] << 8) & max;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
}

template <unsigned bits> void deepRgbToBgr(const uint8_t* rgb, uint32_t width, uint8_t* row) {
    for (uint32_t x = 0; x < width; ++x, rgb += 6, row += 3) {
        row[0] = eightBits<bits>(rgb + 4);
        row[1] = eightBits<bits>(rgb + 2);
        row[2] = eightBits<bits>(rgb);
    }
}

// Rounded to 8 bits first, then composited as the 8-bit pictures are.
template <unsigned bits> void deepRgbaOverBlack(const uint8_t* rgba, uint32_t width, uint8_t* row) {
    for (uint32_t x = 0; x < width; ++x, rgba += 8, row += 3) {
        unsigned alpha = eightBits<bits>(rgba + 6);
        for (int i = 0; i < 3; ++i) {
            unsigned t = eightBits<bits>(rgba + 2 * (2 - i)) * alpha + 128;
            row[i] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
        }
    }
}

// The converter for a decoded picture's layout, or null for one we do not take.
imaging::BitmapRowConverter converterFor(bool alpha, int bits) {
    switch (bits) {
    case 8:
        return alpha ? rgbaOverBlack : rgbToBgr;
    case 9:
        return alpha ? deepRgbaOverBlack<9> : deepRgbToBgr<9>;
    case 10:
        return alpha ? deepRgbaOverBlack<10> : deepRgbToBgr<10>;
    case 11:
        return alpha ? deepRgbaOverBlack<11> : deepRgbToBgr<11>;
    case 12:
        return alpha ? deepRgbaOverBlack<12> : deepRgbToBgr<12>;
    case 16:
        return alpha ? deepRgbaOverBlack<16> : deepRgbToBgr<16>;
    default:
        return nullptr;
    }
}

heif_chroma interleaved(bool alpha, bool deep) {
    if (deep)
        return alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE;
    return alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
}

// The primary picture decoded as interleaved red, green, blue (and alpha) at its own depth, or
// null when the file holds none the library decodes, or none whose bitmap file could exist.
heif_image* decodePrimary(const imaging::HeifLibrary& heif, heif_context* context, uint64_t budget,
                          int* width, int* height) {
    heif_image_handle* handle = nullptr;
    if (heif.context_get_primary_image_handle(context, &handle).code != heif_error_Ok)
        return nullptr;
    // The picture's size once rotated and cropped: refused here, before the library allocates
    // its planes, when its bitmap file could not exist or the pixels would not fit in memory or
    // in the decode budget.
    *width = heif.image_handle_get_width(handle);
    *height = heif.image_handle_get_height(handle);
    bool alpha = heif.image_handle_has_alpha_channel(handle) != 0;
    bool deep = heif.image_handle_get_luma_bits_per_pixel(handle) > 8;
    size_t bytes = 0;
    heif_image* image = nullptr;
    uint64_t rowBytes = (alpha ? 4 : 3) * (deep ? 2 : 1);
    if (*width > 0 && *height > 0 &&
        imaging::pictureBytes(static_cast<uint64_t>(*width), static_cast<uint64_t>(*height),
                              2 * rowBytes + kPlaneBytesPerPixel) <= budget &&
        imaging::bitmapFileSize(static_cast<uint32_t>(*width), static_cast<uint32_t>(*height)) !=
            0 &&
        imaging::bufferSize(static_cast<uint64_t>(*width) * static_cast<uint64_t>(*height),
                            rowBytes, &bytes)) {
        heif_error error = heif.decode_image(handle, &image, heif_colorspace_RGB,
                                             interleaved(alpha, deep), nullptr);
        if (error.code != heif_error_Ok) {
            heif.image_release(image);
            image = nullptr;
        }
    }
    heif.image_handle_release(handle);
    return image;
}

// Writes the decoded picture; false when its layout is not the one asked for, or its size not
// the one the file declares (a damaged file).
bool writeDecoded(const imaging::HeifLibrary& heif, const heif_image* image, int declaredWidth,
                  int declaredHeight, const char* target, const imaging::BitmapRowSink* rows) {
    int width = heif.image_get_width(image, heif_channel_interleaved);
    int height = heif.image_get_height(image, heif_channel_interleaved);
    int bits = heif.image_get_bits_per_pixel_range(image, heif_channel_interleaved);
    heif_chroma chroma = heif.image_get_chroma_format(image);
    bool alpha =
        chroma == heif_chroma_interleaved_RGBA || chroma == heif_chroma_interleaved_RRGGBBAA_LE;
    bool deep = chroma == heif_chroma_interleaved_RRGGBB_LE ||
                chroma == heif_chroma_interleaved_RRGGBBAA_LE;
    imaging::BitmapRowConverter convert = converterFor(alpha, bits);
    int stride = 0;
    const uint8_t* pixels = heif.image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    // Each row must hold width pixels of the layout asked for.
    uint64_t rowBytes = static_cast<uint64_t>(width) * (alpha ? 4 : 3) * (deep ? 2 : 1);
    if (width <= 0 || height <= 0 || width != declaredWidth || height != declaredHeight ||
        convert == nullptr || pixels == nullptr || (bits > 8) != deep ||
        static_cast<uint64_t>(stride) < rowBytes)
        return false;
    imaging::BitmapSource picture = {static_cast<uint32_t>(width),
                                     static_cast<uint32_t>(height),
                                     0,
                                     pixels,
                                     static_cast<size_t>(stride),
                                     false,
                                     convert};
    return imaging::writeBitmapFile(target, picture, rows);
}

} // namespace

bool convertHeifFile(const char* source, const char* target, const imaging::BitmapRowSink* rows) {
    // Without the library (under Windows, no libheif.dll beside the program) nothing is read.
    const imaging::HeifLibrary* library = imaging::heifLibrary();
    if (source == nullptr || target == nullptr || library == nullptr) return false;
    const imaging::HeifLibrary& heif = *library;
    size_t size = 0;
    uint8_t* data = readWholeFile(source, &size);
    if (data == nullptr) return false;

    // The streams are read before the library sees them: the decoders size their buffers by
    // them, not by the sizes the library checks.
    uint64_t budget = imaging::decodeBudget(size), codedPixels = 0;
    bool ok = false;
    heif_context* context =
        imaging::codedPicturesWithinContainer(data, size, &codedPixels) &&
                imaging::pictureBytes(codedPixels, 1, kCodedBytesPerPixel) <= budget
            ? heif.context_alloc()
            : nullptr;
    if (context != nullptr) {
        heif.context_set_maximum_image_size_limit(context, kLargestSide);
        heif_image* image = nullptr;
        int width = 0, height = 0;
        if (heif.context_read_from_memory_without_copy(context, data, size, nullptr).code ==
            heif_error_Ok)
            image = decodePrimary(heif, context, budget, &width, &height);
        if (image != nullptr) ok = writeDecoded(heif, image, width, height, target, rows);
        heif.image_release(image);
        heif.context_free(context);
    }
    free(data);
    return ok;
}

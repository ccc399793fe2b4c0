// HEIF files for the tests, natively only: the Windows build has no HEVC or AV1 encoder.
#include <stdlib.h>

#include <libheif/heif.h>
#include <png.h>

#include "imaging_fixture.h"

// x265 keeps one block of its own to the end of the process: not ours to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }

namespace {

// The picture (and alpha) as a PNG file heif-enc reads: 8-bit, or 16-bit with each sample
// scaled from 8 bits (v × 257), which heif-enc takes to its own depth.
bool writeSourcePng(const std::string& path, const Picture& picture,
                    const std::vector<uint8_t>& alpha, bool deep) {
    const bool hasAlpha = !alpha.empty();
    PngImage image = {picture.width,
                      picture.height,
                      hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                      deep ? 16 : 8,
                      false,
                      {},
                      {},
                      -1};
    for (size_t i = 0; i < size_t(picture.width) * picture.height; ++i) {
        for (int c = 0; c < 3; ++c)
            image.samples.push_back(picture.rgb[3 * i + c] * (deep ? 257 : 1));
        if (hasAlpha) image.samples.push_back(alpha[i] * (deep ? 257 : 1));
    }
    return writePng(path, image);
}

// heif-enc 1.15 does not carry a JPEG's EXIF orientation over: a rotated or mirrored file is
// encoded through the library, which writes the same irot and imir boxes a camera does.
bool encodeOriented(const std::string& path, const Picture& picture, bool avif, int orientation) {
    heif_context* context = heif_context_alloc();
    heif_image* image = nullptr;
    heif_encoder* encoder = nullptr;
    bool ok = heif_image_create(int(picture.width), int(picture.height), heif_colorspace_RGB,
                                heif_chroma_interleaved_RGB, &image)
                      .code == heif_error_Ok &&
              heif_image_add_plane(image, heif_channel_interleaved, int(picture.width),
                                   int(picture.height), 8)
                      .code == heif_error_Ok;
    if (ok) {
        int stride = 0;
        uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (uint32_t y = 0; y < picture.height; ++y)
            std::copy_n(&picture.rgb[size_t(y) * picture.width * 3], picture.width * 3,
                        rows + size_t(y) * stride);
        ok = heif_context_get_encoder_for_format(
                 context, avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder)
                 .code == heif_error_Ok;
    }
    if (ok) {
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_encoder_set_parameter_string(encoder, "chroma", "444");
        heif_encoding_options* options = heif_encoding_options_alloc();
        options->image_orientation = heif_orientation(orientation);
        ok = heif_context_encode_image(context, image, encoder, options, nullptr).code ==
                 heif_error_Ok &&
             heif_context_write_to_file(context, path.c_str()).code == heif_error_Ok;
        heif_encoding_options_free(options);
    }
    if (encoder != nullptr) heif_encoder_release(encoder);
    heif_image_release(image);
    heif_context_free(context);
    return ok;
}

} // namespace

bool writeHeif(const std::string& path, const Picture& picture, const std::vector<uint8_t>& alpha,
               const HeifEncoding& encoding) {
    if (encoding.orientation != 1)
        return encodeOriented(path, picture, encoding.avif, encoding.orientation);
    const std::string png = path + ".png";
    std::string command = "heif-enc -q 90 -o '" + path + "'";
    if (encoding.avif) command += " -A";
    if (encoding.bits > 8) command += " -b " + std::to_string(encoding.bits);
    if (encoding.chroma444) command += " -p chroma=444";
    command += " '" + png + "' > /dev/null";
    bool ok =
        writeSourcePng(png, picture, alpha, encoding.bits > 8) && system(command.c_str()) == 0;
    testing_support::removeFile(png);
    return ok;
}

Picture heifConvertDecode(const std::string& source, unsigned bits) {
    // heif-convert writes a PNG file (16-bit for deeper pictures, each sample widened by
    // repeating its bits, undone here), which pngtopam turns into the PAM file referenceDecode
    // reads. A file of several pictures gives one PNG file each, numbered from -1, the primary one
    // first.
    return referenceDecode(
        "sh -c 'o=heif-reference-$$; heif-convert \"$0\" $o.png > /dev/null &&"
        " { [ -f $o.png ] && pngtopam -alphapam $o.png || pngtopam -alphapam $o-1.png; };"
        " s=$?; rm -f $o.png $o-*.png; exit $s'",
        source, bits > 8 ? bits : 0);
}

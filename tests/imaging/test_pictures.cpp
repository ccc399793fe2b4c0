#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>
#include <png.h>
#include <setjmp.h>
#include <tiffio.h>
#include <webp/encode.h>

#include "imaging_fixture.h"

#include <math.h>

#include <algorithm>

#if defined(__SANITIZE_ADDRESS__)
// No test needs more than a few MiB at a time; a picture that claims huge dimensions must be
// refused before anything is allocated, so an allocation past this limit fails the run.
extern "C" const char* __asan_default_options() { return "max_allocation_size_mb=512"; }
#endif

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ")";
}

::testing::AssertionResult closeTo(const Rgb& expected, const Rgb& actual, int tolerance) {
    if (abs(expected.r - actual.r) <= tolerance && abs(expected.g - actual.g) <= tolerance &&
        abs(expected.b - actual.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected " << expected << " within " << tolerance << ", got " << actual;
}

Picture::Picture(uint32_t w, uint32_t h, Rgb fill) : width(w), height(h), rgb(size_t(w) * h * 3) {
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) set(x, y, fill);
}

Rgb Picture::at(uint32_t x, uint32_t y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

void Picture::set(uint32_t x, uint32_t y, Rgb colour) {
    uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

Picture quadrants(uint32_t width, uint32_t height) {
    Picture picture(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            bool right = x >= width / 2, bottom = y >= height / 2;
            picture.set(x, y, bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed));
        }
    return picture;
}

Picture photoLike(uint32_t width, uint32_t height) {
    Picture picture(width, height);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            int grain = int((noise >> 16) & 31) - 16;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            picture.set(x, y,
                        {clamp(int(x * 255 / width) + grain), clamp(int(y * 255 / height) - grain),
                         clamp(int((x ^ y) & 0xFF) / 2 + 64 + grain)});
        }
    return picture;
}

std::vector<uint8_t> alphaAcross(const Picture& picture) {
    std::vector<uint8_t> alpha;
    for (uint32_t i = 0; i < picture.width * picture.height; ++i)
        alpha.push_back(uint8_t(i % picture.width * 255 / (picture.width - 1)));
    return alpha;
}

Picture noise(uint32_t width, uint32_t height) {
    Picture picture(width, height);
    uint32_t state = width * 7919 + height;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            picture.set(x, y, {uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8)});
        }
    return picture;
}

std::vector<uint8_t> bgrOf(const Picture& picture) {
    std::vector<uint8_t> bgr(picture.rgb.size());
    for (size_t i = 0; i < bgr.size(); i += 3)
        bgr[i] = picture.rgb[i + 2], bgr[i + 1] = picture.rgb[i + 1], bgr[i + 2] = picture.rgb[i];
    return bgr;
}

Picture zonePlate(uint32_t width, uint32_t height, double spread) {
    Picture picture(width, height);
    const double k = 3.14159265358979 / (width > height ? width : height) / spread;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            double dx = x - width / 2.0, dy = y - height / 2.0;
            auto v = uint8_t(127.5 + 127.5 * cos(k * (dx * dx + dy * dy)));
            picture.set(x, y, {v, v, v});
        }
    return picture;
}

namespace {

// The source pixels that output pixel o covers along an axis, each with the share of it that
// lies in o's area (in units of 1 / source), or the one under o's centre when the axis grows.
std::vector<std::pair<uint32_t, double>> coverage(uint32_t o, uint32_t source, uint32_t out) {
    std::vector<std::pair<uint32_t, double>> taken;
    if (source < out) {
        for (uint32_t s = 0; s < source; ++s)
            if (2ull * out * s <= (2ull * o + 1) * source &&
                (2ull * o + 1) * source < 2ull * out * (s + 1))
                taken.push_back({s, 1});
        return taken;
    }
    double low = double(o) * source / out, high = double(o + 1) * source / out;
    for (uint32_t s = uint32_t(low); s < source && s < high; ++s) {
        double share = std::min<double>(s + 1, high) - std::max<double>(s, low);
        if (share > 0) taken.push_back({s, share});
    }
    return taken;
}

} // namespace

std::vector<double> exactAreaAverage(const Picture& picture, uint32_t outWidth,
                                     uint32_t outHeight) {
    std::vector<double> means;
    for (uint32_t y = 0; y < outHeight; ++y) {
        auto rows = coverage(y, picture.height, outHeight);
        for (uint32_t x = 0; x < outWidth; ++x) {
            auto columns = coverage(x, picture.width, outWidth);
            double sum[3] = {0, 0, 0}, weight = 0;
            for (auto& r : rows)
                for (auto& c : columns) {
                    Rgb p = picture.at(c.first, r.first);
                    double w = r.second * c.second;
                    sum[0] += w * p.r;
                    sum[1] += w * p.g;
                    sum[2] += w * p.b;
                    weight += w;
                }
            for (double channel : sum) means.push_back(channel / weight);
        }
    }
    return means;
}

double psnr(const std::vector<double>& reference, const std::vector<uint8_t>& samples) {
    if (reference.size() != samples.size() || samples.empty()) return 0;
    double squares = 0;
    for (size_t i = 0; i < samples.size(); ++i)
        squares += (reference[i] - samples[i]) * (reference[i] - samples[i]);
    if (squares == 0) return 999;
    return 10 * log10(255.0 * 255.0 * samples.size() / squares);
}

namespace {

bool writeJpeg(const std::string& path, uint32_t width, uint32_t height, int components,
               J_COLOR_SPACE input, const std::vector<uint8_t>& samples,
               void (*configure)(jpeg_compress_struct*, void*), void* context, int quality) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_stdio_dest(&encoder, file);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = components;
    encoder.in_color_space = input;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    if (configure != nullptr) configure(&encoder, context);
    jpeg_start_compress(&encoder, TRUE);
    size_t rowBytes = size_t(width) * components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&samples[encoder.next_scanline * rowBytes]);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    return fclose(file) == 0;
}

void fullChroma(jpeg_compress_struct* encoder, void*) {
    encoder->comp_info[0].h_samp_factor = 1;
    encoder->comp_info[0].v_samp_factor = 1;
}

struct FourColours {
    bool ycck, adobeMarker;
};

void fourColours(jpeg_compress_struct* encoder, void* context) {
    const FourColours* how = static_cast<const FourColours*>(context);
    jpeg_set_colorspace(encoder, how->ycck ? JCS_YCCK : JCS_CMYK);
    encoder->write_Adobe_marker = how->adobeMarker;
}

} // namespace

bool writeColourJpeg(const std::string& path, const Picture& picture, int quality,
                     bool subsampled) {
    return writeJpeg(path, picture.width, picture.height, 3, JCS_RGB, picture.rgb,
                     subsampled ? nullptr : fullChroma, nullptr, quality);
}

bool writeGreyJpeg(const std::string& path, uint32_t width, uint32_t height,
                   const std::vector<uint8_t>& grey) {
    return writeJpeg(path, width, height, 1, JCS_GRAYSCALE, grey, nullptr, nullptr, 95);
}

bool writeCmykJpeg(const std::string& path, uint32_t width, uint32_t height,
                   const std::vector<uint8_t>& cmyk, bool ycck, bool adobeMarker) {
    FourColours how = {ycck, adobeMarker};
    return writeJpeg(path, width, height, 4, JCS_CMYK, cmyk, fourColours, &how, 95);
}

bool writeShortestGreyJpeg(const std::string& path, uint32_t side) {
    auto twoScans = [](jpeg_compress_struct* encoder, void*) {
        static const jpeg_scan_info scans[] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
        encoder->scan_info = scans;
        encoder->num_scans = 2;
        encoder->optimize_coding = TRUE;
    };
    std::vector<uint8_t> grey(size_t(side) * side, 128);
    return writeJpeg(path, side, side, 1, JCS_GRAYSCALE, grey, twoScans, nullptr, 75);
}

bool writeTiff(const std::string& path, const std::vector<TiffImage>& images) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) return false;
    bool ok = true;
    for (const TiffImage& image : images) {
        const Picture& picture = image.picture;
        uint16_t samples = image.alpha.empty() ? 3 : 4;
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, image.compression);
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, image.orientation);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 16);
        if (samples == 4) {
            uint16_t extra = EXTRASAMPLE_ASSOCALPHA;
            TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
        }
        std::vector<uint8_t> row(size_t(picture.width) * samples);
        for (uint32_t r = 0; ok && r < picture.height; ++r) {
            // Bottom-left files store the picture's bottom row first.
            uint32_t y = image.orientation == ORIENTATION_BOTLEFT ? picture.height - 1 - r : r;
            for (uint32_t x = 0; x < picture.width; ++x) {
                Rgb c = picture.at(x, y);
                uint8_t* p = &row[size_t(x) * samples];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
                if (samples == 4) p[3] = image.alpha[size_t(y) * picture.width + x];
            }
            ok = TIFFWriteScanline(tiff, row.data(), r, 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tiff) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

int pngChannels(int colourType) {
    return colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
           : colourType == PNG_COLOR_TYPE_RGB     ? 3
           : colourType == PNG_COLOR_TYPE_GA      ? 2
                                                  : 1;
}

Rgb paletteColour(unsigned index) {
    return {uint8_t(index * 37 + 5), uint8_t(255 - index), uint8_t(index * index)};
}

bool writePng(const std::string& path, const PngImage& image) {
    // Rows as the file stores them: samples packed from the high bits, 16-bit ones big-endian.
    const unsigned channels = pngChannels(image.colourType), depth = image.depth;
    const size_t rowBytes = (size_t(image.width) * channels * depth + 7) / 8;
    std::vector<uint8_t> packed(rowBytes * image.height);
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = &packed[rowBytes * y];
        rows.push_back(row);
        for (size_t i = 0; i < size_t(image.width) * channels; ++i) {
            unsigned v = image.samples[size_t(y) * image.width * channels + i];
            if (depth == 16) {
                row[2 * i] = uint8_t(v >> 8);
                row[2 * i + 1] = uint8_t(v);
            } else {
                row[i * depth / 8] |= uint8_t(v << (8 - depth - i * depth % 8));
            }
        }
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, depth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_color> palette;
        for (unsigned i = 0; i < (1u << depth) && i < 256; ++i) {
            Rgb c = paletteColour(i);
            palette.push_back({c.r, c.g, c.b});
        }
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
        if (!image.paletteAlpha.empty())
            png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()),
                         nullptr);
    } else if (image.transparentValue >= 0) {
        png_uint_16 v = png_uint_16(image.transparentValue);
        png_color_16 colour = {0, v, v, v, v};
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    if (!image.exif.empty())
        png_set_eXIf_1(png, info, png_uint_32(image.exif.size()),
                       reinterpret_cast<png_bytep>(const_cast<char*>(image.exif.data())));
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

bool writeWebp(const std::string& path, const Picture& picture, const std::vector<uint8_t>& alpha,
               bool lossless, int quality) {
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < size_t(picture.width) * picture.height; ++i) {
        rgba.insert(rgba.end(), &picture.rgb[3 * i], &picture.rgb[3 * i + 3]);
        rgba.push_back(alpha.empty() ? 255 : alpha[i]);
    }
    int w = int(picture.width), h = int(picture.height);
    uint8_t* bytes = nullptr;
    size_t size = 0;
    if (alpha.empty())
        size = lossless ? WebPEncodeLosslessRGB(picture.rgb.data(), w, h, 3 * w, &bytes)
                        : WebPEncodeRGB(picture.rgb.data(), w, h, 3 * w, float(quality), &bytes);
    else
        size = lossless ? WebPEncodeLosslessRGBA(rgba.data(), w, h, 4 * w, &bytes)
                        : WebPEncodeRGBA(rgba.data(), w, h, 4 * w, float(quality), &bytes);
    bool ok = size > 0 &&
              testing_support::writeBytes(path, std::string(reinterpret_cast<char*>(bytes), size));
    WebPFree(bytes);
    return ok;
}

Rgb overBlack(unsigned r, unsigned g, unsigned b, unsigned alpha, unsigned maxval) {
    auto eight = [maxval](unsigned v) { return (v * 255 + maxval / 2) / maxval; };
    unsigned a = eight(alpha);
    auto over = [a](unsigned c) { return uint8_t((2 * c * a + 255) / 510); };
    return {over(eight(r)), over(eight(g)), over(eight(b))};
}

Picture referenceDecode(const std::string& command, const std::string& source,
                        unsigned widenedBits) {
    return referencePam(command + " '" + source + "'", widenedBits);
}

Picture referencePam(const std::string& commandLine, unsigned widenedBits) {
    std::string output = testing_support::testFileName(".pam");
    std::string line = commandLine + " > '" + output + "'";
    std::string pam = system(line.c_str()) == 0 ? testing_support::readBytes(output) : "";
    testing_support::removeFile(output);
    // The header as both tools write it; then grey or red, green, blue, each with alpha.
    unsigned width = 0, height = 0, depth = 0, maxval = 0;
    int end = 0;
    sscanf(pam.c_str(), "P7 WIDTH %u HEIGHT %u DEPTH %u MAXVAL %u TUPLTYPE %*s ENDHDR%n", &width,
           &height, &depth, &maxval, &end);
    const size_t bytes = maxval > 255 ? 2 : 1, count = size_t(width) * height * depth;
    if (end == 0 || (depth != 2 && depth != 4) || pam.size() != end + 1 + count * bytes)
        return Picture(0, 0);
    std::vector<unsigned> s;
    for (const uint8_t* p = reinterpret_cast<const uint8_t*>(&pam[end + 1]); s.size() < count;
         p += bytes)
        s.push_back(bytes == 2 ? p[0] << 8 | p[1] : p[0]);
    if (widenedBits > 0 && maxval == 65535) {
        for (unsigned& v : s) v >>= 16 - widenedBits;
        maxval = (1u << widenedBits) - 1;
    }
    Picture picture(width, height);
    for (size_t i = 0, k = 0; k < count; ++i, k += depth) {
        size_t g = depth == 2 ? k : k + 1, b = depth == 2 ? k : k + 2;
        picture.set(i % width, i / width, overBlack(s[k], s[g], s[b], s[k + depth - 1], maxval));
    }
    return picture;
}

bool writeClaimingTiff(const std::string& path, uint32_t width, uint32_t height) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    // Strips of 1000 rows (whose size a 32-bit libtiff still handles), the first one only
    // written, raw: the library never sets up a buffer for them, and the file stays small.
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1000);
    uint8_t strip[16] = {};
    bool ok = TIFFWriteRawStrip(tiff, 0, strip, sizeof strip) == tmsize_t(sizeof strip);
    TIFFClose(tiff);
    return ok;
}

uint32_t BitmapFile::field(size_t offset, int size) const {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes.at(offset + i));
    return value;
}

Rgb BitmapFile::pixel(uint32_t x, uint32_t y) const {
    size_t at = 54 + (size_t(height()) - 1 - y) * stride() + size_t(x) * 3;
    return {uint8_t(bytes.at(at + 2)), uint8_t(bytes.at(at + 1)), uint8_t(bytes.at(at))};
}

std::string BitmapFile::fill(uint32_t row) const {
    size_t pixels = 3 * size_t(width());
    return bytes.substr(54 + row * stride() + pixels, stride() - pixels);
}

Picture BitmapFile::picture() const {
    Picture all{uint32_t(width()), uint32_t(height())};
    for (uint32_t y = 0; y < all.height; ++y)
        for (uint32_t x = 0; x < all.width; ++x) all.set(x, y, pixel(x, y));
    return all;
}

std::string expectedBitmap(const Picture& picture, uint32_t resolution) {
    std::string out;
    auto put = [&out](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
    };
    uint32_t stride = (3 * picture.width + 3) / 4 * 4;
    put(0x4D42, 2);
    put(54 + stride * picture.height, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(picture.width, 4);
    put(picture.height, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(0, 4);
    put(resolution, 4);
    put(resolution, 4);
    put(0, 4);
    put(0, 4);
    for (uint32_t k = 0; k < picture.height; ++k) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            Rgb c = picture.at(x, picture.height - 1 - k);
            put(c.b, 1);
            put(c.g, 1);
            put(c.r, 1);
        }
        out.append(stride - 3 * picture.width, '\0');
    }
    return out;
}

const PictureFormat kPictureFormats[5] = {
    {"bmp",
     [](const std::string& path, const Picture& picture) {
         return testing_support::writeBytes(path, expectedBitmap(picture, 0));
     }},
    {"jpg", [](const std::string& path,
               const Picture& picture) { return writeColourJpeg(path, picture, 95); }},
    {"tif",
     [](const std::string& path, const Picture& picture) {
         return writeTiff(path, {{picture, ORIENTATION_TOPLEFT, {}}});
     }},
    {"png",
     [](const std::string& path, const Picture& picture) {
         PngImage image = {picture.width, picture.height, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, -1};
         image.samples.assign(picture.rgb.begin(), picture.rgb.end());
         return writePng(path, image);
     }},
    {"webp", [](const std::string& path,
                const Picture& picture) { return writeWebp(path, picture, {}, true); }},
};

namespace {

void append16(std::string* bytes, bool bigEndian, uint32_t value) {
    char b[2] = {char(value), char(value >> 8)};
    if (bigEndian) std::swap(b[0], b[1]);
    bytes->append(b, 2);
}

void append32(std::string* bytes, bool bigEndian, uint32_t value) {
    append16(bytes, bigEndian, bigEndian ? value >> 16 : value & 0xFFFF);
    append16(bytes, bigEndian, bigEndian ? value & 0xFFFF : value >> 16);
}

void appendEntry(std::string* bytes, bool bigEndian, uint16_t tag, uint16_t type, uint32_t count,
                 uint32_t value) {
    append16(bytes, bigEndian, tag);
    append16(bytes, bigEndian, type);
    append32(bytes, bigEndian, count);
    if (type == 3) { // a SHORT sits in the first two bytes of the value field
        append16(bytes, bigEndian, value);
        append16(bytes, bigEndian, 0);
    } else {
        append32(bytes, bigEndian, value);
    }
}

std::string le32(uint32_t value) {
    std::string bytes;
    append32(&bytes, false, value);
    return bytes;
}

} // namespace

std::string exifBlock(bool bigEndian, uint16_t orientation) {
    std::string b = bigEndian ? "MM" : "II";
    append16(&b, bigEndian, 42);
    append32(&b, bigEndian, 8);
    append16(&b, bigEndian, 4);
    appendEntry(&b, bigEndian, 0x010F, 2, 4, 0x00414243); // Make, "CBA" inline
    appendEntry(&b, bigEndian, 0x0110, 2, 4, 0x00444546); // Model
    appendEntry(&b, bigEndian, 0x0112, 3, 1, orientation);
    appendEntry(&b, bigEndian, 0x011A, 5, 1, 8); // XResolution, a RATIONAL at 8 (absurd, unread)
    uint32_t ifd1 = uint32_t(b.size()) + 4;
    append32(&b, bigEndian, ifd1);
    append16(&b, bigEndian, 0);
    append32(&b, bigEndian, 0);
    return b;
}

std::string withApp1(const std::string& jpeg, const std::string& payload) {
    size_t length = payload.size() + 2;
    std::string segment = {char(0xFF), char(0xE1), char(length >> 8), char(length)};
    return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

std::string withExifChunk(const std::string& webp, uint32_t width, uint32_t height,
                          const std::string& exif) {
    // VP8X: flags (EXIF, bit 3), three reserved bytes, canvas width - 1 and height - 1 in 24
    // bits each.
    std::string vp8x = "VP8X" + le32(10) + std::string(1, char(0x08)) + std::string(3, '\0') +
                       le32(width - 1).substr(0, 3) + le32(height - 1).substr(0, 3);
    std::string chunk = "EXIF" + le32(uint32_t(exif.size())) + exif;
    if (exif.size() % 2 != 0) chunk += '\0';
    std::string body = "WEBP" + vp8x + webp.substr(12) + chunk;
    return "RIFF" + le32(uint32_t(body.size())) + body;
}

Picture upright(const Picture& stored, uint16_t orientation) {
    bool swapped = orientation >= 5 && orientation <= 8;
    uint32_t w = stored.width, h = stored.height;
    Picture result(swapped ? h : w, swapped ? w : h);
    for (uint32_t y = 0; y < result.height; ++y) {
        for (uint32_t x = 0; x < result.width; ++x) {
            uint32_t sx = x, sy = y; // 1: the first row on top, the first column on the left
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break; // first column on the right
            case 3:
                sx = w - 1 - x, sy = h - 1 - y;
                break; // first row at the bottom, ...
            case 4:
                sy = h - 1 - y;
                break; // first row at the bottom
            case 5:
                sx = y, sy = x;
                break; // first row on the left
            case 6:
                sx = y, sy = h - 1 - x;
                break; // first row on the right
            case 7:
                sx = w - 1 - y, sy = h - 1 - x;
                break; // on the right, column at bottom
            case 8:
                sx = w - 1 - y, sy = x;
                break; // on the left, column at bottom
            }
            result.set(x, y, stored.at(sx, sy));
        }
    }
    return result;
}

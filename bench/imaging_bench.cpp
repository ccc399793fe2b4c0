// Times convertJpegFile, convertTiffFile, convertPngFile, convertWebpFile and convertHeifFile
// (a HEIC and an AVIF) on a 6000 x 4000 photo-like picture, best of 5 runs each, next to the
// tools that do the same job, where they are installed; and convertJpegFile on the same JPEG as
// a phone held upright tags it (EXIF orientation 6) against ImageMagick's -auto-orient:
// and the composition of a two-monitor desktop against cp writing as many bytes; then the decode
// bounds: a 200-megapixel JPEG and the fuzz targets' bombs, each converted in a process of its
// own for its time and peak memory:
//   imaging_bench [folder] [desktop|bounds]   (the pictures and results are written in folder,
//   default "."; with "desktop" or "bounds", only that part runs)
#include <math.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <libheif/heif.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>

#include "bitmap_file.h"
#include "decode_bounds.h"
#include "desktop_composition.h"
#include "picture_files.h"

extern char** environ;

namespace {

const uint32_t kWidth = 6000, kHeight = 4000;

std::string readFile(const std::string& path);
const int kRuns = 5;

// Smooth shapes, edges and fine grain, so that both codecs work as on a photo. RGB, top down.
std::vector<uint8_t> photoLike() {
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
    std::vector<float> wave(kWidth);
    for (uint32_t x = 0; x < kWidth; ++x) wave[x] = 50 * sinf(x * 0.0031f) + 20 * sinf(x * 0.047f);
    uint32_t noise = 1;
    uint8_t* p = rgb.data();
    for (uint32_t y = 0; y < kHeight; ++y) {
        float sky = 40 * sinf(y * 0.0023f), ripple = 15 * sinf(y * 0.061f);
        for (uint32_t x = 0; x < kWidth; ++x, p += 3) {
            noise = noise * 1103515245u + 12345u;
            float grain = float((noise >> 16) & 15) - 7.5f;
            bool object = ((x / 700 + y / 500) & 3) == 0; // blocks with hard edges
            float base = 110 + wave[x] + sky + ripple + (object ? 45 : 0);
            auto clamp = [](float v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            p[0] = clamp(base + 30 + grain);
            p[1] = clamp(base + grain * 0.8f + (object ? -30 : 10));
            p[2] = clamp(255 - base + grain);
        }
    }
    return rgb;
}

// A baseline JPEG of quality 90 and 2 x 2 chroma, its rows given one at a time by fillRow.
bool writeJpegRows(const char* path, uint32_t width, uint32_t height,
                   const std::function<void(uint32_t y, uint8_t* row)>& fillRow) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_stdio_dest(&encoder, file);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 90, TRUE);
    jpeg_start_compress(&encoder, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (encoder.next_scanline < height) {
        fillRow(encoder.next_scanline, row.data());
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&encoder, &rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    return fclose(file) == 0;
}

bool writeJpeg(const char* path, const std::vector<uint8_t>& rgb) {
    return writeJpegRows(path, kWidth, kHeight, [&](uint32_t y, uint8_t* row) {
        memcpy(row, &rgb[size_t(y) * kWidth * 3], size_t(kWidth) * 3);
    });
}

// The JPEG file with an APP1 segment after its SOI marker holding EXIF data, big-endian, whose
// IFD0 has one entry: Orientation 6, to be turned 90 degrees clockwise.
bool writeRotatedJpeg(const std::string& jpeg, const std::string& rotated) {
    static const char kSegment[] = "\xFF\xE1\x00\x22"
                                   "Exif\0\0"
                                   "MM\0\x2A\0\0\0\x08"
                                   "\0\x01"
                                   "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
                                   "\0\0\0\0";
    std::string bytes = readFile(jpeg);
    if (bytes.size() < 2) return false;
    bytes.insert(2, kSegment, sizeof kSegment - 1);
    FILE* file = fopen(rotated.c_str(), "wb");
    bool ok = file != nullptr && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr) ok = fclose(file) == 0 && ok;
    return ok;
}

bool writeTiff(const char* path, const std::vector<uint8_t>& rgb) {
    TIFF* tiff = TIFFOpen(path, "w");
    if (tiff == nullptr) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    bool ok = true;
    for (uint32_t y = 0; ok && y < kHeight; ++y)
        ok = TIFFWriteScanline(tiff, const_cast<uint8_t*>(&rgb[size_t(y) * kWidth * 3]), y, 0) == 1;
    TIFFClose(tiff);
    return ok;
}

// libpng's defaults: zlib level 6, adaptive filters, as most programs write PNG files.
bool writePng(const char* path, const std::vector<uint8_t>& rgb) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < kHeight; ++y)
        png_write_row(png, const_cast<uint8_t*>(&rgb[size_t(y) * kWidth * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

bool writeWebp(const char* path, const std::vector<uint8_t>& rgb) {
    uint8_t* bytes = nullptr;
    size_t size = WebPEncodeRGB(rgb.data(), kWidth, kHeight, kWidth * 3, 90, &bytes);
    FILE* file = size > 0 ? fopen(path, "wb") : nullptr;
    bool ok = file != nullptr && fwrite(bytes, 1, size, file) == size;
    if (file != nullptr) ok = fclose(file) == 0 && ok;
    WebPFree(bytes);
    return ok;
}

// HEIC by x265 and AVIF by aom, through libheif: 8-bit 4:2:0 at quality 90, as phones save
// them, each encoder at its fastest setting so that making the pictures takes seconds.
bool writeHeif(const char* path, const std::vector<uint8_t>& rgb, bool avif) {
    heif_context* context = heif_context_alloc();
    heif_image* image = nullptr;
    heif_encoder* encoder = nullptr;
    bool ok =
        heif_image_create(kWidth, kHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image)
                .code == heif_error_Ok &&
        heif_image_add_plane(image, heif_channel_interleaved, kWidth, kHeight, 8).code ==
            heif_error_Ok &&
        heif_context_get_encoder_for_format(
            context, avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder)
                .code == heif_error_Ok;
    if (ok) {
        int stride = 0;
        uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (uint32_t y = 0; y < kHeight; ++y)
            memcpy(rows + size_t(y) * stride, &rgb[size_t(y) * kWidth * 3], kWidth * 3);
        heif_encoder_set_lossy_quality(encoder, 90);
        if (avif)
            heif_encoder_set_parameter_integer(encoder, "speed", 9);
        else
            heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
        ok = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code ==
                 heif_error_Ok &&
             heif_context_write_to_file(context, path).code == heif_error_Ok;
    }
    if (encoder != nullptr) heif_encoder_release(encoder);
    heif_image_release(image);
    heif_context_free(context);
    return ok;
}

double milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Best of kRuns, in milliseconds; negative when a run fails.
template <typename Run> double bestOf(Run run) {
    double best = -1;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        if (!run()) return -1;
        double took = milliseconds(std::chrono::steady_clock::now() - start);
        if (best < 0 || took < best) best = took;
    }
    return best;
}

// Runs a tool with its output thrown away, or its standard output written to output; true when
// it exits with 0.
bool runTool(const std::vector<std::string>& command, const char* output = "/dev/null") {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child;
    int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// What `convert` is here: only ImageMagick's is compared.
bool isImageMagick() {
    FILE* pipe = popen("convert -version 2>/dev/null", "r");
    if (pipe == nullptr) return false;
    char line[256] = "";
    bool found = false;
    while (fgets(line, sizeof line, pipe) != nullptr) found = found || strstr(line, "ImageMagick");
    pclose(pipe);
    return found;
}

std::string readFile(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char chunk[1 << 16];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

// The pixel rows of two bitmap files, each from its own pixel-data offset, compared.
bool sameRows(const std::string& ours, const std::string& theirs) {
    if (ours.size() < 54 || theirs.size() < 54) return false;
    auto offset = [](const std::string& b) {
        return size_t(uint8_t(b[10])) | size_t(uint8_t(b[11])) << 8 | size_t(uint8_t(b[12])) << 16;
    };
    return ours.compare(offset(ours), std::string::npos, theirs, offset(theirs)) == 0;
}

// The largest difference of one sample between two bitmap files of the same layout.
int largestDifference(const std::string& ours, const std::string& theirs) {
    int largest = 0;
    for (size_t i = 54; i < ours.size() && i < theirs.size(); ++i)
        largest = std::max(largest, abs(int(uint8_t(ours[i])) - int(uint8_t(theirs[i]))));
    return largest;
}

// A bitmap file's pixel rows against a binary PPM file's (P6, maxval 255).
bool sameAsPpm(const std::string& bitmap, const std::string& ppm) {
    unsigned width = 0, height = 0, maxval = 0;
    int header = 0;
    if (bitmap.size() < 54 ||
        sscanf(ppm.c_str(), "P6 %u %u %u%n", &width, &height, &maxval, &header) != 3 ||
        maxval != 255)
        return false;
    size_t stride = (3 * size_t(width) + 3) / 4 * 4, start = size_t(header) + 1;
    if (ppm.size() != start + 3 * size_t(width) * height || bitmap.size() != 54 + stride * height)
        return false;
    for (size_t y = 0; y < height; ++y) {
        const char* theirs = &ppm[start + 3 * width * y];
        const char* ours = &bitmap[54 + stride * (height - 1 - y)];
        for (size_t x = 0; x < width; ++x, theirs += 3, ours += 3)
            if (ours[0] != theirs[2] || ours[1] != theirs[1] || ours[2] != theirs[0]) return false;
    }
    return true;
}

double fileMegabytes(const std::string& path) { return readFile(path).size() / 1e6; }

void printOurs(const char* name, double ours) { printf("  %-26s %9.1f ms\n", name, ours); }

void printTool(const char* name, double took, double ours) {
    if (took < 0)
        printf("  %-26s not installed\n", name);
    else
        printf("  %-26s %9.1f ms   ours / this = %.2f\n", name, took, ours / took);
}

// The fastest of the tools that ran, or negative when none did.
double fastest(std::initializer_list<double> times) {
    double best = -1;
    for (double t : times)
        if (t >= 0 && (best < 0 || t < best)) best = t;
    return best;
}

void printGoal(const char* name, double ours, double theirs) {
    if (theirs < 0)
        printf("  %s: not measured\n", name);
    else
        printf("  %s: %s (%.2f)\n", name, ours <= theirs ? "met" : "NOT MET", ours / theirs);
}

// One format: ours against the format's own decoder, which writes a PPM file (to ppm, or to
// its standard output), and ImageMagick.
struct Contest {
    std::string title, picture, ours; // ours: our bitmap file
    bool (*convert)(const char*, const char*);
    const char* convertName;
    const char* toolName;
    std::vector<std::string> tool;
    bool toolToStdout;
    // When the tool writes no PPM file: what turns its output into one, on standard output.
    std::vector<std::string> toPpm = {};
};

// False when ours fails. *goal is the fastest of the others, negative when none ran.
bool compare(const Contest& c, const std::string& ppm, const std::string& magickOut, double* ours,
             double* goal) {
    printf("%s (%.1f MB), best of %d\n", c.title.c_str(), fileMegabytes(c.picture), kRuns);
    *ours = bestOf([&] { return c.convert(c.picture.c_str(), c.ours.c_str()); });
    if (*ours < 0) {
        fprintf(stderr, "imaging_bench: %s failed\n", c.convertName);
        return false;
    }
    printOurs(c.convertName, *ours);
    double tool =
        bestOf([&] { return runTool(c.tool, c.toolToStdout ? ppm.c_str() : "/dev/null"); });
    printTool(c.toolName, tool, *ours);
    if (tool >= 0 && !c.toPpm.empty()) runTool(c.toPpm, ppm.c_str());
    if (tool >= 0)
        printf("  pixel rows identical to %s's: %s\n", c.tool[0].c_str(),
               sameAsPpm(readFile(c.ours), readFile(ppm)) ? "yes" : "NO");
    double magick = -1;
    if (isImageMagick())
        magick = bestOf([&] { return runTool({"convert", c.picture, "BMP3:" + magickOut}); });
    printTool("convert (ImageMagick)", magick, *ours);
    if (magick >= 0) {
        const std::string oursBytes = readFile(c.ours), theirs = readFile(magickOut);
        bool same = sameRows(oursBytes, theirs);
        printf("  pixel rows identical to ImageMagick's: %s\n", same ? "yes" : "NO");
        // ImageMagick converts HEIF pictures' colours itself, rounding its own way.
        if (!same && oursBytes.size() == theirs.size())
            printf("  largest difference from ImageMagick's: %d levels\n",
                   largestDifference(oursBytes, theirs));
    }
    *goal = fastest({tool, magick});
    return true;
}

// A phone's largest photo, 16320 x 12240 (200 megapixels), as phones save it: baseline, quality
// 90, 2 x 2 chroma; the same kind of content as photoLike, made a row at a time.
bool writeLargeJpeg(const char* path, uint32_t width, uint32_t height) {
    uint32_t noise = 1;
    return writeJpegRows(path, width, height, [&](uint32_t y, uint8_t* row) {
        float sky = 40 * sinf(y * 0.0009f), ripple = 15 * sinf(y * 0.061f);
        for (uint32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            float grain = float((noise >> 16) & 15) - 7.5f;
            bool object = ((x / 1900 + y / 1400) & 3) == 0;
            float base = 110 + 50 * sinf(x * 0.0012f) + 20 * sinf(x * 0.047f) + sky + ripple +
                         (object ? 45 : 0);
            auto clamp = [](float v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            row[3 * x] = clamp(base + 30 + grain);
            row[3 * x + 1] = clamp(base + grain * 0.8f + (object ? -30 : 10));
            row[3 * x + 2] = clamp(255 - base + grain);
        }
    });
}

// A progressive file whose scans go on: a plain 6000 x 4000 picture, arithmetic-coded, its second
// scan (a few bytes for the whole picture) repeated 1000 times.
bool writeScanBomb(const char* path) {
    const uint32_t width = 6000, height = 4000;
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_mem_dest(&encoder, &bytes, &size);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    encoder.arith_code = TRUE;
    jpeg_simple_progression(&encoder);
    jpeg_start_compress(&encoder, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3, 128);
    JSAMPROW rows = row.data();
    while (encoder.next_scanline < height) jpeg_write_scanlines(&encoder, &rows, 1);
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    std::string jpeg(reinterpret_cast<char*>(bytes), size);
    free(bytes);
    size_t second = jpeg.find("\xFF\xDA", jpeg.find("\xFF\xDA") + 2);
    size_t third = jpeg.find("\xFF\xDA", second + 2);
    if (third == std::string::npos) return false;
    std::string scan = jpeg.substr(second, third - second), repeated;
    for (int i = 0; i < 1000; ++i) repeated += scan;
    jpeg.insert(third, repeated);
    FILE* file = fopen(path, "wb");
    bool ok = file != nullptr && fwrite(jpeg.data(), 1, jpeg.size(), file) == jpeg.size();
    if (file != nullptr) ok = fclose(file) == 0 && ok;
    return ok;
}

// One conversion in a process of its own (this program, run as imaging_bench --convert), so
// that the peak resident memory is the conversion's alone: the process's own high-water mark,
// which it prints (the rusage of a child also counts the parent's, taken over at exec).
struct Alone {
    bool ran, converted, targetLeft;
    double milliseconds, peakMegabytes;
};

Alone convertAlone(const char* self, const char* format, const std::string& source,
                   const std::string& target, const std::string& report) {
    Alone result = {};
    remove(target.c_str());
    const char* argv[] = {self, "--convert", format, source.c_str(), target.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, report.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child;
    auto start = std::chrono::steady_clock::now();
    int failed = posix_spawn(&child, self, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return result;
    result.milliseconds = milliseconds(std::chrono::steady_clock::now() - start);
    long peakKilobytes = 0;
    result.ran = sscanf(readFile(report).c_str(), "%ld", &peakKilobytes) == 1;
    result.converted = WEXITSTATUS(status) == 0;
    result.peakMegabytes = peakKilobytes / 1024.0;
    remove(report.c_str());
    FILE* left = fopen(target.c_str(), "rb");
    result.targetLeft = left != nullptr;
    if (left != nullptr) fclose(left);
    remove(target.c_str());
    return result;
}

} // namespace

// decode_bounds.h's rule at work: a real 200-megapixel JPEG still converts, within its budget,
// and each bomb the fuzz targets keep is refused within 0.5 s and 100 MB, leaving no target.
bool benchBounds(const std::string& folder, const char* self) {
    const uint32_t width = 16320, height = 12240;
    std::string large = folder + "/bench-200mp.jpg", target = folder + "/bounds.bmp",
                report = folder + "/bounds-peak.txt";
    if (!writeLargeJpeg(large.c_str(), width, height)) {
        fprintf(stderr, "imaging_bench: cannot write %s\n", large.c_str());
        return false;
    }
    double megabytes = fileMegabytes(large);
    printf("Decode bounds (decode_bounds.h), each conversion in a process of its own\n");
    Alone photo = convertAlone(self, "jpeg", large, target, report);
    double budget = imaging::decodeBudget(uint64_t(megabytes * 1e6)) / 1048576.0;
    printf("  JPEG %u x %u (200 MP), quality 90 (%.1f MB): %s in %.0f ms, peak %.0f MB "
           "(budget %.0f MB)\n",
           width, height, megabytes, photo.converted ? "converted" : "REFUSED", photo.milliseconds,
           photo.peakMegabytes, budget);
    remove(large.c_str());
    std::string scans = folder + "/bench-1010-scans.jpg";
    if (!writeScanBomb(scans.c_str())) {
        fprintf(stderr, "imaging_bench: cannot write %s\n", scans.c_str());
        return false;
    }
    Alone endless = convertAlone(self, "jpeg", scans, target, report);
    printf(
        "  JPEG 6000 x 4000 of 1010 scans, arithmetic, plain (%.0f KB): %s in %.0f ms, peak %.0f "
        "MB, %s\n",
        fileMegabytes(scans) * 1e3, endless.converted ? "CONVERTED" : "refused",
        endless.milliseconds, endless.peakMegabytes,
        endless.targetLeft ? "A TARGET LEFT" : "no target");
    remove(scans.c_str());
    bool bombsMet = true;
    const struct {
        const char* format;
        const char* file;
    } bombs[] = {
        {"jpeg", "jpeg_regressions/arithmetic_progressive_16x16_declaring_20000x20000.jpg"},
        {"jpeg", "jpeg_regressions/arithmetic_progressive_16x16_of_210_scans.jpg"},
        {"heif", "heif_regressions/hevc_16384x16384_behind_ispe_64x64.heic"},
        {"heif", "heif_regressions/av1_16384x16384_behind_ispe_64x64.avif"},
    };
    for (const auto& bomb : bombs) {
        std::string path = std::string(MURALTO_FUZZ_INPUTS) + "/" + bomb.file;
        Alone refused = convertAlone(self, bomb.format, path, target, report);
        printf("  %s (%.0f bytes): %s in %.1f ms, peak %.0f MB, %s\n", bomb.file,
               fileMegabytes(path) * 1e6, refused.converted ? "CONVERTED" : "refused",
               refused.milliseconds, refused.peakMegabytes,
               refused.targetLeft ? "A TARGET LEFT" : "no target");
        bombsMet = bombsMet && refused.ran && !refused.converted && !refused.targetLeft &&
                   refused.milliseconds < 500 && refused.peakMegabytes < 100;
    }
    printf("  200 MP JPEG converts within its budget: %s\n",
           photo.converted && photo.peakMegabytes <= budget ? "met" : "NOT MET");
    printf("  every bomb refused within 0.5 s and 100 MB, no target: %s\n",
           bombsMet ? "met" : "NOT MET");
    return photo.ran;
}

// A desktop of a 3840 x 2160 and a 1920 x 1080 monitor composed from two 6000 x 4000 pictures,
// fill on the first and fit on the second, and written as one bitmap file, against cp writing
// the same bytes: the scaling and one write are the whole cost.
bool benchDesktop(const std::string& folder) {
    std::string composed = folder + "/desktop.bmp", copied = folder + "/desktop-cp.bmp";
    std::vector<uint8_t> first = photoLike(), second(first.rbegin(), first.rend());
    const imaging::ScreenRect monitors[] = {{0, 0, 3840, 2160}, {3840, 0, 1920, 1080}};
    imaging::ScreenRect screen = imaging::virtualScreen(monitors, 2);
    // As the program holds it: the file's rows, bottom up, seen by the canvas from the top.
    const ptrdiff_t stride = ptrdiff_t(imaging::bitmapRowStride(uint32_t(screen.width)));
    std::vector<uint8_t> desktop(size_t(stride) * size_t(screen.height));
    imaging::DesktopCanvas canvas = {desktop.data() + (screen.height - 1) * stride,
                                     screen.width,
                                     screen.height,
                                     -stride,
                                     screen.left,
                                     screen.top};
    imaging::PixelsView pictures[] = {{first.data(), int(kWidth), int(kHeight), 3 * int(kWidth)},
                                      {second.data(), int(kWidth), int(kHeight), 3 * int(kWidth)}};
    printf("Desktop of 3840 x 2160 (fill) and 1920 x 1080 (fit) from two %u x %u pictures, "
           "best of %d\n",
           kWidth, kHeight, kRuns);
    auto compose = [&] {
        return imaging::drawMonitor(canvas, monitors[0], pictures[0], imaging::kPlaceFill) &&
               imaging::drawMonitor(canvas, monitors[1], pictures[1], imaging::kPlaceFit);
    };
    auto write = [&] {
        return imaging::writePreparedBitmapFile(composed.c_str(), uint32_t(screen.width),
                                                uint32_t(screen.height), 2835, desktop.data());
    };
    double ours = bestOf([&] { return compose() && write(); });
    if (ours < 0) {
        fprintf(stderr, "imaging_bench: the desktop could not be composed into %s\n",
                composed.c_str());
        return false;
    }
    printf("  %-26s %9.1f ms (%.1f MB)\n", "ours (compose and write)", ours,
           fileMegabytes(composed));
    // Its two parts on their own: the sum shows nothing but the scaling and one write is paid.
    printf("  %-26s %9.1f ms\n", "  the scaling alone", bestOf(compose));
    printf("  %-26s %9.1f ms\n", "  the write alone", bestOf(write));
    double cp = bestOf([&] { return runTool({"cp", composed, copied}); });
    printTool("cp of the same file", cp, ours);
    if (cp >= 0) printf("desktop / cp: %.2f\n", ours / cp);
    remove(composed.c_str());
    remove(copied.c_str());
    return true;
}

int main(int argc, char** argv) {
    if (argc == 5 && strcmp(argv[1], "--convert") == 0) {
        bool (*convert)(const char*, const char*) = convertJpegFile;
        if (strcmp(argv[2], "heif") == 0) convert = convertHeifFile;
        bool converted = convert(argv[3], argv[4]);
        // The high-water mark of resident memory, in kilobytes.
        long peak = -1;
        FILE* status = fopen("/proc/self/status", "r");
        char line[256];
        while (status != nullptr && fgets(line, sizeof line, status) != nullptr)
            sscanf(line, "VmHWM: %ld", &peak);
        if (status != nullptr) fclose(status);
        printf("%ld\n", peak);
        return converted ? 0 : 1;
    }
    std::string folder = argc > 1 ? argv[1] : ".";
    if (argc > 2 && strcmp(argv[2], "desktop") == 0) return benchDesktop(folder) ? 0 : 1;
    if (argc > 2 && strcmp(argv[2], "bounds") == 0)
        return benchBounds(folder, "/proc/self/exe") ? 0 : 1;
    std::string jpeg = folder + "/bench.jpg", tiff = folder + "/bench.tif";
    std::string ourJpeg = folder + "/ours-jpeg.bmp", ourTiff = folder + "/ours-tiff.bmp";
    std::string rotatedJpeg = folder + "/bench-orientation6.jpg",
                ourRotated = folder + "/ours-jpeg-orientation6.bmp";
    std::string djpegOut = folder + "/djpeg.bmp", tiff2rgbaOut = folder + "/tiff2rgba.tif",
                convertOut = folder + "/convert.bmp";

    std::string png = folder + "/bench.png", webp = folder + "/bench.webp";
    std::string ourPng = folder + "/ours-png.bmp", ourWebp = folder + "/ours-webp.bmp",
                toolPpm = folder + "/tool.ppm";
    std::string heic = folder + "/bench.heic", avif = folder + "/bench.avif";
    std::string ourHeic = folder + "/ours-heic.bmp", ourAvif = folder + "/ours-avif.bmp",
                toolPng = folder + "/tool.png";

    std::vector<uint8_t> rgb = photoLike();
    if (!writeJpeg(jpeg.c_str(), rgb) || !writeTiff(tiff.c_str(), rgb) ||
        !writePng(png.c_str(), rgb) || !writeWebp(webp.c_str(), rgb) ||
        !writeHeif(heic.c_str(), rgb, false) || !writeHeif(avif.c_str(), rgb, true)) {
        fprintf(stderr, "imaging_bench: cannot write the pictures into %s\n", folder.c_str());
        return 1;
    }
    rgb = std::vector<uint8_t>();
    if (!writeRotatedJpeg(jpeg, rotatedJpeg)) {
        fprintf(stderr, "imaging_bench: cannot write the turned JPEG into %s\n", folder.c_str());
        return 1;
    }

    printf("JPEG %u x %u, quality 90, 2 x 2 chroma (%.1f MB), best of %d\n", kWidth, kHeight,
           fileMegabytes(jpeg), kRuns);
    double oursJpeg = bestOf([&] { return convertJpegFile(jpeg.c_str(), ourJpeg.c_str()); });
    if (oursJpeg < 0) {
        fprintf(stderr, "imaging_bench: convertJpegFile failed\n");
        return 1;
    }
    printOurs("ours (convertJpegFile)", oursJpeg);
    double djpeg = bestOf([&] { return runTool({"djpeg", "-bmp", "-outfile", djpegOut, jpeg}); });
    printTool("djpeg -bmp", djpeg, oursJpeg);
    if (djpeg >= 0)
        printf("  pixel rows identical to djpeg's: %s\n",
               sameRows(readFile(ourJpeg), readFile(djpegOut)) ? "yes" : "NO");

    // The upright picture is 4000 x 6000: ImageMagick turns it as it writes it.
    printf("JPEG %u x %u as above, EXIF orientation 6 (%.1f MB), best of %d\n", kWidth, kHeight,
           fileMegabytes(rotatedJpeg), kRuns);
    double oursRotated =
        bestOf([&] { return convertJpegFile(rotatedJpeg.c_str(), ourRotated.c_str()); });
    if (oursRotated < 0) {
        fprintf(stderr, "imaging_bench: convertJpegFile failed on the turned JPEG\n");
        return 1;
    }
    printOurs("ours (convertJpegFile)", oursRotated);
    double magickRotated = -1;
    if (isImageMagick())
        magickRotated = bestOf([&] {
            return runTool({"convert", rotatedJpeg, "-auto-orient", "BMP3:" + convertOut});
        });
    printTool("convert -auto-orient", magickRotated, oursRotated);
    if (magickRotated >= 0)
        printf("  pixel rows identical to ImageMagick's: %s\n",
               sameRows(readFile(ourRotated), readFile(convertOut)) ? "yes" : "NO");

    printf("TIFF %u x %u, uncompressed RGB (%.1f MB), best of %d\n", kWidth, kHeight,
           fileMegabytes(tiff), kRuns);
    double oursTiff = bestOf([&] { return convertTiffFile(tiff.c_str(), ourTiff.c_str()); });
    if (oursTiff < 0) {
        fprintf(stderr, "imaging_bench: convertTiffFile failed\n");
        return 1;
    }
    printOurs("ours (convertTiffFile)", oursTiff);
    double tiff2rgba = bestOf([&] { return runTool({"tiff2rgba", tiff, tiff2rgbaOut}); });
    printTool("tiff2rgba", tiff2rgba, oursTiff);
    double magick = -1;
    if (isImageMagick())
        magick = bestOf([&] { return runTool({"convert", tiff, "BMP3:" + convertOut}); });
    printTool("convert (ImageMagick)", magick, oursTiff);

    char size[32];
    snprintf(size, sizeof size, "%u x %u", kWidth, kHeight);
    double oursPng = 0, pngGoal = -1, oursWebp = 0, webpGoal = -1;
    Contest pngContest = {std::string("PNG ") + size + ", 8-bit RGB, libpng's default compression",
                          png,
                          ourPng,
                          convertPngFile,
                          "ours (convertPngFile)",
                          "pngtopnm",
                          {"pngtopnm", png},
                          true};
    Contest webpContest = {std::string("WebP ") + size + ", lossy, quality 90",
                           webp,
                           ourWebp,
                           convertWebpFile,
                           "ours (convertWebpFile)",
                           "dwebp -ppm",
                           {"dwebp", "-ppm", webp, "-o", toolPpm},
                           false};
    // heif-convert writes only PNG (or JPEG) files of RGB pictures.
    auto heifContest = [&](const char* title, const std::string& picture, const std::string& ours) {
        return Contest{std::string(title) + size + ", 8-bit 4:2:0, quality 90",
                       picture,
                       ours,
                       convertHeifFile,
                       "ours (convertHeifFile)",
                       "heif-convert to PNG",
                       {"heif-convert", picture, toolPng},
                       false,
                       {"pngtopnm", toolPng}};
    };
    double oursHeic = 0, heicGoal = -1, oursAvif = 0, avifGoal = -1;
    if (!compare(pngContest, toolPpm, convertOut, &oursPng, &pngGoal) ||
        !compare(webpContest, toolPpm, convertOut, &oursWebp, &webpGoal) ||
        !compare(heifContest("HEIC (x265) ", heic, ourHeic), toolPpm, convertOut, &oursHeic,
                 &heicGoal) ||
        !compare(heifContest("AVIF (aom) ", avif, ourAvif), toolPpm, convertOut, &oursAvif,
                 &avifGoal))
        return 1;

    printf("Goals\n");
    if (djpeg >= 0)
        printf("  JPEG within 1.10 x of djpeg -bmp: %s (%.2f)\n",
               oursJpeg <= 1.10 * djpeg ? "met" : "NOT MET", oursJpeg / djpeg);
    else
        printf("  JPEG within 1.10 x of djpeg -bmp: not measured\n");
    printGoal("JPEG with orientation 6 no slower than ImageMagick's -auto-orient", oursRotated,
              magickRotated);
    if (magick >= 0)
        printf("  TIFF faster than ImageMagick: %s (%.2f)\n", oursTiff < magick ? "met" : "NOT MET",
               oursTiff / magick);
    else
        printf("  TIFF faster than ImageMagick: not measured\n");

    printGoal("PNG no slower than the fastest of pngtopnm and ImageMagick", oursPng, pngGoal);
    printGoal("WebP no slower than the fastest of dwebp and ImageMagick", oursWebp, webpGoal);
    printGoal("HEIC no slower than the fastest of heif-convert and ImageMagick", oursHeic,
              heicGoal);
    printGoal("AVIF no slower than the fastest of heif-convert and ImageMagick", oursAvif,
              avifGoal);

    for (const std::string& path : {ourJpeg, ourRotated, ourTiff, ourPng, ourWebp, ourHeic, ourAvif,
                                    djpegOut, tiff2rgbaOut, convertOut, toolPpm, toolPng})
        remove(path.c_str());
    return benchDesktop(folder) && benchBounds(folder, "/proc/self/exe") ? 0 : 1;
}

// Times convertJpegFile and convertTiffFile on a 6000 x 4000 photo-like picture, best of 5
// runs each, next to the tools that do the same job, where they are installed:
//   imaging_bench [folder]   (the pictures and results are written there; default ".")
#include <math.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

#include "picture_files.h"

extern char** environ;

namespace {

const uint32_t kWidth = 6000, kHeight = 4000;
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

bool writeJpeg(const char* path, const std::vector<uint8_t>& rgb) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_stdio_dest(&encoder, file);
    encoder.image_width = kWidth;
    encoder.image_height = kHeight;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 90, TRUE);
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < kHeight) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[size_t(encoder.next_scanline) * kWidth * 3]);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    return fclose(file) == 0;
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

// Runs a tool with its output thrown away; true when it exits with 0.
bool runTool(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
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

double fileMegabytes(const std::string& path) { return readFile(path).size() / 1e6; }

void printOurs(const char* name, double ours) { printf("  %-26s %9.1f ms\n", name, ours); }

void printTool(const char* name, double took, double ours) {
    if (took < 0)
        printf("  %-26s not installed\n", name);
    else
        printf("  %-26s %9.1f ms   ours / this = %.2f\n", name, took, ours / took);
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    std::string jpeg = folder + "/bench.jpg", tiff = folder + "/bench.tif";
    std::string ourJpeg = folder + "/ours-jpeg.bmp", ourTiff = folder + "/ours-tiff.bmp";
    std::string djpegOut = folder + "/djpeg.bmp", tiff2rgbaOut = folder + "/tiff2rgba.tif",
                convertOut = folder + "/convert.bmp";

    std::vector<uint8_t> rgb = photoLike();
    if (!writeJpeg(jpeg.c_str(), rgb) || !writeTiff(tiff.c_str(), rgb)) {
        fprintf(stderr, "imaging_bench: cannot write the pictures into %s\n", folder.c_str());
        return 1;
    }
    rgb = std::vector<uint8_t>();

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

    printf("Goals\n");
    if (djpeg >= 0)
        printf("  JPEG within 1.10 x of djpeg -bmp: %s (%.2f)\n",
               oursJpeg <= 1.10 * djpeg ? "met" : "NOT MET", oursJpeg / djpeg);
    else
        printf("  JPEG within 1.10 x of djpeg -bmp: not measured\n");
    if (magick >= 0)
        printf("  TIFF faster than ImageMagick: %s (%.2f)\n", oursTiff < magick ? "met" : "NOT MET",
               oursTiff / magick);
    else
        printf("  TIFF faster than ImageMagick: not measured\n");

    for (const std::string& path : {ourJpeg, ourTiff, djpegOut, tiff2rgbaOut, convertOut})
        remove(path.c_str());
    return 0;
}

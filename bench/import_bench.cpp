// The import of a 4000 x 3000 JPEG under Wine, step by step and whole, best and median of 5:
// the conversion alone, the load of the converted file, the preview (CopyImage's point
// sampling as before, then the area average with its file) and importWallpaper. Also writes
// previews-side-by-side.bmp: a zone plate's preview by CopyImage (left) and by the import.
//   import_bench [folder]   (the pictures are written there; default ".")
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app_state.h"
#include "data_folder.h"
#include "imaging_fixture.h"
#include "gdi_bitmap.h"
#include "wallpaper_import.h"
#include "picture_files.h"
#include "preview_bitmap.h"
#include "wallpaper_table.h"

namespace {

const int kRuns = 5;

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

void report(const char* what, const std::function<bool()>& step) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        double start = now();
        if (!step()) {
            printf("  %-40s failed\n", what);
            return;
        }
        times.push_back(now() - start);
    }
    std::sort(times.begin(), times.end());
    printf("  %-40s best %7.1f ms   median %7.1f ms\n", what, times[0], times[kRuns / 2]);
    fflush(stdout);
}

HBITMAP load(const std::string& path, UINT flags = LR_CREATEDIBSECTION) {
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | flags));
}

// Copies a 151 x 112 bitmap's pixels into columns x0.. of a 24-bit bottom-up picture.
void blit(HBITMAP bitmap, std::vector<uint8_t>& bits, int stride, int x0) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = PREVIEW_FILE_WIDTH;
    info.bmiHeader.biHeight = PREVIEW_FILE_HEIGHT;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const int rowBytes = (3 * PREVIEW_FILE_WIDTH + 3) & ~3;
    std::vector<uint8_t> own(rowBytes * PREVIEW_FILE_HEIGHT);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, PREVIEW_FILE_HEIGHT, own.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < PREVIEW_FILE_HEIGHT; ++y)
        memcpy(&bits[y * stride + 3 * x0], &own[y * rowBytes], 3 * PREVIEW_FILE_WIDTH);
}

void writeSideBySide(const std::string& folder) {
    std::string jpeg = folder + "\\plate.jpg", converted = folder + "\\plate.bmp";
    // The plate's rings reach the preview's finest detail a third of the way out.
    if (!writeColourJpeg(jpeg, zonePlate(4000, 3000, 16), 90) ||
        !convertJpegFile(jpeg.c_str(), converted.c_str()))
        return;
    HBITMAP full = load(converted);
    HBITMAP before = static_cast<HBITMAP>(
        CopyImage(full, IMAGE_BITMAP, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT, 0));
    HBITMAP after = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
    const int width = 2 * PREVIEW_FILE_WIDTH + 8, stride = (3 * width + 3) & ~3;
    std::vector<uint8_t> bits(stride * PREVIEW_FILE_HEIGHT, 0xFF);
    blit(before, bits, stride, 0);
    blit(after, bits, stride, PREVIEW_FILE_WIDTH + 8);
    BITMAPINFOHEADER header = {sizeof header,
                               width,
                               PREVIEW_FILE_HEIGHT,
                               1,
                               24,
                               BI_RGB,
                               static_cast<DWORD>(bits.size()),
                               0,
                               0,
                               0,
                               0};
    BITMAPFILEHEADER fileHeader = {
        0x4D42, static_cast<DWORD>(sizeof fileHeader + sizeof header + bits.size()), 0, 0,
        sizeof fileHeader + sizeof header};
    std::string out = folder + "\\previews-side-by-side.bmp";
    FILE* file = fopen(out.c_str(), "wb");
    if (file != nullptr) {
        fwrite(&fileHeader, sizeof fileHeader, 1, file);
        fwrite(&header, sizeof header, 1, file);
        fwrite(bits.data(), 1, bits.size(), file);
        fclose(file);
        printf("zone plate previews, CopyImage left and area average right: %s\n", out.c_str());
    }
    DeleteObject(before);
    DeleteObject(after);
    DeleteObject(full);
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    std::string jpeg = folder + "\\photo.jpg", converted = folder + "\\photo.bmp";
    std::string previewFile = folder + "\\preview.bmp";
    if (!writeColourJpeg(jpeg, photoLike(4000, 3000), 90, true)) {
        fprintf(stderr, "import_bench: cannot write %s\n", jpeg.c_str());
        return 1;
    }
    printf("Import of a 4000 x 3000 JPEG under Wine, %d runs each\n", kRuns);
    report("conversion (convertJpegFile)",
           [&] { return convertJpegFile(jpeg.c_str(), converted.c_str()); });
    report("load as a device bitmap (before)", [&] {
        HBITMAP full = load(converted, 0);
        return full != nullptr && DeleteObject(full);
    });
    report("load as a DIB section", [&] {
        HBITMAP full = load(converted);
        return full != nullptr && DeleteObject(full);
    });
    HBITMAP device = load(converted, 0);
    report("preview by CopyImage (before)", [&] {
        HBITMAP preview = static_cast<HBITMAP>(
            CopyImage(device, IMAGE_BITMAP, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT, 0));
        return preview != nullptr && DeleteObject(preview);
    });
    DeleteObject(device);
    HBITMAP full = load(converted);
    report("preview by area average", [&] {
        HBITMAP preview = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
        return preview != nullptr && DeleteObject(preview);
    });
    report("preview by area average, and its file", [&] {
        HBITMAP preview = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
        saveBitmapFile(&preview, previewFile.c_str());
        return preview != nullptr && DeleteObject(preview);
    });
    DeleteObject(full);

    initDataFolder(nullptr, 0);
    CreateDirectoryA(dataFolder, nullptr);
    CreateDirectoryA((std::string(dataFolder) + "\\previews").c_str(), nullptr);
    report("whole import (importWallpaper)", [&] {
        bool ok = importWallpaper(jpeg.c_str(), PICTURE_JPEG, nullptr) == IMPORT_OK;
        for (WallpaperEntry& entry : wallpaperTable) {
            if (!entry.used) continue;
            DeleteFileA(entry.filename);
            DeleteFileA(entry.preview);
        }
        clearTable(wallpaperTable);
        wallpaperCount = 0;
        return ok;
    });
    writeSideBySide(folder);
    return 0;
}

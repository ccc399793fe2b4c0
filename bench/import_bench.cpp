// The import under Wine, side by side in one run:
// 1. a 4000 x 3000 JPEG step by step and whole, best and median of 5: the conversion alone, the
//    load of the converted file, the preview (CopyImage's point sampling, then the area average
//    with its file) and importWallpaper, which makes its preview from the rows it writes. Also
//    writes previews-side-by-side.bmp: a zone plate's preview by CopyImage (left) and by the
//    area average (right);
// 2. 40 photos of 12 MP through the add flow, with one worker and with one per core;
// 3. Muralto.exe's start until its list shows 500 wallpapers, against one, and its GDI objects
//    then;
// 4. the decoding bombs kept among the fuzz inputs, each converted in a process of its own: its
//    time and the process's peak working set, and whether it left a target.
// Each comparison ends in a line "label: ratio".
//   import_bench [folder [programs [--start-up-only]]]   (the pictures are written in folder,
//       default "."; the start-up is timed when programs holds Muralto.exe, alone when asked)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "add_pictures.h"
#include "app_state.h"
#include "data_folder.h"
#include "gdi_bitmap.h"
#include "imaging_fixture.h"
#include "import_workers.h"
#include "interface_texts.h"
#include "muralto_files.h"
#include "muralto_run.h"
#include "picture_files.h"
#include "preview_bitmap.h"
#include "resource.h"
#include "settings.h"
#include "stale_files.h"
#include "test_bitmaps.h"
#include "wallpaper_import.h"
#include "wallpaper_list.h"
#include "wallpaper_table.h"

namespace {

const int kRuns = 5;

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

// The best of the times the step measures itself (in ms, 0 when it failed); 0 on a failure.
double reportTimed(const char* what, const std::function<double()>& step, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        double time = step();
        if (time <= 0) {
            printf("  %-40s failed\n", what);
            return 0;
        }
        times.push_back(time);
    }
    std::sort(times.begin(), times.end());
    printf("  %-40s best %7.1f ms   median %7.1f ms\n", what, times[0], times[runs / 2]);
    fflush(stdout);
    return times[0];
}

// The best time of the whole step, in ms; 0 when it failed.
double report(const char* what, const std::function<bool()>& step, int runs = kRuns) {
    return reportTimed(
        what,
        [&] {
            double start = now();
            return step() ? now() - start : 0.0;
        },
        runs);
}

void ratio(const char* label, double numerator, double denominator) {
    if (numerator > 0 && denominator > 0)
        printf("%s: %.2f\n", label, numerator / denominator);
    else
        printf("%s: not measured\n", label);
    fflush(stdout);
}

// Deletes every wallpaper's files and empties the table.
void emptyTable() {
    for (WallpaperEntry& entry : wallpaperTable) {
        if (!entry.used) continue;
        DeleteFileA(entry.filename);
        DeleteFileA(entry.preview);
    }
    clearTable(wallpaperTable);
    wallpaperCount = 0;
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

void printTimes(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    printf("  %-40s best %7.1f ms   median %7.1f ms\n", what, times[0], times[times.size() / 2]);
}

INT_PTR CALLBACK hostProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The photo copied under 40 names, selected at once as the open-file dialog returns them, and
// added through the add flow with one worker, then with one per core.
void benchAddFlow(const std::string& folder, const std::string& photo) {
    const int kPhotos = 40;
    std::string picks = folder + "\\picks";
    CreateDirectoryA(picks.c_str(), nullptr);
    std::vector<std::string> parts = {picks};
    for (int i = 0; i < kPhotos; ++i) {
        parts.push_back("photo " + std::to_string(i) + ".jpg");
        if (!CopyFileA(photo.c_str(), (picks + "\\" + parts.back()).c_str(), FALSE)) return;
    }
    appInstance = GetModuleHandleA(nullptr);
    installBuiltInTexts();
    HWND host = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, hostProc, 0);
    auto addAll = [&] {
        memset(openFileBuffer, 0, sizeof openFileBuffer);
        int at = 0;
        for (const std::string& part : parts)
            at += MultiByteToWideChar(CP_ACP, 0, part.c_str(), -1, openFileBuffer + at,
                                      OPEN_FILE_BUFFER_SIZE - at);
        SendDlgItemMessageA(host, IDC_LIST, LVM_DELETEALLITEMS, 0, 0);
        double start = now();
        runAddFlow(host, PICTURE_JPEG);
        double time = now() - start;
        bool all = wallpaperCount == kPhotos;
        emptyTable();
        return all ? time : 0.0;
    };
    const int kRounds = 3;
    printf("%d photos of 4000 x 3000 through the add flow, %d runs each\n", kPhotos, kRounds);
    // In turn, so that whatever else the machine does weighs on both alike.
    std::vector<double> one, all;
    for (int round = 0; round < kRounds; ++round) {
        importWorkersWanted = 1;
        one.push_back(addAll());
        importWorkersWanted = 0;
        all.push_back(addAll());
        if (one.back() <= 0 || all.back() <= 0) {
            printf("  not every photo was added\n");
            ratio("all cores / one worker", 0, 0);
            DestroyWindow(host);
            return;
        }
    }
    printTimes("one worker", one);
    char label[64];
    snprintf(label, sizeof label, "all cores (%d workers)", importWorkerCount());
    printTimes(label, all);
    ratio("all cores / one worker", *std::min_element(all.begin(), all.end()),
          *std::min_element(one.begin(), one.end()));
    DestroyWindow(host);
}

// From the program's start until its list shows every wallpaper; its GDI objects then, in *gdi.
double startUntilListed(const std::string& programs, int wallpapers, DWORD* gdi) {
    e2e::removeDataFolder();
    std::vector<e2e::Wallpaper> table;
    for (int i = 0; i < wallpapers; ++i)
        table.push_back({i, "picture " + std::to_string(i) + ".jpg", 60, 0});
    e2e::configureLarge({}, table);
    // Previews of their real size, as the import writes them.
    const std::string preview =
        testing_support::bitmapFileBytes(PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT, 0x336699);
    for (int i = 0; i < wallpapers; ++i) testing_support::writeBytes(e2e::previewPath(i), preview);

    double start = now();
    e2e::MuraltoRun run(programs + "\\Muralto.exe", programs, "");
    bool listed = run.findMainWindow(60000) &&
                  e2e::waitUntil([&] { return run.rowCount() == wallpapers; }, 60000);
    double elapsed = now() - start;
    *gdi = GetGuiResources(run.process(), GR_GDIOBJECTS);
    // Ended as a user ends it, its notification icon taken away: a killed program leaves the
    // shell a dead icon, which held up the next start by seconds.
    run.post(WM_CLOSE, 0, 0);
    if (!run.waitForExit(60000)) {
        TerminateProcess(run.process(), 0);
        run.waitForExit();
    }
    return listed ? elapsed : 0;
}

// The start-up's own steps with 500 wallpapers, in this process: where its time goes.
void startUpSteps() {
    appInstance = GetModuleHandleA(nullptr);
    initDataFolder(nullptr, 0);
    std::vector<e2e::Wallpaper> table;
    for (int i = 0; i < 500; ++i) table.push_back({i, "picture " + std::to_string(i), 60, 0});
    e2e::removeDataFolder();
    e2e::configureLarge({}, table);
    emptyTable();
    double start = now();
    loadSettings();
    double loaded = now();
    removeStaleFiles();
    double cleaned = now();
    HWND host = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, hostProc, 0);
    double created = now();
    refillList(host);
    double listed = now();
    printf("  its steps with 500, here: settings %.1f ms, clean-up %.1f ms, window %.1f ms, "
           "list %.1f ms\n",
           loaded - start, cleaned - loaded, created - cleaned, listed - created);
    // Every change the user makes is one such save of the whole table.
    std::vector<double> saves;
    for (int run = 0; run < 5; ++run) {
        double before = now();
        bool saved = saveSettings();
        saves.push_back(saved ? now() - before : -1);
    }
    std::sort(saves.begin(), saves.end());
    printf("  a save of the 500 wallpapers (six files): best %.1f ms, median %.1f ms%s\n", saves[0],
           saves[2], saves[0] < 0 ? " (a save failed)" : "");
    DestroyWindow(host);
    clearTable(wallpaperTable);
    wallpaperCount = 0;
}

// The two tables start in turn, so that whatever else the machine does weighs on both alike.
void benchStartUp(const std::string& programs, bool ownSteps) {
    const int kStarts = 5;
    printf("Muralto.exe from its start until its list shows the table, %d starts each\n", kStarts);
    DWORD gdiOne = 0, gdiMany = 0;
    std::vector<double> one, many;
    for (int start = 0; start < kStarts; ++start) {
        one.push_back(startUntilListed(programs, 1, &gdiOne));
        many.push_back(startUntilListed(programs, 500, &gdiMany));
        if (one.back() <= 0 || many.back() <= 0) {
            printf("  the program did not list its table\n");
            ratio("start-up 500 / 1", 0, 0);
            return;
        }
    }
    printTimes("one wallpaper", one);
    printTimes("500 wallpapers", many);
    // Wine may not count them: GetGuiResources then gives 0.
    printf("  GDI objects after start-up: %lu with one wallpaper, %lu with 500%s\n", gdiOne,
           gdiMany, gdiOne == 0 ? " (not counted here)" : "");
    if (ownSteps) startUpSteps();
    ratio("start-up 500 / 1", *std::min_element(many.begin(), many.end()),
          *std::min_element(one.begin(), one.end()));
    e2e::removeDataFolder();
}

// One conversion in this process, as "--convert jpeg|heif SOURCE TARGET" asks: a line with its
// time, the process's peak working set and what it left.
int convertOne(const char* kind, const char* source, const char* target) {
    double start = now();
    bool converted = strcmp(kind, "jpeg") == 0 ? convertJpegFile(source, target)
                                               : convertHeifFile(source, target);
    double time = now() - start;
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof memory);
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    bool left = GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES;
    printf("%s in %.1f ms, peak working set %.1f MB, %s\n", converted ? "converted" : "refused",
           time, memory.PeakWorkingSetSize / 1048576.0, left ? "a target left" : "no target");
    DeleteFileA(target);
    return 0;
}

// Each bomb in a process of its own, so that its peak is its own.
void benchBombs(const std::string& folder) {
    const char* const bombs[][2] = {
        {"jpeg", "jpeg_regressions/arithmetic_progressive_16x16_declaring_20000x20000.jpg"},
        {"jpeg", "jpeg_regressions/arithmetic_progressive_16x16_of_210_scans.jpg"},
        {"heif", "heif_regressions/hevc_16384x16384_behind_ispe_64x64.heic"},
        {"heif", "heif_regressions/av1_16384x16384_behind_ispe_64x64.avif"},
    };
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    printf("The decoding bombs, each converted in a process of its own\n");
    for (const auto& bomb : bombs) {
        std::string line = "\"" + std::string(self) + "\" --convert " + bomb[0] + " \"" +
                           MURALTO_FUZZ_INPUTS + "/" + bomb[1] + "\" \"" + folder + "\\bomb.bmp\"";
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        printf("  %-70s ", bomb[1]);
        fflush(stdout);
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process)) {
            printf("not started\n");
            continue;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && strcmp(argv[1], "--convert") == 0)
        return convertOne(argv[2], argv[3], argv[4]);
    std::string folder = argc > 1 ? argv[1] : ".";
    // Another build's program (an earlier one, say) is timed alone.
    if (argc > 3 && strcmp(argv[3], "--start-up-only") == 0) {
        benchStartUp(argv[2], false);
        return 0;
    }
    // The start-up's steps and the save, in this process only.
    if (argc > 1 && strcmp(argv[1], "--steps-only") == 0) {
        startUpSteps();
        e2e::removeDataFolder();
        return 0;
    }
    std::string jpeg = folder + "\\photo.jpg", converted = folder + "\\photo.bmp";
    std::string previewFile = folder + "\\preview.bmp";
    if (!writeColourJpeg(jpeg, photoLike(4000, 3000), 90, true)) {
        fprintf(stderr, "import_bench: cannot write %s\n", jpeg.c_str());
        return 1;
    }
    printf("Import of a 4000 x 3000 JPEG under Wine, %d runs each\n", kRuns);
    // Into a new file each time, as an import writes: replacing a 36 MB file costs its freeing.
    double conversion = reportTimed(
        "conversion (convertJpegFile)",
        [&] {
            DeleteFileA(converted.c_str());
            double start = now();
            return convertJpegFile(jpeg.c_str(), converted.c_str()) ? now() - start : 0.0;
        },
        kRuns);
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
    // The import alone: removing its files afterwards is no part of it.
    double import = reportTimed(
        "whole import (importWallpaper)",
        [&] {
            double start = now();
            bool ok = importWallpaper(jpeg.c_str(), PICTURE_JPEG, nullptr) == IMPORT_OK;
            double time = now() - start;
            emptyTable();
            return ok ? time : 0.0;
        },
        kRuns);
    ratio("import / conversion", import, conversion);
    writeSideBySide(folder);

    benchAddFlow(folder, jpeg);
    benchBombs(folder);
    if (argc > 2) benchStartUp(argv[2], true);
    return 0;
}

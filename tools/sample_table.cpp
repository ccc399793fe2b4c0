// Gives a Wine prefix of its own (make run's) a small table to start with, made by the program's
// own import from the pictures named on the command line, each shown for a few seconds in a mode
// that suits it, so that a first run shows the list, its previews and a changing desktop. Only
// on a first start: when the data folder holds settings of any kind, nothing is touched.
//   sample_table PICTURE...
// Exit codes: 0 done (or nothing to do), 1 failed.
#include <windows.h>

#include <shellapi.h>

#include <stdio.h>

#include "app_state.h"
#include "data_folder.h"
#include "desktop_wallpaper.h"
#include "file_probe.h"
#include "settings.h"
#include "unicode_text.h"
#include "wallpaper_import.h"
#include "wallpaper_table.h"

namespace {

const int SECONDS_SHOWN = 8;

// Portrait pictures fit the screen whole, small ones are tiled, and the rest take turns between
// filling the screen and the other modes, so that each mode shows once.
int modeFor(const WallpaperEntry& entry, int index) {
    if (entry.height > entry.width) return MODE_FIT;
    if (entry.width <= 256 && entry.height <= 256) return MODE_TILE;
    static const int OTHERS[] = {MODE_FILL, MODE_STRETCH, MODE_CENTRE, MODE_FILL};
    return OTHERS[index % (sizeof OTHERS / sizeof OTHERS[0])];
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t unusable[MAX_PATH] = L"";
    if (argv == nullptr || initDataFolder(unusable, MAX_PATH) != DATA_FOLDER_OK) {
        fprintf(stderr, "sample_table: no data folder\n");
        return 1;
    }
    // A first start creates the data folder and its previews folder, as the program's does.
    if (loadSettings() || configRefused) {
        printf("sample_table: %s has settings already\n", dataFolder);
        return 0;
    }
    int added = 0;
    for (int i = 1; i < argc; ++i) {
        char source[SOURCE_PATH_UTF8_SIZE];
        int slot = 0;
        if (!wideToUtf8(argv[i], source, sizeof source) ||
            importWallpaper(source, pictureKind(source), &slot) != IMPORT_OK) {
            fprintf(stderr, "sample_table: %ls could not be added\n", argv[i]);
            continue;
        }
        WallpaperEntry& entry = wallpaperTable[slot];
        entry.showTime = SECONDS_SHOWN;
        entry.showMode = modeFor(entry, added);
        ++added;
    }
    LocalFree(argv);
    if (added == 0 || !saveSettings()) {
        fprintf(stderr, "sample_table: no table was saved\n");
        return 1;
    }
    printf("sample_table: %d pictures in %s\n", added, dataFolder);
    return 0;
}

#include "stale_files.h"

#include <windows.h>

#include "app_state.h"
#include "bounded_text.h"
#include "file_probe.h"
#include "wallpaper_table.h"

namespace {

void removeIfStale(const char* path, bool (*referenced)(const WallpaperEntry*, const char*)) {
    if (fileCanBeOpened(path) && !referenced(wallpaperTable, path)) DeleteFileA(path);
}

} // namespace

void removeStaleFiles() {
    if (configRefused) return;
    for (int i = 0; i < MAX_WALLPAPERS; ++i) {
        char path[PATH_SIZE];
        if (formatText(path, sizeof path, "%s\\MUWallpaper%d.bmp", dataFolder, i))
            removeIfStale(path, hasFilename);
        if (formatText(path, sizeof path, "%s\\previews\\MU%d.bmp", dataFolder, i))
            removeIfStale(path, hasPreview);
    }
}

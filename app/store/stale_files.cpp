#include "stale_files.h"

#include <windows.h>

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "file_checks.h"
#include "settings_files.h"
#include "wallpaper_table.h"

namespace {

// The numbers of the converted wallpapers and previews that a kept-aside settings file names.
struct KeptNumbers {
    bool wallpaper[MAX_WALLPAPERS];
    bool preview[MAX_WALLPAPERS];
    bool all; // a file too large to read: everything is kept
};

// Far beyond any settings file the program writes (500 wallpapers take about 100 KB).
const long MAX_KEPT_FILE = 16L * 1024 * 1024;

// The number after prefix at text, when ".bmp" follows it; -1 otherwise.
int numberAfter(const char* text, const char* prefix) {
    size_t length = strlen(prefix);
    if (_strnicmp(text, prefix, length) != 0) return -1;
    const char* p = text + length;
    int number = 0, digits = 0;
    while (isdigit(static_cast<unsigned char>(*p)) && digits < 4) {
        number = number * 10 + (*p++ - '0');
        ++digits;
    }
    if (digits == 0 || _strnicmp(p, ".bmp", 4) != 0) return -1;
    return number < MAX_WALLPAPERS ? number : -1;
}

// The file is read as text, not through the store: the store refused it.
void noteNamesIn(const char* path, KeptNumbers* kept) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        kept->all = true; // there but unreadable: it may name any of them
        return;
    }
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
    char* text =
        size >= 0 && size <= MAX_KEPT_FILE ? static_cast<char*>(malloc(size + 1)) : nullptr;
    if (text == nullptr || fseek(file, 0, SEEK_SET) != 0 ||
        fread(text, 1, size, file) != static_cast<size_t>(size)) {
        kept->all = true;
    } else {
        text[size] = '\0';
        for (long i = 0; i < size; ++i) {
            int n = numberAfter(text + i, "MUWallpaper");
            if (n >= 0) kept->wallpaper[n] = true;
            n = numberAfter(text + i, "\\MU");
            if (n >= 0) kept->preview[n] = true;
        }
    }
    free(text);
    fclose(file);
}

void noteKeptAsideFiles(KeptNumbers* kept) {
    memset(kept, 0, sizeof *kept);
    char pattern[MAX_PATH];
    if (!keptAsidePattern(pattern, sizeof pattern)) {
        kept->all = true;
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char path[MAX_PATH];
        if (!formatText(path, sizeof path, "%s\\%s", dataFolder, found.cFileName)) {
            kept->all = true;
            continue;
        }
        noteNamesIn(path, kept);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void removeIfStale(const char* path, bool keptAside,
                   bool (*referenced)(const WallpaperEntry*, const char*)) {
    // The table first: a start with 500 wallpapers then opens none of their files.
    if (!keptAside && !referenced(wallpaperTable, path) && fileCanBeOpened(path)) DeleteFileA(path);
}

} // namespace

void removeStaleFiles() {
    if (configRefused) return;
    static KeptNumbers kept; // 1 KB: off the stack
    noteKeptAsideFiles(&kept);
    if (kept.all) return;
    for (int i = 0; i < MAX_WALLPAPERS; ++i) {
        char path[PATH_SIZE];
        if (formatText(path, sizeof path, "%s\\MUWallpaper%d.bmp", dataFolder, i))
            removeIfStale(path, kept.wallpaper[i], hasFilename);
        if (formatText(path, sizeof path, "%s\\previews\\MU%d.bmp", dataFolder, i))
            removeIfStale(path, kept.preview[i], hasPreview);
    }
}

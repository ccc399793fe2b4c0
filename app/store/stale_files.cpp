#include "stale_files.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "own_files.h"
#include "settings_files.h"
#include "wallpaper_table.h"

namespace {

// The numbers of the program's own wallpaper and preview files that are kept: named by the table
// or by a kept-aside settings file.
struct KeptNumbers {
    bool wallpaper[FILE_NUMBERS];
    bool preview[FILE_NUMBERS];
    bool all; // a file too large to read: everything is kept
};

// Far beyond any settings file the program writes (500 wallpapers take about 100 KB).
const long MAX_KEPT_FILE = 16L * 1024 * 1024;

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

// The numbers of the program's own files that the table names, kept as those of a kept-aside
// file are: by number, so that a name in another case is the same file, as for Windows.
void noteTableFiles(KeptNumbers* kept) {
    for (const WallpaperEntry& entry : wallpaperTable) {
        if (!entry.used) continue;
        const int wallpaper = ownWallpaperNumber(entry.filename);
        if (wallpaper >= 0) kept->wallpaper[wallpaper] = true;
        const int preview = ownPreviewNumber(entry.preview);
        if (preview >= 0) kept->preview[preview] = true;
    }
}

// Every file the pattern finds in folder that is the program's own (numbered as ownNumber tells)
// and not kept. Found by listing, so that every number is covered without opening a file.
void removeStaleIn(const char* folder, const char* pattern, int (*ownNumber)(const char*),
                   const bool* kept) {
    char search[MAX_PATH];
    if (!formatText(search, sizeof search, "%s%s", folder, pattern)) return;
    WIN32_FIND_DATAA found;
    HANDLE files = FindFirstFileA(search, &found);
    if (files == INVALID_HANDLE_VALUE) return;
    do {
        char path[PATH_SIZE];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ||
            !formatText(path, sizeof path, "%s\\%s", folder, found.cFileName))
            continue;
        const int number = ownNumber(path);
        if (number >= 0 && !kept[number]) DeleteFileA(path);
    } while (FindNextFileA(files, &found));
    FindClose(files);
}

} // namespace

void removeStaleFiles() {
    if (configRefused) return;
    static KeptNumbers kept; // 20 KB: off the stack
    noteKeptAsideFiles(&kept);
    if (kept.all) return;
    noteTableFiles(&kept);
    char previews[PATH_SIZE];
    removeStaleIn(dataFolder, "\\MUWallpaper*.bmp", ownWallpaperNumber, kept.wallpaper);
    if (formatText(previews, sizeof previews, "%s\\previews", dataFolder))
        removeStaleIn(previews, "\\MU*.bmp", ownPreviewNumber, kept.preview);
}

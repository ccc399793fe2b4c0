// The picture files the program makes in its data folder, by the names it gives them: the
// converted wallpapers dataFolder\MUWallpaper<n>.bmp and their previews
// dataFolder\previews\MU<n>.bmp, n from 0 to FILE_NUMBERS - 1. No other picture file is ever
// deleted, replaced or moved: a wallpaper whose settings name a file elsewhere (edited by hand,
// from an older copy) is shown and saved, and its file stays when its row goes.
#ifndef MURALTO_OWN_FILES_H
#define MURALTO_OWN_FILES_H

#include <stddef.h>

#include "wallpaper_table.h"

// Numbers a new file may take, and those the start-up clean-up looks at: the same range. Far
// more than 500 wallpapers and their leftovers can take.
enum { FILE_NUMBERS = 10000 };

// formatText patterns of the two names, given dataFolder and n.
extern const char WALLPAPER_FILE_PATTERN[];
extern const char PREVIEW_FILE_PATTERN[];

// The number n when text begins with prefix, then n in decimal below FILE_NUMBERS, then ".bmp"
// (case ignored); -1 otherwise.
int numberAfter(const char* text, const char* prefix);

// n when path is the program's own wallpaper (preview) file n, case ignored as Windows ignores
// it; -1 for any other path.
int ownWallpaperNumber(const char* path);
int ownPreviewNumber(const char* path);

// Deletes the wallpaper's converted file and its preview where they are the program's own.
void removeOwnFiles(const WallpaperEntry& entry);

#endif

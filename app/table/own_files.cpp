#include "own_files.h"

#include <windows.h>

#include <ctype.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"

const char WALLPAPER_FILE_PATTERN[] = "%s\\MUWallpaper%d.bmp";
const char PREVIEW_FILE_PATTERN[] = "%s\\previews\\MU%d.bmp";

namespace {

// The name is made again from the number found in it and compared whole, so that another
// folder, leading zeros or anything after ".bmp" make it another file.
int ownNumber(const char* path, const char* pattern, const char* prefix) {
    const char* name = path != nullptr ? strrchr(path, '\\') : nullptr;
    const int number = name != nullptr ? numberAfter(name + 1, prefix) : -1;
    char own[PATH_SIZE];
    if (number < 0 || !formatText(own, sizeof own, pattern, dataFolder, number)) return -1;
    return lstrcmpiA(own, path) == 0 ? number : -1;
}

} // namespace

int numberAfter(const char* text, const char* prefix) {
    const size_t length = strlen(prefix);
    if (_strnicmp(text, prefix, length) != 0) return -1;
    const char* p = text + length;
    int number = 0, digits = 0;
    while (isdigit(static_cast<unsigned char>(*p)) && number < FILE_NUMBERS) {
        number = number * 10 + (*p++ - '0');
        ++digits;
    }
    if (digits == 0 || number >= FILE_NUMBERS || _strnicmp(p, ".bmp", 4) != 0) return -1;
    return number;
}

int ownWallpaperNumber(const char* path) {
    return ownNumber(path, WALLPAPER_FILE_PATTERN, "MUWallpaper");
}

int ownPreviewNumber(const char* path) { return ownNumber(path, PREVIEW_FILE_PATTERN, "MU"); }

void removeOwnFiles(const WallpaperEntry& entry) {
    if (ownWallpaperNumber(entry.filename) >= 0) DeleteFileA(entry.filename);
    if (ownPreviewNumber(entry.preview) >= 0) DeleteFileA(entry.preview);
}

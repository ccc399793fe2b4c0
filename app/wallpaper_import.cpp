#include "wallpaper_import.h"

#include <commdlg.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "app_state.h"
#include "bounded_text.h"
#include "file_open.h"
#include "file_probe.h"
#include "gdi_bitmap.h"
#include "picture_files.h"
#include "preview_bitmap.h"
#include "unicode_text.h"
#include "wallpaper_table.h"
#include "wallpaper_title.h"

namespace {

// Far more numbers than 500 wallpapers and their leftovers can take.
const int MAX_FILE_NUMBER = 100000;

// The first name of the pattern, numbered from 0, for which no file can be opened.
bool firstFreeName(const char* pattern, char* path, size_t size) {
    for (int number = 0; number < MAX_FILE_NUMBER; ++number) {
        if (!formatText(path, size, pattern, dataFolder, number)) return false;
        if (!fileCanBeOpened(path)) return true;
    }
    return false;
}

bool copyBitmap(const char* source, const char* target) {
    wchar_t* from = imaging::newWidePath(source);
    wchar_t to[PATH_SIZE];
    bool copied = from != nullptr && ansiToWide(target, to, PATH_SIZE) && CopyFileW(from, to, TRUE);
    free(from);
    return copied;
}

// The source's path is UTF-8, the target's, in the data folder, in the ANSI code page.
bool makeConvertedFile(const char* source, const char* target, int pictureType) {
    if (pictureType == PICTURE_BITMAP) return copyBitmap(source, target);
    char targetUtf8[3 * PATH_SIZE];
    if (!ansiToUtf8(target, targetUtf8, sizeof targetUtf8)) return false;
    switch (pictureType) {
    case PICTURE_JPEG:
        return convertJpegFile(source, targetUtf8);
    case PICTURE_TIFF:
        return convertTiffFile(source, targetUtf8);
    case PICTURE_PNG:
        return convertPngFile(source, targetUtf8);
    case PICTURE_WEBP:
        return convertWebpFile(source, targetUtf8);
    case PICTURE_HEIF:
        return convertHeifFile(source, targetUtf8);
    default:
        return false;
    }
}

int failWith(const char* convertedFile) {
    DeleteFileA(convertedFile);
    return IMPORT_FAILED;
}

} // namespace

int importWallpaper(const char* source, int pictureType, int* importedSlot) {
    int slot = firstFreeSlot(wallpaperTable);
    if (slot < 0) return IMPORT_TABLE_FULL;
    if (source == nullptr) return IMPORT_FAILED;

    char filename[PATH_SIZE];
    char preview[PATH_SIZE];
    if (!firstFreeName("%s\\MUWallpaper%d.bmp", filename, sizeof filename)) return IMPORT_FAILED;
    if (!firstFreeName("%s\\previews\\MU%d.bmp", preview, sizeof preview)) return IMPORT_FAILED;
    if (!makeConvertedFile(source, filename, pictureType)) return IMPORT_FAILED;

    // A file that is no bitmap (a JPEG chosen under the bitmap filter, a damaged file) would
    // give a wallpaper without picture: refuse it.
    HBITMAP full = static_cast<HBITMAP>(LoadImageA(appInstance, filename, IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (full == nullptr) return failWith(filename);
    BITMAP description;
    memset(&description, 0, sizeof description);
    GetObjectA(full, sizeof description, &description);
    HBITMAP previewBitmap = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
    DeleteObject(full);
    if (previewBitmap == nullptr) return failWith(filename);
    char previewUtf8[3 * PATH_SIZE];
    if (ansiToUtf8(preview, previewUtf8, sizeof previewUtf8))
        saveBitmapFile(&previewBitmap, previewUtf8);
    if (!fileCanBeOpened(preview)) {
        DeleteObject(previewBitmap);
        return failWith(filename);
    }

    WallpaperEntry& entry = wallpaperTable[slot];
    memset(&entry, 0, sizeof entry);
    copyText(entry.filename, sizeof entry.filename, filename);
    copyText(entry.preview, sizeof entry.preview, preview);
    entry.previewBitmap = previewBitmap;
    entry.width = description.bmWidth;
    entry.height = description.bmHeight;
    entry.used = 1;
    pictureTitle(source, entry.original, entry.titleUtf8);
    entry.showTime = 60;
    entry.showMode = 0;
    ++wallpaperCount;
    if (importedSlot != nullptr) *importedSlot = slot;
    return IMPORT_OK;
}

void pictureTitle(const char* source, char* original, char* titleUtf8) {
    wchar_t path[SOURCE_PATH_SIZE];
    if (!utf8ToWide(source, path, SOURCE_PATH_SIZE)) {
        setTitle(L"", original, titleUtf8);
        return;
    }
    wchar_t shown[MAX_PATH] = L"";
    if (GetFileTitleW(path, shown, MAX_PATH) == 0) {
        setTitle(shown, original, titleUtf8);
        return;
    }
    const wchar_t* name = wcsrchr(path, L'\\');
    setTitle(name != nullptr ? name + 1 : path, original, titleUtf8);
}

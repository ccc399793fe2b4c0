// How the work is split. An import is one decode and one write: the converter hands each row it
// writes to the area-averaging scaler, so the preview is made on the way and the converted file
// is never read back; only its headers are checked. That part, convertPicture, reads nothing
// but its PictureConversion and touches nothing of the program, so the pictures of a selection
// are converted on worker threads, as many as the machine has cores (import_workers.h). All
// the rest stays on the main window's thread: choosing the target names before a conversion is
// handed out (chooseTargets, above the names held by those on their way), and,
// conversion by conversion in the selection's order, the slot, the table, the list's row, the
// settings and the texts (takeConversion and the add flow in ui/add_pictures.cpp). Bitmaps
// added as bitmaps are copied as they are and loaded once for their check and preview.
#include "wallpaper_import.h"

#include <commdlg.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "app_state.h"
#include "bitmap_file.h"
#include "bitmap_headers.h"
#include "bounded_text.h"
#include "file_checks.h"
#include "file_open.h"
#include "gdi_bitmap.h"
#include "heif_library.h"
#include "own_files.h"
#include "picture_files.h"
#include "preview_bitmap.h"
#include "streamed_preview.h"
#include "unicode_text.h"
#include "wallpaper_table.h"
#include "wallpaper_title.h"

namespace {

// The first name of the pattern, numbered from 0, for which no file can be opened, above every
// name held.
bool firstFreeName(const char* pattern, char* path, size_t size, const HeldTargets* held) {
    const int holds = held != nullptr ? held->count : 0;
    int heldSeen = 0, free = -1;
    for (int number = 0; number < FILE_NUMBERS; ++number) {
        if (!formatText(path, size, pattern, dataFolder, number)) return false;
        if (heldSeen < holds && held->isHeld(held->context, path)) {
            ++heldSeen;
            free = -1;
        } else if (free < 0 && !fileCanBeOpened(path)) {
            free = number;
        }
        if (free >= 0 && heldSeen >= holds)
            return formatText(path, size, pattern, dataFolder, free);
    }
    return false;
}

// Moves the file at path to the first free name of the pattern below it, if there is one. Held
// names all lie above it.
void moveToLowestFree(const char* pattern, char* path, size_t size) {
    char lower[PATH_SIZE];
    for (int number = 0; number < FILE_NUMBERS; ++number) {
        if (!formatText(lower, sizeof lower, pattern, dataFolder, number)) return;
        if (strcmp(lower, path) == 0) return;
        if (fileCanBeOpened(lower)) continue;
        if (MoveFileA(path, lower)) copyText(path, size, lower);
        return;
    }
}

bool copyBitmap(const char* source, const char* target) {
    wchar_t* from = imaging::newWidePath(source);
    wchar_t to[PATH_SIZE];
    bool copied = from != nullptr && ansiToWide(target, to, PATH_SIZE) && CopyFileW(from, to, TRUE);
    free(from);
    return copied;
}

// A file that is no bitmap (a JPEG chosen under the bitmap filter, a damaged file) would give a
// wallpaper without picture: it is refused. The whole file is loaded, since any bitmap the
// desktop takes is taken here, and its preview made from it.
bool previewOfCopiedBitmap(PictureConversion* c, const char* previewUtf8) {
    HBITMAP full = static_cast<HBITMAP>(LoadImageA(nullptr, c->filename, IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (full == nullptr) return false;
    BITMAP description;
    memset(&description, 0, sizeof description);
    GetObjectA(full, sizeof description, &description);
    HBITMAP previewBitmap = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
    DeleteObject(full);
    if (previewBitmap == nullptr) return false;
    saveBitmapFile(&previewBitmap, previewUtf8);
    DeleteObject(previewBitmap);
    c->width = description.bmWidth;
    c->height = description.bmHeight;
    return fileCanBeOpened(c->preview);
}

typedef bool (*Converter)(const char* source, const char* target,
                          const imaging::BitmapRowSink* rows);

Converter converterFor(int pictureType) {
    switch (pictureType) {
    case PICTURE_JPEG:
        return convertJpegFile;
    case PICTURE_TIFF:
        return convertTiffFile;
    case PICTURE_PNG:
        return convertPngFile;
    case PICTURE_WEBP:
        return convertWebpFile;
    case PICTURE_HEIF:
        return convertHeifFile;
    default:
        return nullptr;
    }
}

// Records the size the converter writes, for the slot and the check of the file.
struct WrittenSize {
    imaging::BitmapRowSink preview;
    uint32_t width, height;
};

bool noteSize(void* context, uint32_t width, uint32_t height) {
    WrittenSize* size = static_cast<WrittenSize*>(context);
    size->width = width;
    size->height = height;
    return size->preview.begin(size->preview.context, width, height);
}

void passRow(void* context, uint32_t fileRow, const uint8_t* bgr) {
    WrittenSize* size = static_cast<WrittenSize*>(context);
    size->preview.row(size->preview.context, fileRow, bgr);
}

// One decode and one write: the preview comes from the rows on their way to the file. The
// file's headers are checked against what was written, which the desktop then loads.
bool convertWithPreview(PictureConversion* c, const char* targetUtf8, const char* previewUtf8) {
    Converter convert = converterFor(c->pictureType);
    if (convert == nullptr) return false;
    imaging::StreamedPreview preview;
    imaging::startStreamedPreview(&preview, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
    WrittenSize size = {imaging::streamedPreviewRows(&preview), 0, 0};
    const imaging::BitmapRowSink rows = {noteSize, passRow, &size};
    bool ok = convert(c->source, targetUtf8, &rows) &&
              imaging::isWrittenBitmapFile(targetUtf8, size.width, size.height) &&
              size.width <= 0x7FFFFFFF && size.height <= 0x7FFFFFFF &&
              imaging::writeStreamedPreview(&preview, previewUtf8);
    imaging::releaseStreamedPreview(&preview);
    c->width = static_cast<int32_t>(size.width);
    c->height = static_cast<int32_t>(size.height);
    return ok;
}

} // namespace

bool chooseTargets(PictureConversion* c, const HeldTargets* held) {
    return firstFreeName(WALLPAPER_FILE_PATTERN, c->filename, sizeof c->filename, held) &&
           firstFreeName(PREVIEW_FILE_PATTERN, c->preview, sizeof c->preview, held);
}

void convertPicture(PictureConversion* c) {
    c->converted = false;
    c->width = c->height = 0;
    char targetUtf8[3 * PATH_SIZE], previewUtf8[3 * PATH_SIZE];
    if (!ansiToUtf8(c->filename, targetUtf8, sizeof targetUtf8) ||
        !ansiToUtf8(c->preview, previewUtf8, sizeof previewUtf8))
        return;
    if (c->pictureType == PICTURE_BITMAP)
        c->converted = copyBitmap(c->source, c->filename) && previewOfCopiedBitmap(c, previewUtf8);
    else
        c->converted = convertWithPreview(c, targetUtf8, previewUtf8);
    if (!c->converted) discardConversion(c);
}

void discardConversion(const PictureConversion* c) {
    DeleteFileA(c->filename);
    DeleteFileA(c->preview);
}

int takeConversion(PictureConversion* c, int* importedSlot) {
    if (!c->converted)
        return missingLibrary(c->pictureType) != nullptr ? IMPORT_NO_LIBRARY : IMPORT_FAILED;
    int slot = firstFreeSlot(wallpaperTable);
    if (slot < 0) {
        discardConversion(c);
        return IMPORT_TABLE_FULL;
    }
    moveToLowestFree(WALLPAPER_FILE_PATTERN, c->filename, sizeof c->filename);
    moveToLowestFree(PREVIEW_FILE_PATTERN, c->preview, sizeof c->preview);
    WallpaperEntry& entry = wallpaperTable[slot];
    memset(&entry, 0, sizeof entry);
    copyText(entry.filename, sizeof entry.filename, c->filename);
    copyText(entry.preview, sizeof entry.preview, c->preview);
    entry.width = c->width;
    entry.height = c->height;
    entry.used = 1;
    pictureTitle(c->source, entry.original, entry.titleUtf8);
    entry.showTime = 60;
    entry.showMode = 0;
    ++wallpaperCount;
    if (importedSlot != nullptr) *importedSlot = slot;
    return IMPORT_OK;
}

int importWallpaper(const char* source, int pictureType, int* importedSlot) {
    if (firstFreeSlot(wallpaperTable) < 0) return IMPORT_TABLE_FULL;
    if (source == nullptr) return IMPORT_FAILED;
    static PictureConversion conversion; // 13 KB: off the stack; main thread only
    memset(&conversion, 0, sizeof conversion);
    if (strlen(source) >= sizeof conversion.source) return IMPORT_FAILED;
    copyText(conversion.source, sizeof conversion.source, source);
    conversion.pictureType = pictureType;
    if (!chooseTargets(&conversion, nullptr)) return IMPORT_FAILED;
    convertPicture(&conversion);
    return takeConversion(&conversion, importedSlot);
}

const wchar_t* missingLibrary(int pictureType) {
    if (pictureType != PICTURE_HEIF || imaging::heifLibrary() != nullptr) return nullptr;
    return imaging::missingHeifLibrary();
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

// Turning one chosen picture into a wallpaper: its converted file, its preview file, and its
// slot. The files are made by a conversion that touches nothing of the program's state, so that
// worker threads can run it; the slot is filled afterwards on the main thread.
#ifndef MURALTO_WALLPAPER_IMPORT_H
#define MURALTO_WALLPAPER_IMPORT_H

#include <windows.h>

#include <stdint.h>

#include "wallpaper_table.h"

// The kind of picture, as the open-file dialog's filter index gives it.
enum {
    PICTURE_BITMAP = 1,
    PICTURE_JPEG = 2,
    PICTURE_TIFF = 3,
    PICTURE_PNG = 4,
    PICTURE_WEBP = 5,
    PICTURE_HEIF = 6, // HEIC, HEIF and AVIF
};

// IMPORT_NO_LIBRARY: the picture needs a library that is not beside the program
// (missingLibrary).
enum { IMPORT_OK = 1, IMPORT_TABLE_FULL = -1, IMPORT_FAILED = -2, IMPORT_NO_LIBRARY = -3 };
// The longest source path taken, in UTF-16 units with the terminator, and its UTF-8 form.
enum { SOURCE_PATH_SIZE = 4096, SOURCE_PATH_UTF8_SIZE = 3 * SOURCE_PATH_SIZE };
enum { PREVIEW_FILE_WIDTH = 151, PREVIEW_FILE_HEIGHT = 112 };

// Imports source (a UTF-8 path, of any length below SOURCE_PATH_SIZE) into the lowest free slot:
// copies a bitmap unchanged or converts a JPEG, a TIFF, a PNG, a WebP or a HEIF picture into the
// first free "MUWallpaper%d.bmp" of the data folder, makes the 151 x 112 preview and writes it to
// the first free "previews\MU%d.bmp", and fills the slot (60 seconds, centred), whose index goes to
// *slot; the caller shows its row. The preview bitmap is loaded when first drawn
// (slotPreview). IMPORT_TABLE_FULL touches nothing. IMPORT_FAILED when the picture cannot be
// copied, converted or loaded as a bitmap, or its preview cannot be made or written: whatever
// was made is removed and the slot stays free.
int importWallpaper(const char* source, int pictureType, int* slot);

// The same in its two halves. First, on any thread, the conversion: from source and
// pictureType into the two target files, which the main thread chose.
struct PictureConversion {
    char source[SOURCE_PATH_UTF8_SIZE];
    int pictureType;
    char filename[PATH_SIZE]; // in the ANSI code page, as the settings keep them
    char preview[PATH_SIZE];
    bool converted; // both files made; otherwise neither is left
    int32_t width, height;
};

// The target names that the conversions on their way hold (their files may not exist yet):
// count of them for each of the two patterns, each named by isHeld.
struct HeldTargets {
    bool (*isHeld)(void* context, const char* path);
    void* context;
    int count;
};

// Picks the first free names of both files for the conversion above every held one (null:
// none), so that the names follow the selection's order. False when none is free.
bool chooseTargets(PictureConversion* conversion, const HeldTargets* held);
// Makes both files, or neither. Reads nothing but the conversion and touches nothing else of
// the program: it runs on worker threads.
void convertPicture(PictureConversion* conversion);
// Then, on the main thread: the slot filled from a finished conversion, as importWallpaper
// returns it; a conversion that came to nothing, or a full table, leaves no file. Its files
// first move to the lowest free names below theirs, which an earlier conversion that failed
// may have freed: the files are named as when the pictures are imported one after another.
int takeConversion(PictureConversion* conversion, int* slot);
// The files of a conversion that will not become a wallpaper.
void discardConversion(const PictureConversion* conversion);

// The file a picture of pictureType needs and lacks beside the program (libheif.dll or
// libde265.dll for HEIC and AVIF), loading it the first time; null when it needs none or has it.
const wchar_t* missingLibrary(int pictureType);

// The title importWallpaper gives the picture at source (UTF-8): the title the user's shell shows
// for it (its last path part when the shell has none), as the two fields of a slot take it
// (wallpaper_title.h). Empty when source is not UTF-8.
void pictureTitle(const char* source, char* original, char* titleUtf8);

#endif

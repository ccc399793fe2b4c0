// The wallpaper table: 500 slots, each describing one picture the user added, and the
// settings beside it. A slot index is a wallpaper's identity within a run; slots are never
// compacted (a delete frees a slot where it stands, an import takes the lowest free one).
#ifndef MURALTO_WALLPAPER_TABLE_H
#define MURALTO_WALLPAPER_TABLE_H

#ifdef _WIN32
#include <windows.h>
#else
// The portable builds (the fuzz targets) fill and read the table but never draw it: there a
// preview bitmap is only a handle, always null.
typedef void* HBITMAP;
#endif

#include <stdint.h>

#include "picture_moment.h"

// A title is at most TITLE_SIZE - 1 characters (UTF-16 units); in UTF-8 each takes at most 3
// bytes.
enum {
    MAX_WALLPAPERS = 500,
    TITLE_SIZE = 50,
    TITLE_UTF8_SIZE = 3 * (TITLE_SIZE - 1) + 1,
    PATH_SIZE = 256
};

struct WallpaperEntry {
    uint8_t used;             // 1 when the slot holds a wallpaper
    char filename[PATH_SIZE]; // the converted bitmap file set on the desktop
    char preview[PATH_SIZE];  // the 151 x 112 preview bitmap file
    // The picture's title in the ANSI code page, as the settings have always held it: the
    // title itself when the code page has its letters, else as near as the code page comes.
    char original[TITLE_SIZE];
    // The title as the shell shows it, in UTF-8: the list's text. No two used slots share one.
    char titleUtf8[TITLE_UTF8_SIZE];
    HBITMAP previewBitmap; // owned by the slot; null until first drawn (slotPreview)
    uint8_t previewTried;  // its file was loaded once, whether or not it loaded
    int32_t width;
    int32_t height;
    int32_t showTime;     // seconds on the desktop
    int32_t showMode;     // 0 centred, 1 tiled, 2 stretched
    uint8_t shownInRound; // 1 once shown in the current random round (random_round.h)
    PictureMoment moment; // when in the day it is shown; zeroed: always
};

extern WallpaperEntry wallpaperTable[MAX_WALLPAPERS]; // changed by settings, import, main window
extern int32_t wallpaperCount; // used slots; kept equal to that count by every owner above

// The settings, with their start values until the configuration file gives others.
extern int32_t lastWall; // slot last put on the desktop; owner: sequencer (settings at load)
extern bool randomWall;  // random instead of table order; owner: main window
extern bool startWall;   // change once more at log-off; owner: main window
extern int32_t language; // interface language index; owner: main window
extern bool paused;      // no second is counted and nothing changes; owner: main window (tray menu)
// The sequence holds on its own while a full-screen program runs, or while Windows saves the
// battery; owner: main window (tray menu).
extern bool pauseForFullScreen;
// The pause came from a wallpaper chosen elsewhere; not saved. Owner: main window.
extern bool pausedForOtherWallpaper;
extern bool pauseOnBatterySaver;
extern bool matchShapes; // each monitor takes pictures of its shape; owner: main window (tray menu)

#ifdef _WIN32
// Releases every preview bitmap and resets all 500 slots; wallpaperCount is the caller's.
void clearTable(WallpaperEntry* table);

// The slot's preview bitmap, loaded from its file the first time it is asked for: start-up and
// the import load none, so a table costs no GDI object until its previews are looked at. Null
// when the file does not load, which is not tried again.
HBITMAP slotPreview(WallpaperEntry* entry);
#endif

// Lowest used slot whose titleUtf8 is text; 0 when none matches or an argument is null.
int findSlotByTitle(const WallpaperEntry* table, const char* text);
// Whether a used slot's titleUtf8 is text.
bool hasTitle(const WallpaperEntry* table, const char* text);
bool hasFilename(const WallpaperEntry* table, const char* path);
bool hasPreview(const WallpaperEntry* table, const char* path);

// Lowest used slot above slot, else the lowest used slot (possibly slot itself); 0 when none.
int nextUsedSlot(int slot, const WallpaperEntry* table);
// A used slot other than slot, drawn with tableRandom; the only used slot when there is one;
// 0 when none.
int randomUsedSlot(int slot, const WallpaperEntry* table);
// How many slots are used, counted rather than taken from wallpaperCount.
int usedCount(const WallpaperEntry* table);
// Lowest free slot; -1 when all are used or the table is null.
int firstFreeSlot(const WallpaperEntry* table);
// Whether a used slot is flagged shownInRound: a random round is under way and worth saving.
bool roundUnderWay(const WallpaperEntry* table);

// The C runtime's classic generator (state * 214013 + 2531011, bits 16 to 30), written out so
// that the sequence is the same whatever runtime the program is linked with. Never seeded: every
// run draws the same sequence.
struct RandomGenerator {
    uint32_t state = 1;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};
extern RandomGenerator tableRandom; // owner: randomUsedSlot

#endif

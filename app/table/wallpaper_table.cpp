#include "wallpaper_table.h"

#include <string.h>

WallpaperEntry wallpaperTable[MAX_WALLPAPERS];
int32_t wallpaperCount = 0;
int32_t lastWall = 0;
bool randomWall = true;
bool startWall = false;
int32_t language = 0;
bool paused = false;
bool pauseForFullScreen = true;
bool pausedForOtherWallpaper = false;
bool pauseOnBatterySaver = true;
bool matchShapes = true;
RandomGenerator tableRandom;

namespace {

// Lowest used slot whose field (picked by the accessor) equals text, or -1.
template <typename Field> int findUsed(const WallpaperEntry* table, const char* text, Field field) {
    if (table == nullptr || text == nullptr) return -1;
    for (int i = 0; i < MAX_WALLPAPERS; ++i)
        if (table[i].used && strcmp(field(table[i]), text) == 0) return i;
    return -1;
}

int lowestUsed(const WallpaperEntry* table) {
    for (int i = 0; i < MAX_WALLPAPERS; ++i)
        if (table[i].used) return i;
    return -1;
}

} // namespace

int usedCount(const WallpaperEntry* table) {
    int count = 0;
    for (int i = 0; i < MAX_WALLPAPERS; ++i) count += table[i].used ? 1 : 0;
    return count;
}

int findSlotByTitle(const WallpaperEntry* table, const char* text) {
    int slot = findUsed(table, text, [](const WallpaperEntry& e) { return e.titleUtf8; });
    return slot < 0 ? 0 : slot;
}

bool hasTitle(const WallpaperEntry* table, const char* text) {
    return findUsed(table, text, [](const WallpaperEntry& e) { return e.titleUtf8; }) >= 0;
}

bool hasFilename(const WallpaperEntry* table, const char* path) {
    return findUsed(table, path, [](const WallpaperEntry& e) { return e.filename; }) >= 0;
}

bool hasPreview(const WallpaperEntry* table, const char* path) {
    return findUsed(table, path, [](const WallpaperEntry& e) { return e.preview; }) >= 0;
}

int nextUsedSlot(int slot, const WallpaperEntry* table) {
    if (table == nullptr) return 0;
    for (int i = (slot < 0 ? 0 : slot + 1); i < MAX_WALLPAPERS; ++i)
        if (table[i].used) return i;
    int lowest = lowestUsed(table);
    return lowest < 0 ? 0 : lowest;
}

int randomUsedSlot(int slot, const WallpaperEntry* table) {
    if (table == nullptr) return 0;
    // The used slots are counted here rather than trusted from wallpaperCount, so that the
    // draw can never loop for ever on a table whose count is off.
    int used = usedCount(table);
    if (used == 0) return 0;
    int lowest = lowestUsed(table);
    if (used == 1) return lowest;
    for (;;) {
        int rank = tableRandom.next() % used;
        int candidate = lowest;
        for (int i = 0; i < rank; ++i) candidate = nextUsedSlot(candidate, table);
        if (candidate != slot) return candidate;
    }
}

int firstFreeSlot(const WallpaperEntry* table) {
    if (table == nullptr) return -1;
    for (int i = 0; i < MAX_WALLPAPERS; ++i)
        if (!table[i].used) return i;
    return -1;
}

bool roundUnderWay(const WallpaperEntry* table) {
    if (table == nullptr) return false;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        if (table[slot].used && table[slot].shownInRound) return true;
    return false;
}

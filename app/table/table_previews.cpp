// The slots' preview bitmaps, which are GDI objects: the Windows side of the table.
#include "wallpaper_table.h"

#include <string.h>

void clearTable(WallpaperEntry* table) {
    if (table == nullptr) return;
    for (int i = 0; i < MAX_WALLPAPERS; ++i) {
        if (table[i].previewBitmap != nullptr) DeleteObject(table[i].previewBitmap);
        memset(&table[i], 0, sizeof table[i]);
    }
}

HBITMAP slotPreview(WallpaperEntry* entry) {
    if (entry == nullptr) return nullptr;
    if (entry->previewBitmap == nullptr && !entry->previewTried) {
        entry->previewTried = 1;
        entry->previewBitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, entry->preview, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    }
    return entry->previewBitmap;
}

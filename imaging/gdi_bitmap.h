// Bitmaps in memory (GDI handles) written as 24-bit bitmap files. Windows only.
#ifndef MURALTO_GDI_BITMAP_H
#define MURALTO_GDI_BITMAP_H

#include <windows.h>

// Writes the bitmap whose handle is at `bitmap` to target (a UTF-8 path), replacing any file
// there, with 96 in both resolution fields. Pixels of 16 (5-6-5), 24 and 32 bits are converted;
// other depths give a black picture of the bitmap's size. No address does nothing. Reports
// nothing: on a failure no target is left.
void saveBitmapFile(HBITMAP* bitmap, const char* target);

#endif

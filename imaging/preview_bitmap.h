// The preview of a loaded picture, as a GDI bitmap. Windows only.
#ifndef MURALTO_PREVIEW_BITMAP_H
#define MURALTO_PREVIEW_BITMAP_H

#include <windows.h>

// A width x height bitmap compatible with the screen showing the whole of picture, reduced by
// area averaging (or enlarged, each pixel taking the one under its centre). The picture is read
// in bands of rows, never copied whole. Null when the picture cannot be read or the preview made.
HBITMAP makePreviewBitmap(HBITMAP picture, int width, int height);

#endif

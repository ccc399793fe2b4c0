#include "preview_bitmap.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "area_scale.h"

namespace {

const int BAND_ROWS = 64;

// 24-bit rows as a bottom-up DIB holds them: each padded to four bytes.
size_t rowBytes(int width) {
    return (3 * static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
}

BITMAPINFO describe24(int width, int height) {
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The picture's rows, fetched from GDI a band at a time as the scaler asks for them.
struct Bands {
    HDC dc;
    HBITMAP picture;
    int width, height;
    uint8_t* band;   // BAND_ROWS rows, bottom-up as GetDIBits gives them
    int first, rows; // the picture rows the band holds, from the top
};

const uint8_t* bandRow(void* context, int row) {
    Bands* b = static_cast<Bands*>(context);
    if (row < b->first || row >= b->first + b->rows) {
        int rows = b->height - row < BAND_ROWS ? b->height - row : BAND_ROWS;
        BITMAPINFO info = describe24(b->width, b->height);
        // Scan lines count from the bottom: this band's lowest row is the first one asked.
        UINT start = static_cast<UINT>(b->height - (row + rows));
        if (GetDIBits(b->dc, b->picture, start, static_cast<UINT>(rows), b->band, &info,
                      DIB_RGB_COLORS) != rows)
            return nullptr;
        b->first = row;
        b->rows = rows;
    }
    return b->band + rowBytes(b->width) * static_cast<size_t>(b->first + b->rows - 1 - row);
}

// A 24-bit DIB section's own rows, read in place.
struct DibRows {
    const uint8_t* top;
    ptrdiff_t stride;
};

const uint8_t* dibRow(void* context, int row) {
    const DibRows* d = static_cast<const DibRows*>(context);
    return d->top + d->stride * row;
}

bool readsInPlace(HBITMAP picture, DibRows* rows) {
    DIBSECTION dib;
    if (GetObjectA(picture, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 24 || dib.dsBmih.biCompression != BI_RGB)
        return false;
    GdiFlush();
    const ptrdiff_t stride = static_cast<ptrdiff_t>(rowBytes(dib.dsBm.bmWidth));
    const uint8_t* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    // A positive height is a bottom-up DIB: its top row is the last in memory.
    bool bottomUp = dib.dsBmih.biHeight > 0;
    rows->top = bottomUp ? bits + stride * (dib.dsBm.bmHeight - 1) : bits;
    rows->stride = bottomUp ? -stride : stride;
    return true;
}

bool scaleInto(HBITMAP picture, const BITMAP& description, HDC screen, uint8_t* top, int width,
               int height, ptrdiff_t outStride) {
    DibRows dib;
    if (readsInPlace(picture, &dib))
        return scaleByArea(dibRow, &dib, description.bmWidth, description.bmHeight, top, width,
                           height, outStride);
    uint8_t* band = static_cast<uint8_t*>(
        malloc(rowBytes(description.bmWidth) * static_cast<size_t>(BAND_ROWS)));
    if (band == nullptr) return false;
    Bands bands = {screen, picture, description.bmWidth, description.bmHeight, band, 0, 0};
    bool scaled = scaleByArea(bandRow, &bands, description.bmWidth, description.bmHeight, top,
                              width, height, outStride);
    free(band);
    return scaled;
}

} // namespace

HBITMAP makePreviewBitmap(HBITMAP picture, int width, int height) {
    BITMAP description;
    if (picture == nullptr || width <= 0 || height <= 0 ||
        GetObjectA(picture, sizeof description, &description) == 0 || description.bmWidth <= 0 ||
        description.bmHeight <= 0)
        return nullptr;
    const size_t outRow = rowBytes(width);
    uint8_t* out = static_cast<uint8_t*>(calloc(outRow, static_cast<size_t>(height)));
    HDC screen = GetDC(nullptr);
    HBITMAP preview = nullptr;
    // Written bottom-up, as the DIB below is laid out.
    if (out != nullptr && screen != nullptr &&
        scaleInto(picture, description, screen, out + outRow * static_cast<size_t>(height - 1),
                  width, height, -static_cast<ptrdiff_t>(outRow))) {
        BITMAPINFO info = describe24(width, height);
        preview = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, out, &info, DIB_RGB_COLORS);
    }
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    free(out);
    return preview;
}

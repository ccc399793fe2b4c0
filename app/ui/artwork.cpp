#include "artwork.h"

#include "app_state.h"
#include "resource.h"

namespace {

struct Art {
    int control;
    int bitmap1x;
    int bitmap2x;
    int width;
    int height;
};

const Art ARTS[] = {{IDC_BANNER, IDB_BANNER, IDB_BANNER_2X, BANNER_WIDTH, BANNER_HEIGHT},
                    {IDC_MONITOR, IDB_MONITOR, IDB_MONITOR_2X, MONITOR_WIDTH, MONITOR_HEIGHT}};

const Art* artOf(int control) {
    for (const Art& art : ARTS)
        if (art.control == control) return &art;
    return nullptr;
}

} // namespace

void drawPicture(HDC target, const RECT& to, HDC source, int width, int height) {
    int toWidth = to.right - to.left, toHeight = to.bottom - to.top;
    if (toWidth == width && toHeight == height) {
        BitBlt(target, to.left, to.top, width, height, source, 0, 0, SRCCOPY);
        return;
    }
    // Halftone averages the source pixels under each target pixel, where the default mode
    // drops rows and columns; once it is chosen the brush origin must be set again.
    int previousMode = SetStretchBltMode(target, HALFTONE);
    POINT previousOrigin;
    SetBrushOrgEx(target, 0, 0, &previousOrigin);
    StretchBlt(target, to.left, to.top, toWidth, toHeight, source, 0, 0, width, height, SRCCOPY);
    SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
    SetStretchBltMode(target, previousMode);
}

bool drawArtItem(const DRAWITEMSTRUCT& item) {
    const Art* art = artOf(static_cast<int>(item.CtlID));
    if (art == nullptr) return false;
    const RECT& area = item.rcItem;
    bool larger = area.right - area.left > art->width || area.bottom - area.top > art->height;
    int scale = larger ? 2 : 1;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(appInstance, MAKEINTRESOURCEA(larger ? art->bitmap2x : art->bitmap1x),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return true;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    drawPicture(item.hDC, area, memory, art->width * scale, art->height * scale);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return true;
}

void redrawArt(HWND dialog) {
    for (const Art& art : ARTS) {
        HWND control = GetDlgItem(dialog, art.control);
        if (control != nullptr) InvalidateRect(control, nullptr, TRUE);
    }
}

RECT previewRect(HWND mainWindow) {
    HWND monitor = GetDlgItem(mainWindow, IDC_MONITOR);
    RECT art = {0, 0, 0, 0};
    GetClientRect(monitor, &art);
    int width = art.right, height = art.bottom;
    MapWindowPoints(monitor, mainWindow, reinterpret_cast<POINT*>(&art), 2);
    return {art.left + MulDiv(GLASS_X, width, MONITOR_WIDTH),
            art.top + MulDiv(GLASS_Y, height, MONITOR_HEIGHT),
            art.left + MulDiv(GLASS_X + GLASS_WIDTH, width, MONITOR_WIDTH),
            art.top + MulDiv(GLASS_Y + GLASS_HEIGHT, height, MONITOR_HEIGHT)};
}

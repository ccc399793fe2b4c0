#include "composed_desktop.h"

#include <windows.h>

#include <versionhelpers.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "app_state.h"
#include "bitmap_file.h"
#include "unicode_text.h"
#include "wallpaper_table.h"

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";

// A picture file's pixels, as the composition takes them: rows from the top, blue, green, red.
struct LoadedPicture {
    uint8_t* bgr;
    imaging::PixelsView view;
};

// GDI reads every kind of bitmap file a wallpaper can be (converted ones, and bitmaps added as
// they were), and gives its rows in the one form asked for.
bool loadPicture(const char* path, LoadedPicture* picture) {
    *picture = {};
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return false;
    BITMAP shape;
    bool ok = GetObjectA(bitmap, sizeof shape, &shape) == sizeof shape && shape.bmWidth > 0 &&
              shape.bmHeight > 0;
    if (ok) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = shape.bmWidth;
        info.bmiHeader.biHeight = -shape.bmHeight; // from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        const ptrdiff_t stride = (3 * static_cast<ptrdiff_t>(shape.bmWidth) + 3) & ~3;
        picture->bgr = static_cast<uint8_t*>(malloc(static_cast<size_t>(stride) * shape.bmHeight));
        HDC screen = GetDC(nullptr);
        ok = picture->bgr != nullptr &&
             GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), picture->bgr, &info,
                       DIB_RGB_COLORS) == shape.bmHeight;
        ReleaseDC(nullptr, screen);
        picture->view = {picture->bgr, static_cast<int>(shape.bmWidth),
                         static_cast<int>(shape.bmHeight), stride};
    }
    DeleteObject(bitmap);
    if (!ok) {
        free(picture->bgr);
        *picture = {};
    }
    return ok;
}

// Windows 7 tiles from the primary monitor's corner, the virtual screen's (0, 0): the bitmap's
// first pixel must be that point's, and what lies left of or above it comes round at the far
// side, as the tiles bring it back.
void turnAroundPrimaryCorner(uint8_t* bgr, const imaging::ScreenRect& screen) {
    if (screen.left > 0 || screen.top > 0) return; // no primary monitor at (0, 0): as it is
    const size_t stride = 3 * static_cast<size_t>(screen.width);
    const size_t across = 3 * static_cast<size_t>(-screen.left);
    if (across != 0)
        for (int y = 0; y < screen.height; ++y)
            std::rotate(bgr + y * stride, bgr + y * stride + across, bgr + (y + 1) * stride);
    std::rotate(bgr, bgr + static_cast<size_t>(-screen.top) * stride,
                bgr + static_cast<size_t>(screen.height) * stride);
}

bool writeComposedFile(const char* path, uint8_t* bgr, const imaging::ScreenRect& screen) {
    char pending[MAX_PATH], pendingUtf8[4 * MAX_PATH];
    snprintf(pending, sizeof pending, "%s.new", path);
    if (!ansiToUtf8(pending, pendingUtf8, sizeof pendingUtf8)) return false;
    imaging::BitmapSource source = {static_cast<uint32_t>(screen.width),
                                    static_cast<uint32_t>(screen.height),
                                    2835, // 72 DPI, as Windows writes its own
                                    bgr,
                                    3 * static_cast<size_t>(screen.width),
                                    false,
                                    imaging::copyBgr};
    if (!imaging::writeBitmapFile(pendingUtf8, source)) return false;
    if (MoveFileExA(pending, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(pending);
    return false;
}

// REG_SZ data lengths count the terminating NUL.
void setText(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
}

void setSpanningWallpaper(const char* path, bool spans, bool refreshDesktop) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        setText(key, "ConvertedWallpaper", path);
        setText(key, "Wallpaper", path);
        setText(key, "WallpaperStyle", spans ? "22" : "0");
        setText(key, "TileWallpaper", spans ? "0" : "1");
        RegCloseKey(key);
    }
    if (refreshDesktop)
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path), SPIF_UPDATEINIFILE);
}

} // namespace

void composedDesktopPath(char* path, int size) {
    snprintf(path, static_cast<size_t>(size), "%s\\MUDesktop.bmp", dataFolder);
}

DesktopStyle systemDesktopStyle() {
    return IsWindows8OrGreater() ? SPAN_MONITORS : TILE_FROM_PRIMARY;
}

bool applyComposedDesktop(const MonitorLayout& layout, const int* slots, bool refreshDesktop,
                          DesktopStyle style) {
    const imaging::ScreenRect screen = imaging::virtualScreen(layout.monitors, layout.count);
    if (screen.width <= 0 || screen.height <= 0) return false;
    const size_t bytes = 3 * static_cast<size_t>(screen.width) * screen.height;
    // Black wherever no monitor is: those parts are never seen.
    uint8_t* bgr = static_cast<uint8_t*>(calloc(bytes, 1));
    if (bgr == nullptr) return false;
    imaging::DesktopCanvas canvas = {bgr,         screen.width, screen.height, 3 * screen.width,
                                     screen.left, screen.top};
    for (int i = 0; i < layout.count; ++i) {
        int slot = slots[i];
        LoadedPicture picture = {};
        if (slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used)
            loadPicture(wallpaperTable[slot].filename, &picture);
        // A picture that did not load leaves its monitor black rather than the desktop stale.
        imaging::drawMonitor(canvas, layout.monitors[i], picture.view,
                             picture.bgr != nullptr ? wallpaperTable[slot].showMode : 0);
        free(picture.bgr);
    }
    const bool spans = style == SPAN_MONITORS;
    if (!spans) turnAroundPrimaryCorner(bgr, screen);
    char path[MAX_PATH];
    composedDesktopPath(path, sizeof path);
    bool written = writeComposedFile(path, bgr, screen);
    free(bgr);
    if (written) setSpanningWallpaper(path, spans, refreshDesktop);
    return written;
}

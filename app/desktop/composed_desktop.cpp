#include "composed_desktop.h"

#include <windows.h>

#include <versionhelpers.h>

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "app_state.h"
#include "bitmap_file.h"
#include "bitmap_headers.h"
#include "unicode_text.h"
#include "wallpaper_table.h"

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";

// A picture file's pixels, as the composition takes them.
struct LoadedPicture {
    uint8_t* bgr;
    imaging::PixelsView view;
};

// GDI reads every kind of bitmap file a wallpaper can be (bitmaps added as they were), and gives
// its rows in the one form asked for.
bool loadThroughGdi(const char* path, LoadedPicture* picture) {
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
    return ok;
}

// A converted wallpaper is read in one go, its rows taken bottom-up as they are in the file;
// any other bitmap file goes through GDI.
bool loadPicture(const char* path, LoadedPicture* picture) {
    *picture = {};
    char utf8[4 * MAX_PATH];
    uint32_t width = 0, height = 0;
    if (ansiToUtf8(path, utf8, sizeof utf8) &&
        (picture->bgr = imaging::loadWrittenBitmapFile(utf8, &width, &height)) != nullptr &&
        width <= INT_MAX && height <= INT_MAX) {
        const ptrdiff_t stride = static_cast<ptrdiff_t>(imaging::bitmapRowStride(width));
        picture->view = {picture->bgr + (static_cast<ptrdiff_t>(height) - 1) * stride,
                         static_cast<int>(width), static_cast<int>(height), -stride};
        return true;
    }
    free(picture->bgr);
    *picture = {};
    if (loadThroughGdi(path, picture)) return true;
    free(picture->bgr);
    *picture = {};
    return false;
}

// The composed bitmap in memory as it goes into the file: rows bottom-up, each padded to a
// multiple of 4 bytes; the canvas sees it from the top.
struct DesktopBitmap {
    uint8_t* rows;
    imaging::ScreenRect screen;
    ptrdiff_t stride;
};

imaging::DesktopCanvas canvasOf(const DesktopBitmap& bitmap) {
    const imaging::ScreenRect& s = bitmap.screen;
    return {bitmap.rows + (static_cast<ptrdiff_t>(s.height) - 1) * bitmap.stride,
            s.width,
            s.height,
            -bitmap.stride,
            s.left,
            s.top};
}

// Windows 7 tiles from the primary monitor's corner, the virtual screen's (0, 0): the bitmap's
// first pixel must be that point's, and what lies left of or above it comes round at the far
// side, as the tiles bring it back. Rows are bottom-up in memory, so bringing the top ones
// round to the bottom turns them the other way there.
void turnAroundPrimaryCorner(const DesktopBitmap& bitmap) {
    const imaging::ScreenRect& screen = bitmap.screen;
    if (screen.left > 0 || screen.top > 0) return; // no primary monitor at (0, 0): as it is
    const size_t across = 3 * static_cast<size_t>(-screen.left);
    const size_t stride = static_cast<size_t>(bitmap.stride);
    if (across != 0)
        for (int y = 0; y < screen.height; ++y) {
            uint8_t* row = bitmap.rows + y * stride;
            std::rotate(row, row + across, row + 3 * static_cast<size_t>(screen.width));
        }
    std::rotate(bitmap.rows, bitmap.rows + static_cast<size_t>(screen.height + screen.top) * stride,
                bitmap.rows + static_cast<size_t>(screen.height) * stride);
}

bool writeComposedFile(const char* path, const DesktopBitmap& bitmap) {
    char pending[MAX_PATH], pendingUtf8[4 * MAX_PATH];
    snprintf(pending, sizeof pending, "%s.new", path);
    if (!ansiToUtf8(pending, pendingUtf8, sizeof pendingUtf8)) return false;
    // 72 DPI, as Windows writes its own.
    if (!imaging::writePreparedBitmapFile(pendingUtf8, static_cast<uint32_t>(bitmap.screen.width),
                                          static_cast<uint32_t>(bitmap.screen.height), 2835,
                                          bitmap.rows))
        return false;
    if (MoveFileExA(pending, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(pending);
    return false;
}

// What the composed file holds, so that a monitor whose picture did not change is not loaded and
// scaled again: its pixels are read back from the file with the others'. A picture file is
// known by its name, size and time of writing, since a deleted wallpaper's name is given again.
struct MonitorPicture {
    imaging::ScreenRect monitor;
    int mode;
    char path[MAX_PATH]; // empty: black, no picture
    WIN32_FILE_ATTRIBUTE_DATA file;
};

struct Composition {
    bool known; // false until a composition is written, and after one fails
    imaging::ScreenRect screen;
    int count;
    MonitorPicture monitors[MONITOR_CAPACITY];
    WIN32_FILE_ATTRIBUTE_DATA file; // the composed file's
};

Composition lastComposition;

bool sameRect(const imaging::ScreenRect& a, const imaging::ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

bool sameFile(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

bool fileAttributes(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    *data = {};
    return GetFileAttributesExA(path, GetFileExInfoStandard, data) != 0;
}

// The last composed file's rows, when it is still the one written for this screen; null to
// start from black.
uint8_t* lastComposedRows(const char* path, const imaging::ScreenRect& screen) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    char utf8[4 * MAX_PATH];
    if (!lastComposition.known || !sameRect(lastComposition.screen, screen) ||
        !fileAttributes(path, &now) || !sameFile(now, lastComposition.file) ||
        !ansiToUtf8(path, utf8, sizeof utf8))
        return nullptr;
    uint32_t width = 0, height = 0;
    uint8_t* rows = imaging::loadWrittenBitmapFile(utf8, &width, &height);
    if (rows != nullptr && (width != static_cast<uint32_t>(screen.width) ||
                            height != static_cast<uint32_t>(screen.height))) {
        free(rows);
        rows = nullptr;
    }
    return rows;
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
    const bool spans = style == SPAN_MONITORS;
    char path[MAX_PATH];
    composedDesktopPath(path, sizeof path);
    DesktopBitmap bitmap = {
        nullptr, screen,
        static_cast<ptrdiff_t>(imaging::bitmapRowStride(static_cast<uint32_t>(screen.width)))};
    // The tiled file is turned around the primary's corner, so only a spanning one is reused.
    bitmap.rows = spans ? lastComposedRows(path, screen) : nullptr;
    const bool reused = bitmap.rows != nullptr;
    size_t bytes = 0;
    // Black wherever no monitor is: those parts are never seen.
    if (!reused && imaging::bufferSize(static_cast<uint64_t>(bitmap.stride), screen.height, &bytes))
        bitmap.rows = static_cast<uint8_t*>(calloc(bytes, 1));
    if (bitmap.rows == nullptr) return false;
    Composition next = {true, screen, layout.count, {}, {}};
    const imaging::DesktopCanvas canvas = canvasOf(bitmap);
    for (int i = 0; i < layout.count; ++i) {
        MonitorPicture& shown = next.monitors[i];
        shown.monitor = layout.monitors[i];
        const int slot = slots[i];
        if (slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used &&
            fileAttributes(wallpaperTable[slot].filename, &shown.file)) {
            snprintf(shown.path, sizeof shown.path, "%s", wallpaperTable[slot].filename);
            shown.mode = wallpaperTable[slot].showMode;
        }
        const MonitorPicture& before = lastComposition.monitors[i];
        if (reused && i < lastComposition.count && sameRect(before.monitor, shown.monitor) &&
            before.mode == shown.mode && strcmp(before.path, shown.path) == 0 &&
            (shown.path[0] == '\0' || sameFile(before.file, shown.file)))
            continue;
        LoadedPicture picture = {};
        if (shown.path[0] == '\0' || !loadPicture(shown.path, &picture)) {
            shown.mode = 0;
            shown.path[0] = '\0';
        }
        // A picture that did not load leaves its monitor black rather than the desktop stale.
        imaging::drawMonitor(canvas, shown.monitor, picture.view, shown.mode);
        free(picture.bgr);
    }
    if (!spans) turnAroundPrimaryCorner(bitmap);
    lastComposition.known = false;
    bool written = writeComposedFile(path, bitmap);
    free(bitmap.rows);
    if (written && fileAttributes(path, &next.file)) lastComposition = next;
    if (written) setSpanningWallpaper(path, spans, refreshDesktop);
    return written;
}

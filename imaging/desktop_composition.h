// One bitmap of the whole virtual screen, each monitor's rectangle holding its own picture in
// its own mode at that monitor's resolution: what is set as the wallpaper spanning the
// monitors. Portable: the monitors come in as rectangles, the pictures as pixels in memory.
#ifndef MURALTO_DESKTOP_COMPOSITION_H
#define MURALTO_DESKTOP_COMPOSITION_H

#include <stddef.h>
#include <stdint.h>

namespace imaging {

// The wallpaper modes, as the wallpaper table stores them.
enum { kPlaceCentre = 0, kPlaceTile = 1, kPlaceStretch = 2, kPlaceFit = 3, kPlaceFill = 4 };

// A rectangle of the virtual screen, in its coordinates: the primary monitor's top left corner
// is (0, 0), so monitors left of or above it have negative ones.
struct ScreenRect {
    int left, top, width, height;
};

// Pixels in memory: rows from the top, stride bytes apart, each pixel blue, green, red.
struct PixelsView {
    const uint8_t* bgr;
    int width, height;
    ptrdiff_t stride;
};

// The bitmap being composed; its pixel (0, 0) is the virtual screen's point (left, top).
struct DesktopCanvas {
    uint8_t* bgr;
    int width, height;
    ptrdiff_t stride;
    int left, top;
};

// The smallest rectangle holding every monitor: the virtual screen. Empty (all zero) for no
// monitors or only empty ones.
ScreenRect virtualScreen(const ScreenRect* monitors, int count);

// Fills the monitor's part of the canvas: black, then the picture in the mode. Centred: at its
// own size, the odd spare (or cut) pixel on the right and at the bottom. Tiled: repeated from
// the monitor's top left corner. Stretched: to the monitor's size. Fit: the whole picture with
// its proportions, its sides rounded to the nearest pixel, centred between black bars. Fill: the
// middle part of the picture with the monitor's proportions (its sides rounded likewise),
// scaled to the monitor. Along an axis where the picture shrinks, each pixel is the mean of the
// area it covers; where it grows, the bilinear blend of the four nearest pixels. A mode outside
// 0 to 4 is taken as centred. False, with the monitor's part black or incomplete, when the
// picture is empty or memory runs short.
bool drawMonitor(const DesktopCanvas& canvas, const ScreenRect& monitor, const PixelsView& picture,
                 int mode);

} // namespace imaging

#endif

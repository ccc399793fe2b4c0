// With two or more monitors the program draws the desktop itself: one bitmap of the whole
// virtual screen, each monitor's rectangle holding its picture in that picture's mode, set as
// the wallpaper spanning the monitors.
#ifndef MURALTO_COMPOSED_DESKTOP_H
#define MURALTO_COMPOSED_DESKTOP_H

#include "monitor_layout.h"

// The composed file, beside the converted wallpapers: dataFolder\MUDesktop.bmp.
void composedDesktopPath(char* path, int size);

// How Windows shows the composed bitmap: spanning the monitors (Windows 8 and later), or, on
// Windows 7, which cannot span, tiled from the primary monitor's corner, the bitmap written
// turned around that corner so that the tiles show the same picture.
enum DesktopStyle { SPAN_MONITORS, TILE_FROM_PRIMARY };
DesktopStyle systemDesktopStyle();

// Composes slots[i]'s picture on monitor i of the layout (a slot that is not used, or whose file
// does not load, leaves its monitor black), writes the file beside the converted wallpapers
// complete before it replaces the last one (the desktop may be reading it), then writes the
// path and the style's values (WallpaperStyle 22 and TileWallpaper 0 to span, 0 and 1 to tile)
// into the desktop settings and, when refreshDesktop is true, has Windows load it at once.
// False, the desktop left as it was, when the canvas cannot be had or the file cannot be
// written.
bool applyComposedDesktop(const MonitorLayout& layout, const int* slots, bool refreshDesktop,
                          DesktopStyle style = systemDesktopStyle());

#endif

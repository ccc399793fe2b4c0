// With two or more monitors the program draws the desktop itself: one bitmap of the whole
// virtual screen, each monitor's rectangle holding its picture in that picture's mode, set as
// the wallpaper spanning the monitors.
#ifndef MURALTO_COMPOSED_DESKTOP_H
#define MURALTO_COMPOSED_DESKTOP_H

#include "monitor_layout.h"

// The composed file, beside the converted wallpapers: dataFolder\MUDesktop.bmp.
void composedDesktopPath(char* path, int size);

// Composes slots[i]'s picture on monitor i of the layout (a slot that is not used, or whose file
// does not load, leaves its monitor black), writes the file beside the converted wallpapers
// complete before it replaces the last one (the desktop may be reading it), then writes the
// path and the spanning style into the desktop settings and, when refreshDesktop is true, has
// Windows load it at once. On Windows 8 and later the style is "span" (WallpaperStyle 22); on
// Windows 7, which cannot span, the bitmap is tiled from the primary monitor's corner and so
// is written turned around that corner, which shows the same picture. False, the desktop left
// as it was, when the canvas cannot be had or the file cannot be written.
bool applyComposedDesktop(const MonitorLayout& layout, const int* slots, bool refreshDesktop);

#endif

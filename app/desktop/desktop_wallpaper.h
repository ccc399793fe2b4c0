// Putting a converted wallpaper on the Windows desktop.
#ifndef MURALTO_DESKTOP_WALLPAPER_H
#define MURALTO_DESKTOP_WALLPAPER_H

// Fit shows the whole picture scaled to the screen with its proportions kept; fill covers the
// screen, proportions kept, cutting the picture at the edges.
enum { MODE_CENTRE = 0, MODE_TILE = 1, MODE_STRETCH = 2, MODE_FIT = 3, MODE_FILL = 4 };

// Writes the path and the mode's style values into the current user's desktop settings, then,
// when refreshDesktop is true, has Windows load the picture at once. A mode outside 0 to 4
// leaves the style values as they were. Failures are silent: the desktop simply keeps what it
// shows.
void applyWallpaper(const char* path, int mode, bool refreshDesktop);

#endif

// Start-up clean-up of converted wallpapers and previews that no wallpaper refers to.
#ifndef MURALTO_STALE_FILES_H
#define MURALTO_STALE_FILES_H

// Deletes MUWallpaper0.bmp to MUWallpaper499.bmp and previews\MU0.bmp to MU499.bmp in the data
// folder when no used slot names them. Does nothing when a configuration file exists but could
// not be read, since the files it lists are the user's; and never deletes a file that a
// kept-aside settings file (Muralto-refused1.ini, ...) names, for the same reason.
void removeStaleFiles();

#endif

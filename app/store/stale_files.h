// Start-up clean-up of converted wallpapers and previews that no wallpaper refers to.
#ifndef MURALTO_STALE_FILES_H
#define MURALTO_STALE_FILES_H

// Deletes the program's own wallpaper and preview files in the data folder (MUWallpaper<n>.bmp
// and previews\MU<n>.bmp, every number a new file may take: own_files.h) that no used slot
// names. Does nothing when a configuration file exists but could not be read, since the files it
// lists are the user's; and never deletes a file that a kept-aside settings file
// (Muralto-refused1.ini, ...) names, for the same reason.
void removeStaleFiles();

#endif

// Loading and saving the settings and the wallpaper table through the configuration store.
#ifndef MURALTO_SETTINGS_H
#define MURALTO_SETTINGS_H

// How many wallpapers one configuration file holds: with the settings, 99 wallpapers of six
// members each fill up to 600 of a store's 600 member slots (a file holds fewer when titles
// need a seventh member, pictures an eighth for their moment, or the sequencer is paused in the
// middle of a round, see settings.cpp). Six files hold 500 wallpapers of six or seven members;
// a seventh is there for wallpapers of eight.
enum { WALLPAPERS_PER_FILE = 99, CONFIG_FILES = 7 };

// Reads the settings and the table. False when the configuration file cannot be opened (first
// run, or a file the store refuses): the data folder and its previews folder are then created
// and the table and settings keep their start values. A wallpaper whose preview does not load
// is left out with a warning.
bool loadSettings();

// Writes the settings and the table, replacing the files as one set (see settings.cpp). True
// once the new set is in place; false, with the previous files as they were, when a file could
// not be written in full, a refused file could not be kept aside first, or a file to replace is
// held open by another program.
bool saveSettings();

#endif

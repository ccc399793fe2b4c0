// Reading the settings files (their format is described in settings.cpp) into the wallpaper
// table, the settings beside it and the sequencer's state: the random round and what each
// monitor shows. Plain C++ on opened configuration stores, built natively too so that a fuzz
// target reads through it. settings.cpp opens the files, puts a committed ".new" file in place,
// and answers the two questions only Windows can: whether a wallpaper's preview is there (with
// the warning when it is not), and a title in full from what the file keeps of it.
#ifndef MURALTO_SETTINGS_READING_H
#define MURALTO_SETTINGS_READING_H

#include "kfg.h"
#include "monitor_shows.h"
#include "wallpaper_table.h"

struct SettingsReading {
    // Whether the wallpaper read into entry joins the table; false leaves its class out. Asked
    // once for each class that names a filename, with every member read, in the order the
    // classes are read (Muralto.ini's first, each file's by class number), which is the order
    // the warnings of those left out come in.
    bool (*keepWallpaper)(const WallpaperEntry& entry);
    // Fills entry->titleUtf8 from value, the class's titleUtf8 member ("" when it has none),
    // or else from entry->original, already read. Asked for every class, whether or not it then
    // joins the table.
    void (*readTitle)(const char* value, WallpaperEntry* entry);

    // What the files read so far hold; startReading forgets it.
    int mainGeneration;                 // the generation of Muralto.ini (0: none)
    int highestGeneration;              // the highest one seen in any settings file
    char round[KFG_TEXT_SIZE];          // roundShown as read; applied by class number
    int monitorClass[MONITOR_CAPACITY]; // monitorShows' class numbers as read, -1 for none
};

// Forgets what an earlier reading found, and the monitors' shows it gave.
void startReading(SettingsReading* reading);

// Reads Muralto.ini, opened into store: [SYSTEM] into the settings, then its wallpaper classes
// into the table, which the caller has cleared, from slot 0.
void readMainFile(_KFGINFOFILE* store, SettingsReading* reading);

// Which file gave a continuation file's wallpapers.
enum ContinuationRead {
    CONTINUATION_READ,     // the file itself, of the main file's generation
    CONTINUATION_PENDING,  // its committed ".new" file, which is to be put in its place
    CONTINUATION_UNOPENED, // neither, and the file itself could not be opened (not there, or
                           // refused by the store)
    CONTINUATION_SKIPPED,  // neither, the file itself being of another generation
};

// Reads the continuation file at path into store and, when it belongs with the main file, its
// wallpaper classes into the table after those already there; else the same for its ".new"
// file at pending.
ContinuationRead readContinuation(_KFGINFOFILE* store, char* path, char* pending,
                                  SettingsReading* reading);

#endif

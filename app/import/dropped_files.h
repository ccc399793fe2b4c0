// The pictures among files and folders dropped onto the window: a folder gives those in it and
// in its subfolders, each file's kind read from its first bytes. The walk runs on a thread of
// its own, since a tree of many files or on a slow disk takes long, and can be stopped.
#ifndef MURALTO_DROPPED_FILES_H
#define MURALTO_DROPPED_FILES_H

#include <windows.h>

#include <wchar.h>

#include "wallpaper_import.h"

// Where the pictures go: full paths, each ending in a zero, from buffer[used] on.
struct PathList {
    wchar_t* buffer;
    int capacity; // in characters, the list's closing zero included
    int used;
    int skipped; // files that are not pictures, or whose path is too long to open
    bool full;   // a picture did not fit: it and the ones after it are not listed
};

// One walk of the dropped paths. The walking thread owns list until the walk has ended; folder
// and found are what it has come to, for the progress dialog.
struct DropWalk {
    const wchar_t* roots; // the dropped paths, each ending in a zero, then one more zero
    PathList* list;
    HANDLE thread;
    volatile LONG stop;
    volatile LONG found; // pictures listed so far
    CRITICAL_SECTION lock;
    wchar_t folder[SOURCE_PATH_SIZE]; // the folder being looked at, under lock
};

// Starts listing the pictures at each of roots into list: a file itself when it is one, or
// those of a folder's tree in name order (a subfolder where its name falls among the files).
// Subfolders that are links, or that lead back to a folder they are in, are not entered;
// hidden and system files in folders are passed over. Without a thread the walk is made here.
void startDropWalk(DropWalk* walk, const wchar_t* roots, PathList* list);
// While the walk runs: the folder it looks at (empty before the first) and how many pictures it
// has found. True once it has ended, when list holds its result.
bool dropWalkStatus(DropWalk* walk, wchar_t* folder, int capacity, int* found);
// Stops the walk at its next file or folder when stop is set, waits for its end and frees its
// thread; list holds what it found.
void endDropWalk(DropWalk* walk, bool stop);

#endif

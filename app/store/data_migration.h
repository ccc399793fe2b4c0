// Moving the data of earlier versions, once: they kept it in the folder Muralto of the Windows
// system folder, or Windows kept it for them in the user's virtual store (see data_migration.cpp).
#ifndef MURALTO_DATA_MIGRATION_H
#define MURALTO_DATA_MIGRATION_H

#include <windows.h>

#include <stddef.h>

enum DataMoveOutcome {
    MOVE_NOTHING = 0, // the data folder has settings, or no old folder has any
    MOVE_DONE = 1,    // the newest old folder's files are in the data folder
    MOVE_FAILED = 2,  // they could not all be copied: the data folder is as it was
};

struct DataMove {
    int outcome;
    wchar_t from[MAX_PATH]; // the old folder moved, or that could not be; empty for nothing
};

// Run at start, once dataFolder is known and before the settings are read: when the data folder
// has no settings file, copies the old folder whose settings file is the newest into it, its
// paths rewritten. The old folders are only read.
DataMove moveOldData();

// The old folders' paths as the settings files name them (ANSI).
enum { MAX_OLD_FOLDERS = 4 };
struct OldFolderNames {
    char paths[MAX_OLD_FOLDERS][MAX_PATH];
    int count;
};

// One line of a settings file (length bytes without its LF; a CR before it stays part of it):
// when it is a "filename" or "preview" member whose value lies in one of the old folders (case
// ignored), the line with that folder replaced by newFolder goes to out (size bytes,
// *outLength of them used) and the answer is true. False leaves the line as it is: another
// line, or one the configuration store would no longer read whole once rewritten.
bool rewriteDataLine(const char* line, size_t length, const OldFolderNames& old,
                     const char* newFolder, char* out, size_t size, size_t* outLength);

#endif

// The pictures among files and folders dropped onto the window: a folder gives those in it and
// in its subfolders, each file's kind read from its first bytes.
#ifndef MURALTO_DROPPED_FILES_H
#define MURALTO_DROPPED_FILES_H

#include <wchar.h>

// Where the pictures go: full paths, each ending in a zero, from buffer[used] on.
struct PathList {
    wchar_t* buffer;
    int capacity; // in characters, the list's closing zero included
    int used;
    int skipped; // files that are not pictures, or whose path is too long to open
    bool full;   // a picture did not fit: it and the ones after it are not listed
};

// Appends the pictures at path (UTF-16): the file itself when it is one, or those of the folder
// tree, in name order (a subfolder where its name falls among the files). Subfolders that are
// links, or that lead back to a folder they are in, are not entered; hidden and system files
// in folders are passed over.
void listPictures(const wchar_t* path, PathList* list);

#endif

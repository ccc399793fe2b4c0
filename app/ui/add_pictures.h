// Adding the pictures chosen in the open-file dialog or dropped onto the main window: one at
// once, several through the add-progress dialog, which imports one per timer tick and can be
// cancelled between two. A table that fills up is told once, and the names left are dropped.
#ifndef MURALTO_ADD_PICTURES_H
#define MURALTO_ADD_PICTURES_H

#include <windows.h>

#include <shellapi.h>

#include "wallpaper_import.h"

// The dialog's result in UTF-16, which reaches every name: room for a long path, or for a
// folder and hundreds of names.
enum { OPEN_FILE_BUFFER_SIZE = 65536 };

extern wchar_t openFileBuffer[OPEN_FILE_BUFFER_SIZE]; // the dialog's result; owner: add flow
extern wchar_t firstName[SOURCE_PATH_SIZE];           // its first string; owner: add flow

// The Add command: the open-file dialog (several files of one kind at once), then the add flow.
void addPictures(HWND mainWindow);

// The picture type of a selection whose files each have their kind read from their first bytes.
enum { PICTURE_BY_CONTENT = 0 };

// Runs the add flow on openFileBuffer as the open-file dialog left it, or as a drop fills it:
// an empty first string, then full paths.
void runAddFlow(HWND mainWindow, int pictureType);

// Files and folders dropped onto the main window (WM_DROPFILES): the pictures among them and in
// the folders' trees, in the add flow, then one message with the count of files skipped as not
// pictures. The folders are read on a thread of their own while the progress dialog shows the
// folder it is in and the pictures found so far, and its Cancel stops that too (nothing is
// added then, and nothing told). The drop is finished here. A drop while the add flow runs or
// a box of the window is open is ignored.
void addDroppedFiles(HWND mainWindow, HDROP drop);

// Copies the string that starts at buffer[start] into target (capacity characters, zero-filled
// first), cut to capacity - 1 characters; sets *cut when it did not fit. Returns the index
// just past the string's terminating zero. Never reads at or past bufferSize: a string that
// runs to the end of the buffer ends there.
int nextSelectedName(const wchar_t* buffer, int bufferSize, int start, wchar_t* target,
                     int capacity, bool* cut = nullptr);

#endif

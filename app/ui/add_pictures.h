// Adding the pictures chosen in the open-file dialog: one at once, several through the
// add-progress dialog, which imports one per timer tick and can be cancelled between two.
#ifndef MURALTO_ADD_PICTURES_H
#define MURALTO_ADD_PICTURES_H

#include <windows.h>

#include "wallpaper_import.h"

// The dialog's result in UTF-16, which reaches every name: room for a long path, or for a
// folder and hundreds of names.
enum { OPEN_FILE_BUFFER_SIZE = 65536 };

extern wchar_t openFileBuffer[OPEN_FILE_BUFFER_SIZE]; // the dialog's result; owner: add flow
extern wchar_t firstName[SOURCE_PATH_SIZE];           // its first string; owner: add flow

// The Add command: the open-file dialog (several files of one kind at once), then the add flow.
void addPictures(HWND mainWindow);

// Runs the add flow on openFileBuffer as the open-file dialog left it.
void runAddFlow(HWND mainWindow, int pictureType);

// Copies the string that starts at buffer[start] into target (capacity characters, zero-filled
// first), cut to capacity - 1 characters; sets *cut when it did not fit. Returns the index
// just past the string's terminating zero. Never reads at or past bufferSize: a string that
// runs to the end of the buffer ends there.
int nextSelectedName(const wchar_t* buffer, int bufferSize, int start, wchar_t* target,
                     int capacity, bool* cut = nullptr);

#endif

// Adding the pictures chosen in the open-file dialog: one at once, several through the
// add-progress dialog, which imports one per timer tick and can be cancelled between two.
#ifndef MURALTO_ADD_PICTURES_H
#define MURALTO_ADD_PICTURES_H

#include <windows.h>

enum { OPEN_FILE_BUFFER_SIZE = 2000, NAME_SIZE = 256, JOINED_PATH_SIZE = 260 };

extern char openFileBuffer[OPEN_FILE_BUFFER_SIZE]; // the open-file dialog's result; owner: add flow
extern char firstName[NAME_SIZE];                  // its first string; owner: add flow

// The Add command: the open-file dialog (several files of one kind at once), then the add flow.
void addPictures(HWND mainWindow);

// Runs the add flow on openFileBuffer as the open-file dialog left it.
void runAddFlow(HWND mainWindow, int pictureType);

// Copies the string that starts at buffer[start] into target (capacity bytes, zero-filled
// first), cut to capacity - 1 characters; sets *cut when it did not fit. Returns the index
// just past the string's terminating zero. Never reads at or past bufferSize: a string that
// runs to the end of the buffer ends there.
int nextSelectedName(const char* buffer, int bufferSize, int start, char* target, int capacity,
                     bool* cut = nullptr);

#endif

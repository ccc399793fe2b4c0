// Whether a file is there, the way the program has always asked: it can be opened for reading.
// The settings, the clean-up and the import all ask it of the data folder's files.
#ifndef MURALTO_FILE_CHECKS_H
#define MURALTO_FILE_CHECKS_H

// Opens the file for reading and closes it again at once; false when it cannot be opened.
bool fileCanBeOpened(const char* path);
// The same, and the file begins with a bitmap file's signature.
bool bitmapFileCanBeOpened(const char* path);

#endif

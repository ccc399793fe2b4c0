// Whether a file is there, the way the program has always asked: it can be opened for reading.
#ifndef MURALTO_FILE_PROBE_H
#define MURALTO_FILE_PROBE_H

// Opens the file for reading and closes it again at once; false when it cannot be opened.
bool fileCanBeOpened(const char* path);
// The same, and the file begins with a bitmap file's signature.
bool bitmapFileCanBeOpened(const char* path);
// The same for a source picture's path, in UTF-8 and of any length; false for a folder.
bool sourceCanBeOpened(const char* utf8Path);

#endif

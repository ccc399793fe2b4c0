// Whether a file is there, the way the program has always asked: it can be opened for reading;
// and what kind of picture a file holds, from its first bytes.
#ifndef MURALTO_FILE_PROBE_H
#define MURALTO_FILE_PROBE_H

// Opens the file for reading and closes it again at once; false when it cannot be opened.
bool fileCanBeOpened(const char* path);
// The same, and the file begins with a bitmap file's signature.
bool bitmapFileCanBeOpened(const char* path);
// The same for a source picture's path, in UTF-8 and of any length; false for a folder.
bool sourceCanBeOpened(const char* utf8Path);

// The kind of the picture at utf8Path as the open-file dialog's filter index numbers them
// (PICTURE_BITMAP to PICTURE_HEIF, the last an ISO media file whose brands name HEIF or AVIF),
// read from the file's first bytes whatever its name; 0 when it is none of them or cannot be
// read.
int pictureKind(const char* utf8Path);
// The same for the first bytes themselves (size of them, any number).
int pictureKindOf(const unsigned char* bytes, int size);

#endif

// Whether a source picture is there, and what kind of picture a file holds, from its first
// bytes.
#ifndef MURALTO_FILE_PROBE_H
#define MURALTO_FILE_PROBE_H

// Opens the source picture (its path in UTF-8 and of any length) for reading and closes it again
// at once; false when it cannot be opened, and for a folder.
bool sourceCanBeOpened(const char* utf8Path);

// The kind of the picture at utf8Path as the open-file dialog's filter index numbers them
// (PICTURE_BITMAP to PICTURE_HEIF, the last an ISO media file whose brands name HEIF or AVIF),
// read from the file's first bytes whatever its name; 0 when it is none of them or cannot be
// read.
int pictureKind(const char* utf8Path);
// The same for the first bytes themselves (size of them, any number).
int pictureKindOf(const unsigned char* bytes, int size);

#endif

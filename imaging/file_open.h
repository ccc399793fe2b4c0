// Opening the converters' files. Their paths are UTF-8 everywhere: the system takes them as
// they are natively, and Windows through its wide calls, which reach any name whatever the
// ANSI code page, and paths longer than MAX_PATH.
#ifndef MURALTO_FILE_OPEN_H
#define MURALTO_FILE_OPEN_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

namespace imaging {

// fopen of a UTF-8 path; null when the file cannot be opened or the path is not UTF-8.
FILE* openFile(const char* utf8Path, const char* mode);
// remove of a UTF-8 path; true when the file is gone.
bool removeFile(const char* utf8Path);
// Bytes in an open file, leaving it at its start; -1 when it cannot be moved in, LONG_MAX when
// ftell cannot tell (from 2 GB on Windows, where long has 32 bits), since such a file is long
// enough for any picture.
long fileLength(FILE* file);
// The open file's first `bytes` bytes, in memory from malloc for the caller to free; null when
// bytes is 0, memory runs short or they cannot all be read.
uint8_t* readFromStart(FILE* file, size_t bytes);

#ifdef _WIN32
// The longest path the wide calls take, terminator included.
const size_t kWidePathSize = 32768;

// The path as the wide calls take it: UTF-16, and a long one (MAX_PATH characters or more)
// made absolute behind the "\\?\" prefix, without which those calls refuse it. False when the
// path is not UTF-8 or does not fit capacity characters.
bool widePath(const char* utf8Path, wchar_t* wide, size_t capacity);
// The same in kWidePathSize characters from malloc, for the caller to free; null when the path
// is not UTF-8 or memory runs short.
wchar_t* newWidePath(const char* utf8Path);
#endif

} // namespace imaging

#endif

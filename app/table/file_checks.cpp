#include "file_checks.h"

#include <windows.h>

bool fileCanBeOpened(const char* path) {
    HFILE file = _lopen(path, OF_READ);
    if (file == HFILE_ERROR) return false;
    _lclose(file);
    return true;
}

bool bitmapFileCanBeOpened(const char* path) {
    HFILE file = _lopen(path, OF_READ);
    if (file == HFILE_ERROR) return false;
    char signature[2] = {0, 0};
    bool bitmap = _lread(file, signature, sizeof signature) == sizeof signature &&
                  signature[0] == 'B' && signature[1] == 'M';
    _lclose(file);
    return bitmap;
}

#include "file_probe.h"

#include <windows.h>

bool fileCanBeOpened(const char* path) {
    HFILE file = _lopen(path, OF_READ);
    if (file == HFILE_ERROR) return false;
    _lclose(file);
    return true;
}

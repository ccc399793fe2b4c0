#include "file_probe.h"

#include <windows.h>

#include <stdlib.h>

#include "file_open.h"

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

bool sourceCanBeOpened(const char* utf8Path) {
    wchar_t* wide = imaging::newWidePath(utf8Path);
    bool opened = false;
    if (wide != nullptr) {
        HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        opened = file != INVALID_HANDLE_VALUE;
        if (opened) CloseHandle(file);
    }
    free(wide);
    return opened;
}

#include "file_open.h"

#include <limits.h>
#include <stdlib.h>

#ifdef _WIN32
#include <windows.h>

#include <wchar.h>
#endif

namespace imaging {

long fileLength(FILE* file) {
    long length = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    if (fseek(file, 0, SEEK_SET) != 0) return -1;
    return length < 0 ? LONG_MAX : length;
}

uint8_t* readFromStart(FILE* file, size_t bytes) {
    if (bytes == 0 || fseek(file, 0, SEEK_SET) != 0) return nullptr;
    uint8_t* data = static_cast<uint8_t*>(malloc(bytes));
    if (data != nullptr && fread(data, 1, bytes, file) != bytes) {
        free(data);
        data = nullptr;
    }
    return data;
}

#ifndef _WIN32

FILE* openFile(const char* utf8Path, const char* mode) {
    return utf8Path != nullptr ? fopen(utf8Path, mode) : nullptr;
}

bool removeFile(const char* utf8Path) { return utf8Path != nullptr && remove(utf8Path) == 0; }

#else

namespace {

// Prefixes the absolute form of the path in wide: "\\?\C:\..." or "\\?\UNC\server\share\...".
bool prefixedFullPath(wchar_t* wide, size_t capacity) {
    DWORD needed = GetFullPathNameW(wide, 0, nullptr, nullptr);
    if (needed == 0) return false;
    wchar_t* full = static_cast<wchar_t*>(malloc(needed * sizeof(wchar_t)));
    if (full == nullptr) return false;
    DWORD length = GetFullPathNameW(wide, needed, full, nullptr);
    bool unc = length >= 2 && full[0] == L'\\' && full[1] == L'\\';
    const wchar_t* prefix = unc ? L"\\\\?\\UNC" : L"\\\\?\\";
    const wchar_t* rest = unc ? full + 1 : full; // "\server\share..." after "\\?\UNC"
    size_t prefixLength = wcslen(prefix);
    size_t restLength = wcslen(rest);
    bool fits = length > 0 && length < needed && prefixLength + restLength < capacity;
    if (fits) {
        wmemcpy(wide, prefix, prefixLength);
        wmemcpy(wide + prefixLength, rest, restLength + 1);
    }
    free(full);
    return fits;
}

} // namespace

bool widePath(const char* utf8Path, wchar_t* wide, size_t capacity) {
    if (utf8Path == nullptr || wide == nullptr || capacity == 0 || capacity > INT_MAX) return false;
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, wide,
                                     static_cast<int>(capacity));
    if (length == 0) {
        wide[0] = L'\0';
        return false;
    }
    // Shorter paths keep the form they were given, which the plain calls take.
    if (length - 1 < MAX_PATH || wcsncmp(wide, L"\\\\?\\", 4) == 0) return true;
    return prefixedFullPath(wide, capacity);
}

// On the heap: too large for the stack.
wchar_t* newWidePath(const char* utf8Path) {
    wchar_t* wide = static_cast<wchar_t*>(malloc(kWidePathSize * sizeof(wchar_t)));
    if (wide != nullptr && !widePath(utf8Path, wide, kWidePathSize)) {
        free(wide);
        return nullptr;
    }
    return wide;
}

FILE* openFile(const char* utf8Path, const char* mode) {
    if (mode == nullptr) return nullptr;
    wchar_t wideMode[8];
    size_t i = 0;
    for (; mode[i] != '\0'; ++i) {
        if (i + 1 >= sizeof wideMode / sizeof wideMode[0]) return nullptr;
        wideMode[i] = static_cast<wchar_t>(static_cast<unsigned char>(mode[i]));
    }
    wideMode[i] = L'\0';
    wchar_t* wide = newWidePath(utf8Path);
    if (wide == nullptr) return nullptr;
    FILE* file = _wfopen(wide, wideMode);
    free(wide);
    return file;
}

bool removeFile(const char* utf8Path) {
    wchar_t* wide = newWidePath(utf8Path);
    if (wide == nullptr) return false;
    bool removed = DeleteFileW(wide) != 0;
    free(wide);
    return removed;
}

#endif

} // namespace imaging

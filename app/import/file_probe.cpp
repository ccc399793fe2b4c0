#include "file_probe.h"

#include <windows.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "file_open.h"
#include "wallpaper_import.h"

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

namespace {

// Enough for the box of brands of any HEIF file seen in practice.
const int PROBE_SIZE = 64;

bool startsWith(const unsigned char* bytes, int size, const char* magic, int length) {
    return size >= length && memcmp(bytes, magic, static_cast<size_t>(length)) == 0;
}

bool isHeifBrand(const unsigned char* brand) {
    static const char* const BRANDS[] = {"heic", "heix", "hevc", "heim", "heis",
                                         "mif1", "msf1", "avif", "avis"};
    for (const char* known : BRANDS)
        if (memcmp(brand, known, 4) == 0) return true;
    return false;
}

// The first box is "ftyp": its size (big-endian), the major brand, a version, then the
// compatible brands up to the box's end.
bool isHeif(const unsigned char* bytes, int size) {
    if (size < 16 || memcmp(bytes + 4, "ftyp", 4) != 0) return false;
    uint32_t boxSize =
        static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    int end = boxSize < static_cast<uint32_t>(size) ? static_cast<int>(boxSize) : size;
    if (isHeifBrand(bytes + 8)) return true;
    for (int at = 16; at + 4 <= end; at += 4)
        if (isHeifBrand(bytes + at)) return true;
    return false;
}

} // namespace

int pictureKindOf(const unsigned char* bytes, int size) {
    if (bytes == nullptr || size <= 0) return 0;
    if (startsWith(bytes, size, "BM", 2)) return PICTURE_BITMAP;
    if (startsWith(bytes, size, "\xFF\xD8\xFF", 3)) return PICTURE_JPEG;
    if (startsWith(bytes, size, "II*\0", 4) || startsWith(bytes, size, "MM\0*", 4))
        return PICTURE_TIFF;
    if (startsWith(bytes, size, "\x89PNG\r\n\x1A\n", 8)) return PICTURE_PNG;
    if (size >= 12 && memcmp(bytes, "RIFF", 4) == 0 && memcmp(bytes + 8, "WEBP", 4) == 0)
        return PICTURE_WEBP;
    if (isHeif(bytes, size)) return PICTURE_HEIF;
    return 0;
}

int pictureKind(const char* utf8Path) {
    wchar_t* wide = imaging::newWidePath(utf8Path);
    if (wide == nullptr) return 0;
    HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    free(wide);
    if (file == INVALID_HANDLE_VALUE) return 0;
    unsigned char bytes[PROBE_SIZE];
    DWORD read = 0;
    BOOL ok = ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    return ok ? pictureKindOf(bytes, static_cast<int>(read)) : 0;
}

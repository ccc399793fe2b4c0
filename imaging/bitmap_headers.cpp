#include "bitmap_headers.h"

#include <stdio.h>

#include "bitmap_file.h"
#include "file_open.h"

namespace imaging {

namespace {

uint32_t get16(const uint8_t* at) { return at[0] | static_cast<uint32_t>(at[1]) << 8; }
uint32_t get32(const uint8_t* at) { return get16(at) | get16(at + 2) << 16; }

// Moves on by bytes in steps a 32-bit long holds (a file may reach 4 GB).
bool skip(FILE* file, uint64_t bytes) {
    const uint64_t step = 0x40000000;
    for (; bytes > 0; bytes -= bytes < step ? bytes : step)
        if (fseek(file, static_cast<long>(bytes < step ? bytes : step), SEEK_CUR) != 0)
            return false;
    return true;
}

} // namespace

bool isWrittenBitmapFile(const char* path, uint32_t width, uint32_t height) {
    uint64_t size = bitmapFileSize(width, height);
    if (path == nullptr || size == 0) return false;
    FILE* file = openFile(path, "rb");
    if (file == nullptr) return false;
    uint8_t h[kBitmapHeadersSize];
    bool read = fread(h, 1, sizeof h, file) == sizeof h;
    // The length, by reading its last byte and nothing after: ftell stops at 2 GB where long has
    // 32 bits.
    bool whole =
        read && skip(file, size - 1 - sizeof h) && fgetc(file) != EOF && fgetc(file) == EOF;
    fclose(file);
    return whole && h[0] == 'B' && h[1] == 'M' && get32(h + 2) == size &&
           get32(h + 10) == kBitmapHeadersSize && get32(h + 14) == 40 && get32(h + 18) == width &&
           get32(h + 22) == height && get16(h + 26) == 1 && get16(h + 28) == 24 &&
           get32(h + 30) == 0;
}

} // namespace imaging

#include "bitmap_headers.h"

#include <stdio.h>
#include <stdlib.h>

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

// The headers say 24 bits, uncompressed, width x height, rows right after them, and a file
// size that is writeBitmapFile's for them.
bool writtenHeaders(const uint8_t* h, uint32_t width, uint32_t height) {
    uint64_t size = bitmapFileSize(width, height);
    return size != 0 && h[0] == 'B' && h[1] == 'M' && get32(h + 2) == size &&
           get32(h + 10) == kBitmapHeadersSize && get32(h + 14) == 40 && get32(h + 18) == width &&
           get32(h + 22) == height && get16(h + 26) == 1 && get16(h + 28) == 24 &&
           get32(h + 30) == 0;
}

// The headers, and the file's length against them, by reading its last byte and nothing after:
// ftell stops at 2 GB where long has 32 bits. The file is left just after the headers.
bool readWrittenHeaders(FILE* file, uint8_t* h, uint32_t width, uint32_t height) {
    if (fread(h, 1, kBitmapHeadersSize, file) != kBitmapHeadersSize) return false;
    if (width == 0 && height == 0) width = get32(h + 18), height = get32(h + 22);
    return writtenHeaders(h, width, height) &&
           skip(file, bitmapFileSize(width, height) - 1 - kBitmapHeadersSize) &&
           fgetc(file) != EOF && fgetc(file) == EOF &&
           fseek(file, static_cast<long>(kBitmapHeadersSize), SEEK_SET) == 0;
}

} // namespace

bool isWrittenBitmapFile(const char* path, uint32_t width, uint32_t height) {
    if (path == nullptr || bitmapFileSize(width, height) == 0) return false;
    FILE* file = openFile(path, "rb");
    if (file == nullptr) return false;
    uint8_t h[kBitmapHeadersSize];
    bool written = readWrittenHeaders(file, h, width, height);
    fclose(file);
    return written;
}

uint8_t* loadWrittenBitmapFile(const char* path, uint32_t* width, uint32_t* height) {
    FILE* file = path != nullptr ? openFile(path, "rb") : nullptr;
    if (file == nullptr) return nullptr;
    uint8_t h[kBitmapHeadersSize];
    uint8_t* rows = nullptr;
    size_t bytes = 0;
    // Width and height 0: those of the headers.
    if (readWrittenHeaders(file, h, 0, 0) &&
        bufferSize(bitmapRowStride(get32(h + 18)), get32(h + 22), &bytes))
        rows = static_cast<uint8_t*>(malloc(bytes));
    if (rows != nullptr && fread(rows, 1, bytes, file) != bytes) {
        free(rows);
        rows = nullptr;
    }
    fclose(file);
    if (rows != nullptr) *width = get32(h + 18), *height = get32(h + 22);
    return rows;
}

} // namespace imaging

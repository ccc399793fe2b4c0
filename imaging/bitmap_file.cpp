#include "bitmap_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "file_open.h"

namespace imaging {

namespace {

const uint64_t kLargestFile = 0xFFFFFFFFu;
// Rows are converted and written this many bytes at a time (at least one row): few writes,
// and a buffer that stays in the cache.
const size_t kChunkBytes = 256 * 1024;

void put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}

void encodeHeaders(const BitmapSource& source, uint32_t fileSize, uint8_t* headers) {
    memset(headers, 0, kBitmapHeadersSize);
    headers[0] = 'B';
    headers[1] = 'M';
    put32(headers + 2, fileSize);
    put32(headers + 10, kBitmapHeadersSize);
    put32(headers + 14, 40);
    put32(headers + 18, source.width);
    put32(headers + 22, source.height);
    put16(headers + 26, 1);
    put16(headers + 28, 24);
    put32(headers + 38, source.resolution);
    put32(headers + 42, source.resolution);
}

// The picture's row that becomes row fileRow of the file (0 = the picture's bottom row).
const uint8_t* sourceRow(const BitmapSource& source, uint32_t fileRow) {
    uint32_t row = source.bottomUp ? fileRow : source.height - 1 - fileRow;
    return source.pixels + source.pitch * row;
}

// Several file rows at a time, rowsPerChunk × stride bytes, zero-filled once: converters
// write 3 × width bytes of each row, so its fill bytes stay zero.
struct Chunk {
    uint8_t* bytes;
    size_t stride;
    size_t rowsPerChunk;
};

bool allocateChunk(const BitmapSource& source, Chunk* chunk) {
    chunk->stride = static_cast<size_t>(bitmapRowStride(source.width));
    chunk->rowsPerChunk = chunk->stride >= kChunkBytes ? 1 : kChunkBytes / chunk->stride;
    if (chunk->rowsPerChunk > source.height) chunk->rowsPerChunk = source.height;
    chunk->bytes = static_cast<uint8_t*>(calloc(chunk->rowsPerChunk, chunk->stride));
    return chunk->bytes != nullptr;
}

bool writeRows(FILE* file, const BitmapSource& source, const Chunk& chunk,
               const BitmapRowSink* sink) {
    uint32_t fileRow = 0;
    while (fileRow < source.height) {
        size_t rows = 0;
        for (; rows < chunk.rowsPerChunk && fileRow < source.height; ++rows, ++fileRow) {
            uint8_t* row = chunk.bytes + rows * chunk.stride;
            if (source.convertRow != nullptr)
                source.convertRow(sourceRow(source, fileRow), source.width, row);
            if (sink != nullptr) sink->row(sink->context, fileRow, row);
        }
        if (fwrite(chunk.bytes, chunk.stride, rows, file) != rows) return false;
    }
    return true;
}

} // namespace

uint64_t bitmapRowStride(uint32_t width) { return (3 * static_cast<uint64_t>(width) + 3) / 4 * 4; }

uint64_t bitmapFileSize(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return 0;
    // stride < 2^34 and height < 2^32: compared by division, nothing can wrap.
    uint64_t stride = bitmapRowStride(width);
    if (stride > (kLargestFile - kBitmapHeadersSize) / height) return 0;
    return kBitmapHeadersSize + stride * height;
}

bool bufferSize(uint64_t count, uint64_t unit, size_t* bytes) {
    if (unit != 0 && count > UINT64_MAX / unit) return false;
    uint64_t total = count * unit;
    if (total > SIZE_MAX) return false;
    *bytes = static_cast<size_t>(total);
    return true;
}

void copyBgr(const uint8_t* bgr, uint32_t width, uint8_t* row) {
    memcpy(row, bgr, static_cast<size_t>(width) * 3);
}

void bgraOverBlack(const uint8_t* bgra, uint32_t width, uint8_t* row) {
    for (uint32_t x = 0; x < width; ++x, bgra += 4, row += 3) {
        unsigned alpha = bgra[3];
        // round(c × alpha / 255), exact for every c and alpha in 0..255.
        for (int i = 0; i < 3; ++i) {
            unsigned t = bgra[i] * alpha + 128;
            row[i] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
        }
    }
}

bool writeBitmapFile(const char* target, const BitmapSource& source, const BitmapRowSink* rows) {
    uint64_t fileSize = bitmapFileSize(source.width, source.height);
    if (target == nullptr || fileSize == 0) return false;
    if (source.convertRow != nullptr && source.pixels == nullptr) return false;
    if (rows != nullptr && !rows->begin(rows->context, source.width, source.height)) return false;
    // Memory first: running short must not cost an existing target its content.
    Chunk chunk;
    if (!allocateChunk(source, &chunk)) return false;

    FILE* file = openFile(target, "wb");
    if (file == nullptr) {
        free(chunk.bytes);
        return false;
    }
    uint8_t headers[kBitmapHeadersSize];
    encodeHeaders(source, static_cast<uint32_t>(fileSize), headers);
    bool ok = fwrite(headers, 1, sizeof headers, file) == sizeof headers &&
              writeRows(file, source, chunk, rows);
    // A full disk may show only when the buffered rest is flushed by the close.
    ok = (fclose(file) == 0) && ok;
    free(chunk.bytes);
    // A cut-off bitmap file is worse than none: the caller reports the failure either way.
    if (!ok) removeFile(target);
    return ok;
}

} // namespace imaging

#include "bitmap_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "exif_orientation.h"
#include "file_open.h"

namespace imaging {

namespace {

const uint64_t kLargestFile = 0xFFFFFFFFu;
// Rows are converted and written this many bytes at a time (at least one row): few writes,
// and a buffer that stays in the cache.
const size_t kChunkBytes = 256 * 1024;
// A quarter turn reads the picture in tiles: kTileRows stored rows of at least kBandRows
// columns, each stored row's part spanning whole cache lines, each file row given kTileRows
// adjacent pixels at a time.
const size_t kBandRows = 64;
const uint32_t kTileRows = 16;

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
    put32(headers + 18, uprightWidth(source));
    put32(headers + 22, uprightHeight(source));
    put16(headers + 26, 1);
    put16(headers + 28, 24);
    put32(headers + 38, source.resolution);
    put32(headers + 42, source.resolution);
}

// Row sy of the picture as stored, counted from its top.
const uint8_t* storedRow(const BitmapSource& source, uint32_t sy) {
    uint32_t row = source.bottomUp ? source.height - 1 - sy : sy;
    return source.pixels + source.pitch * row;
}

uint16_t orientationOf(const BitmapSource& source) { return validOrientation(source.orientation); }

// Several file rows at a time, rowsPerChunk × stride bytes, zero-filled once: converters
// write 3 × width bytes of each row, so its fill bytes stay zero. A picture turned by a
// quarter also needs a tile: kTileRows converted runs of stored rows, a pixel for each file row.
struct Chunk {
    uint8_t* bytes;
    uint8_t* run; // the tile, or null
    size_t stride;
    size_t rowsPerChunk;
};

bool allocateChunk(const BitmapSource& source, Chunk* chunk) {
    uint32_t width = uprightWidth(source), height = uprightHeight(source);
    chunk->stride = static_cast<size_t>(bitmapRowStride(width));
    chunk->rowsPerChunk = chunk->stride >= kChunkBytes ? 1 : kChunkBytes / chunk->stride;
    bool columns = swapsSides(orientationOf(source));
    if (columns && chunk->rowsPerChunk < kBandRows) chunk->rowsPerChunk = kBandRows;
    if (chunk->rowsPerChunk > height) chunk->rowsPerChunk = height;
    chunk->bytes = static_cast<uint8_t*>(calloc(chunk->rowsPerChunk, chunk->stride));
    chunk->run =
        columns ? static_cast<uint8_t*>(malloc(chunk->rowsPerChunk * 3 * kTileRows)) : nullptr;
    if (chunk->bytes != nullptr && (chunk->run != nullptr || !columns)) return true;
    free(chunk->bytes);
    free(chunk->run);
    return false;
}

void mirrorRow(uint8_t* row, uint32_t width) {
    uint8_t* left = row;
    uint8_t* right = row + 3 * static_cast<size_t>(width - 1);
    for (; left < right; left += 3, right -= 3) {
        uint8_t pixel[3];
        memcpy(pixel, left, 3);
        memcpy(left, right, 3);
        memcpy(right, pixel, 3);
    }
}

// Orientations 1 to 4: each file row is a stored row, maybe mirrored.
void convertRows(const BitmapSource& source, uint32_t firstRow, size_t rows, const Chunk& chunk) {
    uint16_t orientation = orientationOf(source);
    bool upsideDown = orientation == kBottomRight || orientation == kBottomLeft;
    bool mirrored = orientation == kTopRight || orientation == kBottomRight;
    for (size_t i = 0; i < rows; ++i) {
        // File row 0 is the upright picture's bottom row.
        uint32_t fileRow = firstRow + static_cast<uint32_t>(i);
        uint32_t sy = upsideDown ? fileRow : source.height - 1 - fileRow;
        uint8_t* row = chunk.bytes + i * chunk.stride;
        source.convertRow(storedRow(source, sy), source.width, row);
        if (mirrored) mirrorRow(row, source.width);
    }
}

// Orientations 5 to 8: each file row is a stored column. The chunk's rows are a band of
// adjacent columns, gathered a tile of stored rows at a time: the picture is read along its
// rows, and each file row gets a run of adjacent pixels from each tile.
void convertColumns(const BitmapSource& source, uint32_t firstRow, size_t rows,
                    const Chunk& chunk) {
    uint16_t orientation = orientationOf(source);
    // Whether file row firstRow + i is stored column firstColumn + rows - 1 - i (the first
    // column is the upright picture's top row) or firstColumn + i (it is its bottom row).
    bool topRowFirst = orientation == kLeftTop || orientation == kRightTop;
    // Whether stored row sy lands at x = sy (the first row is on the left) or at height-1-sy.
    bool firstRowLeft = orientation == kLeftTop || orientation == kLeftBottom;
    uint32_t firstColumn =
        topRowFirst ? source.width - firstRow - static_cast<uint32_t>(rows) : firstRow;
    const size_t offset = static_cast<size_t>(firstColumn) * source.pixelBytes;
    const size_t runBytes = rows * 3;
    for (uint32_t tileTop = 0; tileTop < source.height; tileTop += kTileRows) {
        uint32_t tileRows =
            source.height - tileTop < kTileRows ? source.height - tileTop : kTileRows;
        for (uint32_t t = 0; t < tileRows; ++t)
            source.convertRow(storedRow(source, tileTop + t) + offset, static_cast<uint32_t>(rows),
                              chunk.run + t * runBytes);
        for (size_t i = 0; i < rows; ++i) {
            const uint8_t* pixel = chunk.run + 3 * (topRowFirst ? rows - 1 - i : i);
            uint8_t* row = chunk.bytes + i * chunk.stride;
            if (firstRowLeft) {
                uint8_t* at = row + 3 * static_cast<size_t>(tileTop);
                for (uint32_t t = 0; t < tileRows; ++t, at += 3, pixel += runBytes)
                    memcpy(at, pixel, 3);
            } else {
                uint8_t* at = row + 3 * static_cast<size_t>(source.height - 1 - tileTop);
                for (uint32_t t = 0; t < tileRows; ++t, at -= 3, pixel += runBytes)
                    memcpy(at, pixel, 3);
            }
        }
    }
}

bool writeRows(FILE* file, const BitmapSource& source, const Chunk& chunk,
               const BitmapRowSink* sink) {
    uint32_t height = uprightHeight(source);
    bool columns = swapsSides(orientationOf(source));
    for (uint32_t fileRow = 0; fileRow < height;) {
        size_t rows = height - fileRow < chunk.rowsPerChunk ? height - fileRow : chunk.rowsPerChunk;
        if (source.convertRow != nullptr) {
            if (columns)
                convertColumns(source, fileRow, rows, chunk);
            else
                convertRows(source, fileRow, rows, chunk);
        }
        if (sink != nullptr)
            for (size_t i = 0; i < rows; ++i)
                sink->row(sink->context, fileRow + static_cast<uint32_t>(i),
                          chunk.bytes + i * chunk.stride);
        if (fwrite(chunk.bytes, chunk.stride, rows, file) != rows) return false;
        fileRow += static_cast<uint32_t>(rows);
    }
    return true;
}

} // namespace

uint32_t uprightWidth(const BitmapSource& source) {
    return swapsSides(orientationOf(source)) ? source.height : source.width;
}

uint32_t uprightHeight(const BitmapSource& source) {
    return swapsSides(orientationOf(source)) ? source.width : source.height;
}

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

namespace {

// The headers, then what write puts after them; a target not written whole is removed.
template <typename WriteRest>
bool writeFile(const char* target, const BitmapSource& source, uint64_t fileSize,
               WriteRest writeRest) {
    FILE* file = openFile(target, "wb");
    if (file == nullptr) return false;
    uint8_t headers[kBitmapHeadersSize];
    encodeHeaders(source, static_cast<uint32_t>(fileSize), headers);
    bool ok = fwrite(headers, 1, sizeof headers, file) == sizeof headers && writeRest(file);
    // A full disk may show only when the buffered rest is flushed by the close.
    ok = (fclose(file) == 0) && ok;
    // A cut-off bitmap file is worse than none: the caller reports the failure either way.
    if (!ok) removeFile(target);
    return ok;
}

} // namespace

bool writePreparedBitmapFile(const char* target, uint32_t width, uint32_t height,
                             uint32_t resolution, const uint8_t* rows) {
    const uint64_t fileSize = bitmapFileSize(width, height);
    if (target == nullptr || rows == nullptr || fileSize == 0) return false;
    const size_t bytes = static_cast<size_t>(fileSize - kBitmapHeadersSize);
    const BitmapSource source = {width, height, resolution, rows, 0, true, copyBgr};
    return writeFile(target, source, fileSize,
                     [&](FILE* file) { return fwrite(rows, 1, bytes, file) == bytes; });
}

bool writeBitmapFile(const char* target, const BitmapSource& source, const BitmapRowSink* rows) {
    uint64_t fileSize = bitmapFileSize(uprightWidth(source), uprightHeight(source));
    if (target == nullptr || fileSize == 0) return false;
    if (source.convertRow != nullptr && source.pixels == nullptr) return false;
    if (rows != nullptr && !rows->begin(rows->context, uprightWidth(source), uprightHeight(source)))
        return false;
    // Memory first: running short must not cost an existing target its content.
    Chunk chunk;
    if (!allocateChunk(source, &chunk)) return false;

    bool ok = writeFile(target, source, fileSize,
                        [&](FILE* file) { return writeRows(file, source, chunk, rows); });
    free(chunk.bytes);
    free(chunk.run);
    return ok;
}

} // namespace imaging

// Any bytes as a picture file for one converter: converting never fails unsafely, and its
// result holds: true leaves a whole bitmap file (its size field and its size agree with its
// dimensions), false leaves no target at all.
#ifndef MURALTO_CONVERTER_FUZZ_H
#define MURALTO_CONVERTER_FUZZ_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

// Pictures the fuzzer's memory limit can afford; larger claimed sizes are skipped, since a
// converter allocates the whole decoded picture before the library reads its pixels.
const uint64_t kFuzzLargestPicture = 1u << 16;

inline uint32_t littleEndian32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

// tooLarge, when given, looks at the input file once written: true skips it, for a picture
// read only by the library that knows where its size is.
inline void fuzzConverter(bool (*convert)(const char*, const char*), const char* name,
                          const uint8_t* data, size_t size,
                          bool (*tooLarge)(const char* input) = nullptr) {
    static char input[64], target[64];
    if (input[0] == '\0') {
        snprintf(input, sizeof input, "/tmp/%s_fuzz_%d.in", name, int(getpid()));
        snprintf(target, sizeof target, "/tmp/%s_fuzz_%d.bmp", name, int(getpid()));
        // Every run's files are left for the next; the last are removed once the fuzzer ends.
        atexit([] {
            remove(input);
            remove(target);
        });
    }
    FILE* file = fopen(input, "wb");
    if (file == nullptr) return;
    fwrite(data, 1, size, file);
    fclose(file);
    remove(target);
    if (tooLarge != nullptr && tooLarge(input)) return;

    bool converted = convert(input, target);
    file = fopen(target, "rb");
    if (!converted) {
        if (file != nullptr) __builtin_trap();
        return;
    }
    if (file == nullptr) __builtin_trap();
    uint8_t headers[54];
    bool whole =
        fread(headers, 1, sizeof headers, file) == sizeof headers && fseek(file, 0, SEEK_END) == 0;
    long length = ftell(file);
    fclose(file);
    uint64_t width = littleEndian32(headers + 18), height = littleEndian32(headers + 22);
    uint64_t expected = 54 + (3 * width + 3) / 4 * 4 * height;
    if (!whole || uint64_t(length) != expected || littleEndian32(headers + 2) != expected)
        __builtin_trap();
    remove(target);
}

#endif

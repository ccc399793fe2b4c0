// Any bytes as a configuration file: reading never fails unsafely, whatever was read can be
// written, and a written file reads back to itself: writing it again gives the same bytes
// (unless a written line passes the 255-character line limit, which splits it on reading).
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "kfg.h"

namespace {

std::string readAll(const char* path) {
    std::string bytes;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) __builtin_trap();
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

size_t longestLine(const std::string& bytes) {
    size_t longest = 0, start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        longest = end - start > longest ? end - start : longest;
    return longest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<_KFGINFOFILE> store(new _KFGINFOFILE());
    static char input[64], first[64], second[64];
    if (input[0] == '\0') {
        int pid = static_cast<int>(getpid());
        snprintf(input, sizeof input, "/tmp/kfg_fuzz_%d.in", pid);
        snprintf(first, sizeof first, "/tmp/kfg_fuzz_%d.first", pid);
        snprintf(second, sizeof second, "/tmp/kfg_fuzz_%d.second", pid);
        // Every run's files are left for the next; the last are removed once the fuzzer ends.
        atexit([] {
            remove(input);
            remove(first);
            remove(second);
        });
    }
    FILE* file = fopen(input, "wb");
    if (file == nullptr) return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    memset(store.get(), 0, sizeof *store);
    int result = KFG_openFile(store.get(), input);
    if (result == KFG_ERR_FULL) return 0;
    if (result != KFG_OK) __builtin_trap();
    if (KFG_writeFile(store.get(), first) != KFG_OK) __builtin_trap();

    std::string written = readAll(first);
    if (KFG_openFile(store.get(), first) != KFG_OK) __builtin_trap();
    if (KFG_writeFile(store.get(), second) != KFG_OK) __builtin_trap();
    if (longestLine(written) <= KFG_TEXT_SIZE - 1 && readAll(second) != written) __builtin_trap();
    return 0;
}

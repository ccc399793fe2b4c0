// Any bytes as a language file: reading never fails unsafely, and what it leaves in the store
// is consistent: either the cleared store of a refused file, or languages, strings and counts
// that agree, every text terminated within its field and free of line breaks and '>'. The
// same file with CR LF line ends, or with bytes after a 0x1A mark, reads to the same store.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "txm.h"

namespace {

char inputPath[64], variantPath[64];

bool writeFile(const char* path, const std::string& bytes) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

bool allZero(const void* data, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return size == 0 || (p[0] == 0 && memcmp(p, p + 1, size - 1) == 0);
}

// A field holds a terminated text of at most size - 1 characters with zeros after it, and no
// character that ends a record.
bool fieldIsSound(const char* field, size_t size) {
    size_t length = strnlen(field, size);
    if (length == size) return false;
    if (memchr(field, '\n', length) != nullptr || memchr(field, '>', length) != nullptr)
        return false;
    return allZero(field + length, size - length);
}

void checkLoaded(_TXMINFOFILE* store) {
    if (store->loaded != 1) __builtin_trap();
    if (store->languageCount < 0 || store->languageCount > TXM_FILE_LANGUAGES) __builtin_trap();
    if (TXM_getNumLanguage(store) != store->languageCount) __builtin_trap();
    int total = 0;
    for (int l = 0; l < TXM_LANGUAGE_RECORDS; ++l) {
        _TXMLANGUAGE& language = store->languages[l];
        if (l >= store->languageCount) {
            if (!allZero(&language, sizeof language)) __builtin_trap();
            continue;
        }
        if (language.present != 1 || !fieldIsSound(language.name, sizeof language.name))
            __builtin_trap();
        if (TXM_getLangName(store, l) != language.name) __builtin_trap();
        if (language.stringCount < 0 || language.stringCount > TXM_MAX_STRINGS) __builtin_trap();
        total += language.stringCount;
        for (int id = 0; id < TXM_MAX_STRINGS; ++id) {
            _TXMSTRING& string = language.strings[id];
            bool expected = id < language.stringCount;
            if (string.present != (expected ? 1 : 0)) __builtin_trap();
            if (!fieldIsSound(string.text, sizeof string.text)) __builtin_trap();
            if (TXM_getString(store, l, id) != (expected ? string.text : nullptr)) __builtin_trap();
        }
    }
    if (total != store->stringTotal) __builtin_trap();
}

// Reads bytes as a variant of the input and traps unless it gives the same store.
void checkSameStore(const std::string& bytes, const _TXMINFOFILE* expected, int expectedResult) {
    static std::unique_ptr<_TXMINFOFILE> variant(new _TXMINFOFILE());
    if (!writeFile(variantPath, bytes)) return;
    memset(variant.get(), 0x5A, sizeof *variant);
    if (TXM_openFile(variant.get(), variantPath) != expectedResult) __builtin_trap();
    if (memcmp(variant.get(), expected, sizeof *variant) != 0) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<_TXMINFOFILE> store(new _TXMINFOFILE());
    if (inputPath[0] == '\0') {
        int pid = static_cast<int>(getpid());
        snprintf(inputPath, sizeof inputPath, "/tmp/txm_fuzz_%d.lng", pid);
        snprintf(variantPath, sizeof variantPath, "/tmp/txm_fuzz_%d.variant.lng", pid);
        // Every run's files are left for the next; the last are removed once the fuzzer ends.
        atexit([] {
            remove(inputPath);
            remove(variantPath);
        });
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!writeFile(inputPath, bytes)) return 0;

    // Whatever the store held before, reading leaves only what the file gives.
    memset(store.get(), 0x5A, sizeof *store);
    int result = TXM_openFile(store.get(), inputPath);
    if (result == TXM_ERR_FILE) {
        if (!allZero(store.get(), sizeof *store)) __builtin_trap();
    } else if (result == TXM_OK) {
        checkLoaded(store.get());
    } else {
        __builtin_trap();
    }

    if (bytes.find('\r') == std::string::npos && bytes.find('\x1A') == std::string::npos) {
        std::string crlf;
        for (char c : bytes) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        checkSameStore(crlf, store.get(), result);
        checkSameStore(bytes + "\x1A<n:after the end>\n<s:after the end>\n", store.get(), result);
    }
    return 0;
}

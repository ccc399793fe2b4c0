// Lists every language and string of a language file as the library reads it, by language
// index and string id, so that the texts can be checked by eye:
//
//   txm_dump Muralto.lng
//
// Texts are printed between quotes, so that closing blanks show. The file's Windows-1252
// bytes are printed as UTF-8.
#include <stdio.h>

#include "txm.h"

namespace {

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252 (0 for the five it leaves
// undefined); every other byte is the code point of the same value.
const unsigned short kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void putUtf8(unsigned code) {
    if (code < 0x80) {
        putchar(static_cast<int>(code));
    } else if (code < 0x800) {
        putchar(static_cast<int>(0xC0 | (code >> 6)));
        putchar(static_cast<int>(0x80 | (code & 0x3F)));
    } else {
        putchar(static_cast<int>(0xE0 | (code >> 12)));
        putchar(static_cast<int>(0x80 | ((code >> 6) & 0x3F)));
        putchar(static_cast<int>(0x80 | (code & 0x3F)));
    }
}

void putText(const char* text) {
    putchar('"');
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        unsigned code = *p;
        if (code >= 0x80 && code < 0xA0) code = kHighControls[code - 0x80];
        if (code == 0 || code < 0x20) {
            printf("\\x%02X", *p); // undefined and control bytes stay visible
            continue;
        }
        putUtf8(code);
    }
    putchar('"');
}

_TXMINFOFILE store; // too large for the stack

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: txm_dump LANGUAGE_FILE\n");
        return 2;
    }
    int result = TXM_openFile(&store, argv[1]);
    if (result != TXM_OK) {
        fprintf(stderr, "txm_dump: %s: cannot be read (result %d)\n", argv[1], result);
        return 1;
    }
    printf("%s: %d languages, %d strings\n", argv[1], TXM_getNumLanguage(&store),
           static_cast<int>(store.stringTotal));
    for (int language = 0; language < TXM_FILE_LANGUAGES; ++language) {
        const _TXMLANGUAGE& record = store.languages[language];
        if (!record.present) continue;
        printf("\nlanguage %d ", language);
        putText(record.name);
        printf(", %d strings\n", static_cast<int>(record.stringCount));
        for (int id = 0; id < record.stringCount; ++id) {
            printf("  %2d ", id);
            putText(TXM_getString(&store, language, id));
            putchar('\n');
        }
    }
    return 0;
}

// Reading language files into the store, the built-in language and the lookups.
//
// Files are opened in binary mode and the text-mode rules are applied here (a CR directly
// before a LF is dropped, a byte 0x1A ends the file), so that the library reads the same
// bytes into the same store on every platform.
#include <stdio.h>
#include <string.h>

#include "txm.h"

// The store is the caller's memory: 32-bit and 64-bit builds, and every compiler, must agree on
// its layout (txm.h).
static_assert(sizeof(_TXMLANGUAGE) == 25728 && sizeof(_TXMINFOFILE) == 154380, "TXM store layout");

namespace {

const int kEndOfFileMark = 0x1A;
const int kNoByte = -2;        // the reader holds no byte back
const int kHeaderLetter = 'h'; // the header record is "<h:HTXM", whatever follows
const char kHeaderText[] = "HTXM";
const char kDefaultName[] = "Default";

struct Reader {
    FILE* file;
    int heldBack; // a byte read ahead after a CR, or kNoByte
    bool atEnd;   // the end of the file, the 0x1A mark or a read error was met
};

int rawByte(Reader* reader) {
    if (reader->heldBack != kNoByte) {
        int c = reader->heldBack;
        reader->heldBack = kNoByte;
        return c;
    }
    return fgetc(reader->file);
}

// The next character as the text mode gives it, or EOF from then on. A read error ends the
// file like its end does: what was read so far is kept.
int nextChar(Reader* reader) {
    if (reader->atEnd) return EOF;
    int c = rawByte(reader);
    if (c == EOF || c == kEndOfFileMark) {
        reader->atEnd = true;
        return EOF;
    }
    if (c == '\r') {
        int next = rawByte(reader);
        if (next == '\n') return '\n';
        reader->heldBack = next; // EOF included: the next call then ends the file
    }
    return c;
}

// Passes over everything up to and including the next `wanted`; false at the end of the file.
bool skipPast(Reader* reader, int wanted) {
    int c;
    while ((c = nextChar(reader)) != EOF)
        if (c == wanted) return true;
    return false;
}

struct Record {
    int letter;               // EOF when the file ended right after the '<'
    bool colon;               // the colon stood right after the letter
    char text[TXM_TEXT_SIZE]; // the first 255 characters of the text
};

// Reads a record after its '<': the letter, the colon, then the text up to the first '>' or
// the end of the line, of which the first 255 characters are kept. After a '>' the rest of
// the line is passed over, so the next record is looked for from the next line on.
void readRecord(Reader* reader, Record* record) {
    memset(record, 0, sizeof *record);
    record->letter = nextChar(reader);
    if (record->letter == EOF || record->letter == '\n') return; // a record cut by its line end
    int c = record->letter == '>' ? '>' : nextChar(reader);
    if (c == ':') {
        record->colon = true;
        c = nextChar(reader);
    }
    size_t stored = 0;
    while (c != EOF && c != '\n' && c != '>') {
        if (stored < TXM_TEXT_SIZE - 1) record->text[stored++] = static_cast<char>(c);
        c = nextChar(reader);
    }
    if (c == '>') skipPast(reader, '\n');
}

bool isHeader(const Record& record) {
    return record.letter == kHeaderLetter && record.colon &&
           strncmp(record.text, kHeaderText, sizeof kHeaderText - 1) == 0;
}

// Copies text into a field of `size` bytes, cut to fit, always terminated, the rest zeroed.
void setField(char* field, size_t size, const char* text) {
    size_t length = strnlen(text, size - 1);
    memcpy(field, text, length);
    memset(field + length, 0, size - length);
}

void addLanguage(_TXMINFOFILE* store, const char* name) {
    if (store->languageCount >= TXM_FILE_LANGUAGES) return; // a sixth language is ignored
    _TXMLANGUAGE* language = &store->languages[store->languageCount];
    setField(language->name, sizeof language->name, name);
    language->present = 1;
    ++store->languageCount;
}

// The next string of the language last started; strings after an ignored sixth language
// therefore go on filling the fifth.
void addString(_TXMINFOFILE* store, const char* text) {
    if (store->languageCount < 1) return;
    _TXMLANGUAGE* language = &store->languages[store->languageCount - 1];
    if (language->stringCount >= TXM_MAX_STRINGS) return;
    _TXMSTRING* string = &language->strings[language->stringCount];
    setField(string->text, sizeof string->text, text);
    string->present = 1;
    ++language->stringCount;
    ++store->stringTotal;
}

bool isFileLanguage(int language) { return language >= 0 && language < TXM_FILE_LANGUAGES; }

bool isStringId(int id) { return id >= 0 && id < TXM_MAX_STRINGS; }

} // namespace

// ---- Versions ------------------------------------------------------------------------------

float TXM_getVersFloat() { return 1.0f; }

char* TXM_getVersChar() {
    static char version[] = "TXM Version 1.2";
    return version;
}

// ---- The store -----------------------------------------------------------------------------

int TXM_clear(_TXMINFOFILE* store) {
    if (store == nullptr) return TXM_ERR_STORE;
    memset(store, 0, sizeof *store);
    return TXM_OK;
}

int TXM_openFile(_TXMINFOFILE* store, char* path) {
    if (path == nullptr || path[0] == '\0') return TXM_ERR_ARG;
    if (store == nullptr) return TXM_ERR_STORE;

    FILE* file = fopen(path, "rb");
    if (file == nullptr) return TXM_ERR_FILE;
    // A path that opens but cannot be read (a folder, say) is refused before the store changes,
    // as the Windows build refuses it when opening.
    int first = fgetc(file);
    if (first == EOF && ferror(file)) {
        fclose(file);
        return TXM_ERR_FILE;
    }

    TXM_clear(store);
    Reader reader = {file, first, false};
    Record record;
    if (!skipPast(&reader, '<')) {
        fclose(file);
        return TXM_ERR_FILE;
    }
    readRecord(&reader, &record);
    if (!isHeader(record)) {
        fclose(file);
        return TXM_ERR_FILE;
    }
    while (skipPast(&reader, '<')) {
        readRecord(&reader, &record);
        if (record.letter == 'n') addLanguage(store, record.text);
        if (record.letter == 's') addString(store, record.text);
    }
    store->loaded = 1;
    fclose(file);
    return TXM_OK;
}

int TXM_setDefault(_TXMINFOFILE* store, int id, char* text) {
    if (store == nullptr) return TXM_ERR_STORE;
    if (!isStringId(id)) return TXM_ERR_SIZE;
    if (text == nullptr) return TXM_ERR_ARG;
    _TXMLANGUAGE* builtIn = &store->languages[TXM_DEFAULT_LANGUAGE];
    if (store->loaded == 0) {
        store->loaded = 1;
        builtIn->present = 1;
        setField(builtIn->name, sizeof builtIn->name, kDefaultName);
    }
    _TXMSTRING* string = &builtIn->strings[id];
    setField(string->text, sizeof string->text, text);
    string->present = 1;
    return TXM_OK;
}

// ---- Lookups -------------------------------------------------------------------------------

char* TXM_getString(_TXMINFOFILE* store, int language, int id) {
    if (store == nullptr || store->loaded == 0) return nullptr;
    if (!isFileLanguage(language) || !isStringId(id)) return nullptr;
    _TXMSTRING* own = &store->languages[language].strings[id];
    if (own->present) return own->text;
    _TXMSTRING* builtIn = &store->languages[TXM_DEFAULT_LANGUAGE].strings[id];
    if (builtIn->present) return builtIn->text;
    return nullptr;
}

char* TXM_getLangName(_TXMINFOFILE* store, int language) {
    if (store == nullptr || store->loaded == 0 || !isFileLanguage(language)) return nullptr;
    _TXMLANGUAGE* record = &store->languages[language];
    if (record->present) return record->name;
    return store->languages[TXM_DEFAULT_LANGUAGE].name;
}

int TXM_getNumLanguage(_TXMINFOFILE* store) {
    if (store == nullptr || store->loaded == 0) return 0;
    int count = 0;
    for (int i = 0; i < TXM_FILE_LANGUAGES; ++i)
        if (store->languages[i].present) ++count;
    return count;
}

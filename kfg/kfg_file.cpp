// Reading and writing configuration files.
//
// Files are opened in binary mode and line ends are handled here, so that the library reads
// and writes the same bytes on every platform: it writes CR LF, takes LF or CR LF as a line
// end, and stops at a byte 0x1A as the Windows text mode does.
#include <stdio.h>
#include <string.h>

#include "kfg.h"
#include "kfg_internal.h"

namespace {

const int kEndOfFileMark = 0x1A;

struct LineReader {
    FILE* file;
    bool atEnd;  // a read met the end of the file (or the 0x1A mark)
    bool failed; // a read error
};

int nextByte(LineReader* reader) {
    int c = fgetc(reader->file);
    if (c == EOF) {
        reader->atEnd = true;
        reader->failed = ferror(reader->file) != 0;
        return EOF;
    }
    if (c == kEndOfFileMark) {
        reader->atEnd = true;
        return EOF;
    }
    if (c == '\r') {
        int next = fgetc(reader->file);
        if (next == '\n') return '\n';
        if (next != EOF) ungetc(next, reader->file);
    }
    return c;
}

// Fills line (KFG_TEXT_SIZE bytes) with the next line: up to LF, the end, or 255 characters,
// in which case the next character stays for the next line. A NUL cuts the text there.
void readLine(LineReader* reader, char* line) {
    memset(line, 0, KFG_TEXT_SIZE);
    int stored = 0;
    while (stored < KFG_TEXT_SIZE - 1) {
        int c = nextByte(reader);
        if (c == EOF || c == '\n') return;
        line[stored++] = static_cast<char>(c);
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Removes spaces and tabs at both ends, in place; every byte after the text becomes zero.
void trimBlanks(char* text) {
    size_t start = 0;
    while (isBlank(text[start])) ++start;
    size_t length = strlen(text + start);
    memmove(text, text + start, length);
    memset(text + length, 0, KFG_TEXT_SIZE - length);
    while (length > 0 && isBlank(text[length - 1])) text[--length] = '\0';
}

// Copies into dest the text after the first `start` (stepped over when skip is 1; from the
// beginning when start is 0) up to `stop` or the end. Empty when `start` does not occur.
void extractField(const char* source, char* dest, char start, int skip, char stop) {
    memset(dest, 0, KFG_TEXT_SIZE);
    const char* from = source;
    if (start != '\0') {
        from = strchr(source, start);
        if (from == nullptr) return;
        from += skip;
    }
    size_t length = 0;
    while (from[length] != '\0' && from[length] != stop && length < KFG_TEXT_SIZE - 1) ++length;
    memcpy(dest, from, length);
}

void readClassLine(_KFGINFOFILE* store, const char* line, uint16_t classCounter) {
    _KFGCLASS* slot = &store->classes[classCounter];
    slot->used = 1;
    extractField(line, slot->name, '[', 1, ']');
    trimBlanks(slot->name);
    slot->id = classCounter;
    ++store->classCount;
}

void readMemberLine(_KFGINFOFILE* store, const char* line, uint16_t classCounter) {
    _KFGMEMBER* slot = &store->members[store->memberCount];
    slot->used = 1;
    extractField(line, slot->name, '\0', 0, '=');
    trimBlanks(slot->name);
    extractField(line, slot->init, '=', 1, ';');
    trimBlanks(slot->init);
    slot->classId = static_cast<uint16_t>(classCounter - 1);
    ++store->memberCount;
}

long fileLength(FILE* file) {
    if (fseek(file, 0, SEEK_END) != 0) return -1;
    long length = ftell(file);
    if (fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

bool writeText(FILE* file, const char* text) { return fputs(text, file) >= 0; }

} // namespace

int KFG_openFile(_KFGINFOFILE* store, char* path) {
    if (path == nullptr || path[0] == '\0') return KFG_ERR_ARG;
    if (store == nullptr) return KFG_ERR_STORE;

    FILE* file = fopen(path, "rb");
    if (file == nullptr) return KFG_ERR_FILE;
    // A path that opens but cannot be read (a folder, say) is refused before the store changes.
    long length = fileLength(file);
    int first = fgetc(file);
    if (length < 0 || (first == EOF && ferror(file))) {
        fclose(file);
        return KFG_ERR_FILE;
    }
    ungetc(first, file);

    kfg::resetStore(store);
    LineReader reader = {file, false, false};
    char line[KFG_TEXT_SIZE];
    uint16_t classCounter = 0;
    while (!reader.atEnd) {
        readLine(&reader, line);
        if (reader.failed) {
            // What was read is incomplete: keep nothing loaded rather than half a configuration.
            fclose(file);
            return KFG_ERR_FILE;
        }
        store->lineCount = static_cast<int16_t>(store->lineCount + 1);
        trimBlanks(line);
        char kind = line[0];
        if (kind == '\0' || kind == '#' || kind == ';') continue;
        if (kind == '[') {
            if (store->classCount >= KFG_MAX_CLASSES) {
                fclose(file);
                return KFG_ERR_FULL;
            }
            readClassLine(store, line, classCounter);
            ++classCounter;
        } else {
            if (store->memberCount >= KFG_MAX_MEMBERS) {
                fclose(file);
                return KFG_ERR_FULL;
            }
            readMemberLine(store, line, classCounter);
        }
    }
    store->loaded = 1;
    store->fileSize = static_cast<int32_t>(length);
    store->currentClass = static_cast<uint16_t>(classCounter - 1);
    fclose(file);
    return KFG_OK;
}

int KFG_writeFile(_KFGINFOFILE* store, char* path) {
    if (path == nullptr || path[0] == '\0') return KFG_ERR_ARG;
    if (store == nullptr || store->loaded != 1) return KFG_ERR_STORE;

    FILE* file = fopen(path, "wb");
    if (file == nullptr) return KFG_ERR_FILE;
    bool ok = true;
    for (int c = 0; c < KFG_MAX_CLASSES; ++c) {
        const _KFGCLASS& cls = store->classes[c];
        if (!cls.used) continue;
        ok = ok && writeText(file, c == 0 ? "[" : "\r\n[") && writeText(file, cls.name) &&
             writeText(file, "]\r\n");
        for (int m = 0; m < KFG_MAX_MEMBERS; ++m) {
            const _KFGMEMBER& member = store->members[m];
            if (!member.used || member.classId != cls.id) continue;
            ok = ok && writeText(file, member.name) && writeText(file, " = ") &&
                 writeText(file, member.init) && writeText(file, "\r\n");
        }
    }
    // A full disk shows up at the latest when the buffered rest is flushed by the close.
    ok = (fflush(file) == 0) && ok;
    ok = (fclose(file) == 0) && ok;
    return ok ? KFG_OK : KFG_ERR_FILE;
}

#include "settings_files.h"

#include <windows.h>

#include <string.h>

#include "app_state.h"
#include "bounded_text.h"

SaveStepHook saveStepHook = nullptr;

namespace {

const size_t INI_EXTENSION = 4; // ".ini"

// iniFilePath without its ".ini", so that other names can be built beside it.
int baseLength() {
    size_t length = strlen(iniFilePath);
    return length < INI_EXTENSION ? -1 : static_cast<int>(length - INI_EXTENSION);
}

bool configBaseName(int index, char* base, int size) {
    int length = baseLength();
    if (length < 0) return false;
    if (index == 0) return formatText(base, size, "%.*s", length, iniFilePath);
    return formatText(base, size, "%.*s-part%d", length, iniFilePath, index + 1);
}

} // namespace

bool saveStepAllowed(const char* step, const char* path) {
    return saveStepHook == nullptr || saveStepHook(step, path);
}

bool configFilePath(int index, char* path, int size) {
    char base[MAX_PATH];
    return configBaseName(index, base, sizeof base) && formatText(path, size, "%s.ini", base);
}

bool pendingFilePath(int index, char* path, int size) {
    char base[MAX_PATH];
    return configBaseName(index, base, sizeof base) && formatText(path, size, "%s.ini.new", base);
}

bool pathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool flushToDisk(const char* path) {
    if (!saveStepAllowed("flush", path)) return false;
    // FlushFileBuffers needs a handle with write access; nothing is written through it.
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

bool putInPlace(const char* from, const char* to) {
    if (!saveStepAllowed("replace", to)) return false;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const char* path) {
    if (!pathExists(path)) return true;
    if (!saveStepAllowed("delete", path)) return false;
    return DeleteFileA(path) != 0 || !pathExists(path);
}

bool keepAside(int index) {
    char from[MAX_PATH], base[MAX_PATH];
    if (!configFilePath(index, from, sizeof from) || !configBaseName(index, base, sizeof base))
        return false;
    for (int number = 1; number < 1000; ++number) {
        char to[MAX_PATH];
        if (!formatText(to, sizeof to, "%s-refused%d.ini", base, number)) return false;
        if (pathExists(to)) continue;
        if (!saveStepAllowed("keep", to)) return false;
        // Fail-if-exists: an earlier kept file is never overwritten.
        if (!CopyFileA(from, to, TRUE)) return false;
        return flushToDisk(to);
    }
    return false;
}

bool keptAsidePattern(char* pattern, int size) {
    int length = baseLength();
    return length >= 0 && formatText(pattern, size, "%.*s*-refused*.ini", length, iniFilePath);
}

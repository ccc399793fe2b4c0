// Moving the data of earlier versions, once.
//
// Earlier versions kept their data in the folder Muralto of the Windows system folder. Where the
// files really are depends on how the program ran: in System32\Muralto (GetSystemDirectory);
// in SysWOW64\Muralto for the 32-bit program run with administrator rights on 64-bit Windows; or,
// for a standard user, in the virtual store of the user's profile,
// %LOCALAPPDATA%\VirtualStore\Windows\SysWOW64\Muralto or ...\System32\Muralto, which only a
// virtualised program sees and which this program, declared asInvoker, must name itself. Each
// of those holding a Muralto.ini is a candidate; the one whose Muralto.ini was written last is
// the user's current data.
//
// The move happens at start, before the settings are read, only while the data folder has no
// Muralto.ini: once one is there (moved or saved), the old folders are never looked at again.
// 1. A temporary folder beside the data folder (Muralto.moving) left by an interrupted start is
//    removed, and made afresh with its previews folder.
// 2. Every file of the old folder and of its previews folder is copied into it and flushed to
//    the disk. The settings files (Muralto.ini, Muralto-part<k>.ini, the kept-aside
//    Muralto-refused<n>.ini, a save's ".new" files) are copied line by line: a "filename" or
//    "preview" value that lies in any of the old folders (a 32-bit program wrote
//    C:\Windows\system32\Muralto\... whichever folder held the files; case is ignored, as
//    Windows ignores it) is made to lie in the data folder; every other byte stays.
// 3. The data folder, when a start that could not move the data left it empty, is removed, and
//    the temporary folder is renamed to it: the one step that makes the moved data appear.
// Crash safety: until step 3 nothing the program reads has changed, and the data folder appears
// only complete, its files on the disk before the rename. A kill or a failure at any moment
// leaves either no Muralto.ini in the data folder, so the next start moves the data again from
// the beginning, or the complete copy. The old folders are opened for reading only (shared with
// other readers, never with a writer) and are never changed or deleted. A failure (a file held
// open by another program, a full disk, a data folder that holds files without settings)
// removes the temporary folder and is reported, naming the old folder; the program then starts
// with an empty data folder.
#include "data_migration.h"

#include <stdlib.h>
#include <string.h>

#include "app_state.h"
#include "data_folder.h"
#include "kfg.h"

namespace {

const wchar_t FOLDER_NAME[] = L"\\Muralto";
const wchar_t SETTINGS_FILE[] = L"\\Muralto.ini";
const wchar_t PREVIEWS[] = L"\\previews";
const wchar_t MOVING[] = L".moving"; // the temporary folder: the data folder's name + this
// Far beyond any settings file (500 wallpapers take about 100 KB): a larger file is copied as
// it is.
const LONGLONG MAX_REWRITTEN_FILE = 16LL * 1024 * 1024;
const int MAX_LINE = KFG_TEXT_SIZE - 1; // the store reads at most this many bytes as one line

struct OldFolders {
    wchar_t paths[MAX_OLD_FOLDERS][MAX_PATH];
    int count;
};

// a + b + c into out (MAX_PATH characters); false when they do not fit.
bool joinPath(wchar_t* out, const wchar_t* a, const wchar_t* b, const wchar_t* c = L"") {
    size_t lengthA = wcslen(a), lengthB = wcslen(b), lengthC = wcslen(c);
    if (lengthA + lengthB + lengthC >= MAX_PATH) return false;
    wmemcpy(out, a, lengthA);
    wmemcpy(out + lengthA, b, lengthB);
    wmemcpy(out + lengthA + lengthB, c, lengthC + 1);
    return true;
}

bool exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

void addFolder(OldFolders* folders, const wchar_t* base, const wchar_t* rest,
               const wchar_t* more = L"") {
    wchar_t path[MAX_PATH];
    if (folders->count >= MAX_OLD_FOLDERS || !joinPath(path, base, rest, more)) return;
    for (int i = 0; i < folders->count; ++i)
        if (lstrcmpiW(folders->paths[i], path) == 0) return;
    wmemcpy(folders->paths[folders->count++], path, wcslen(path) + 1);
}

void findOldFolders(OldFolders* folders) {
    folders->count = 0;
    wchar_t system[MAX_PATH], wow64[MAX_PATH], windows[MAX_PATH], local[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) addFolder(folders, system, FOLDER_NAME);
    length = GetWindowsDirectoryW(windows, MAX_PATH);
    bool haveWindows = length > 0 && length < MAX_PATH;
    // None on 32-bit Windows, where no program was redirected.
    length = GetSystemWow64DirectoryW(wow64, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        addFolder(folders, wow64, FOLDER_NAME);
    else if (haveWindows)
        addFolder(folders, windows, L"\\SysWOW64", FOLDER_NAME);
    // The virtual store mirrors a path without its drive: C:\Windows\SysWOW64\Muralto is
    // VirtualStore\Windows\SysWOW64\Muralto.
    wchar_t store[MAX_PATH];
    if (haveWindows && windows[1] == L':' && localAppDataFolder(local, MAX_PATH) &&
        joinPath(store, local, L"\\VirtualStore", windows + 2)) {
        addFolder(folders, store, L"\\SysWOW64", FOLDER_NAME);
        addFolder(folders, store, L"\\System32", FOLDER_NAME);
    }
}

// The candidate whose Muralto.ini was written last; -1 when none has one.
int newestWithSettings(const OldFolders& folders) {
    int newest = -1;
    FILETIME newestTime = {};
    for (int i = 0; i < folders.count; ++i) {
        wchar_t settings[MAX_PATH];
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!joinPath(settings, folders.paths[i], SETTINGS_FILE) ||
            !GetFileAttributesExW(settings, GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (newest < 0 || CompareFileTime(&data.ftLastWriteTime, &newestTime) > 0) {
            newest = i;
            newestTime = data.ftLastWriteTime;
        }
    }
    return newest;
}

bool endsWith(const wchar_t* name, const wchar_t* ending) {
    size_t length = wcslen(name), endingLength = wcslen(ending);
    return length >= endingLength && lstrcmpiW(name + length - endingLength, ending) == 0;
}

bool isSettingsFile(const wchar_t* name) {
    return endsWith(name, L".ini") || endsWith(name, L".ini.new");
}

bool flushToDisk(const wchar_t* path) {
    // FlushFileBuffers needs a handle with write access; nothing is written through it.
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

bool writeBytes(HANDLE file, const char* bytes, size_t length) {
    while (length > 0) {
        DWORD chunk = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length), written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk) return false;
        bytes += chunk;
        length -= chunk;
    }
    return true;
}

// The whole file into a buffer of its own (to be freed); null when it cannot be read or is
// larger than MAX_REWRITTEN_FILE, with *tooLarge telling which.
char* readWhole(const wchar_t* path, size_t* size, bool* tooLarge) {
    *tooLarge = false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER length;
    char* bytes = nullptr;
    if (GetFileSizeEx(file, &length)) {
        *tooLarge = length.QuadPart > MAX_REWRITTEN_FILE;
        if (!*tooLarge)
            bytes = static_cast<char*>(malloc(static_cast<size_t>(length.QuadPart) + 1));
    }
    DWORD read = 0;
    if (bytes != nullptr &&
        (!ReadFile(file, bytes, static_cast<DWORD>(length.QuadPart), &read, nullptr) ||
         read != length.QuadPart)) {
        free(bytes);
        bytes = nullptr;
    }
    CloseHandle(file);
    *size = read;
    return bytes;
}

struct Rewrite {
    OldFolderNames old;
    const char* newFolder;
};

// Writes text to file with each line rewritten as rewriteDataLine says. The configuration store
// stops at a byte 0x1A: what follows is copied as it is.
bool writeRewritten(HANDLE file, const char* text, size_t size, const Rewrite& rewrite) {
    const char* mark = static_cast<const char*>(memchr(text, 0x1A, size));
    size_t end = mark != nullptr ? static_cast<size_t>(mark - text) : size;
    size_t copied = 0, start = 0;
    while (start < end) {
        const char* lf = static_cast<const char*>(memchr(text + start, '\n', end - start));
        size_t lineEnd = lf != nullptr ? static_cast<size_t>(lf - text) : end;
        char line[2 * KFG_TEXT_SIZE + MAX_PATH];
        size_t length = 0;
        if (rewriteDataLine(text + start, lineEnd - start, rewrite.old, rewrite.newFolder, line,
                            sizeof line, &length)) {
            if (!writeBytes(file, text + copied, start - copied) || !writeBytes(file, line, length))
                return false;
            copied = lineEnd;
        }
        start = lineEnd + 1;
    }
    return writeBytes(file, text + copied, size - copied);
}

bool copyPlain(const wchar_t* from, const wchar_t* to) {
    // Fail-if-exists: the temporary folder was made empty.
    return CopyFileW(from, to, TRUE) && flushToDisk(to);
}

bool copyRewritten(const wchar_t* from, const wchar_t* to, const Rewrite& rewrite) {
    size_t size = 0;
    bool tooLarge = false;
    char* text = readWhole(from, &size, &tooLarge);
    if (text == nullptr) return tooLarge && copyPlain(from, to);
    HANDLE file =
        CreateFileW(to, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = writeRewritten(file, text, size, rewrite) && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
    }
    free(text);
    return ok;
}

// Copies the files (not the folders) of from into to; a from that is not there has none.
bool copyFiles(const wchar_t* from, const wchar_t* to, const Rewrite& rewrite) {
    wchar_t pattern[MAX_PATH];
    if (!joinPath(pattern, from, L"\\*")) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return !exists(from);
    bool ok = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wchar_t source[MAX_PATH], target[MAX_PATH];
        ok = joinPath(source, from, L"\\", found.cFileName) &&
             joinPath(target, to, L"\\", found.cFileName) &&
             (isSettingsFile(found.cFileName) ? copyRewritten(source, target, rewrite)
                                              : copyPlain(source, target));
    } while (ok && FindNextFileW(search, &found));
    // The listing itself must have reached its end.
    ok = ok && GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return ok;
}

void deleteFiles(const wchar_t* folder) {
    wchar_t pattern[MAX_PATH];
    if (!joinPath(pattern, folder, L"\\*")) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        wchar_t path[MAX_PATH];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            joinPath(path, folder, L"\\", found.cFileName))
            DeleteFileW(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The temporary folder with its previews folder, which hold only what a move put there.
bool removeTemporaryFolder(const wchar_t* temporary) {
    wchar_t previews[MAX_PATH];
    if (!exists(temporary)) return true;
    if (!joinPath(previews, temporary, PREVIEWS)) return false;
    deleteFiles(previews);
    RemoveDirectoryW(previews);
    deleteFiles(temporary);
    RemoveDirectoryW(temporary);
    return !exists(temporary);
}

bool makeTemporaryFolder(const wchar_t* temporary) {
    wchar_t previews[MAX_PATH];
    return joinPath(previews, temporary, PREVIEWS) && CreateDirectoryW(temporary, nullptr) &&
           CreateDirectoryW(previews, nullptr);
}

// A start that could not move the data made the data folder and its previews folder, empty:
// they make way. One that holds files is left alone (RemoveDirectory removes empty folders only).
bool clearEmptyDataFolder(const wchar_t* folder) {
    wchar_t previews[MAX_PATH];
    if (!exists(folder)) return true;
    if (!joinPath(previews, folder, PREVIEWS)) return false;
    RemoveDirectoryW(previews);
    RemoveDirectoryW(folder);
    return !exists(folder);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool sameText(const char* a, const char* b, size_t length) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, static_cast<int>(length), b,
                          static_cast<int>(length)) == CSTR_EQUAL;
}

} // namespace

bool rewriteDataLine(const char* line, size_t length, const OldFolderNames& old,
                     const char* newFolder, char* out, size_t size, size_t* outLength) {
    // The configuration store's reading of a line: blanks around the name and the value, the
    // name up to the first '=', no member in a class header or a comment.
    size_t content = length > 0 && line[length - 1] == '\r' ? length - 1 : length;
    if (content > static_cast<size_t>(MAX_LINE)) return false;
    size_t p = 0;
    while (p < content && isBlank(line[p])) ++p;
    if (p == content || line[p] == '[' || line[p] == '#' || line[p] == ';') return false;
    const char* equals = static_cast<const char*>(memchr(line + p, '=', content - p));
    if (equals == nullptr) return false;
    size_t nameEnd = static_cast<size_t>(equals - line);
    while (nameEnd > p && isBlank(line[nameEnd - 1])) --nameEnd;
    size_t nameLength = nameEnd - p;
    if (!(nameLength == 8 && memcmp(line + p, "filename", 8) == 0) &&
        !(nameLength == 7 && memcmp(line + p, "preview", 7) == 0))
        return false;
    size_t value = static_cast<size_t>(equals - line) + 1;
    while (value < content && isBlank(line[value])) ++value;
    size_t newLength = strlen(newFolder);
    for (int i = 0; i < old.count; ++i) {
        size_t oldLength = strlen(old.paths[i]);
        // The folder itself, then a backslash: Muralto2\x lies in another folder.
        if (oldLength == 0 || value + oldLength >= content || line[value + oldLength] != '\\' ||
            !sameText(line + value, old.paths[i], oldLength))
            continue;
        size_t total = length - oldLength + newLength;
        if (total - (length - content) > static_cast<size_t>(MAX_LINE) || total > size)
            return false;
        memcpy(out, line, value);
        memcpy(out + value, newFolder, newLength);
        memcpy(out + value + newLength, line + value + oldLength, length - value - oldLength);
        *outLength = total;
        return true;
    }
    return false;
}

DataMove moveOldData() {
    DataMove move;
    memset(&move, 0, sizeof move);
    move.outcome = MOVE_NOTHING;
    wchar_t folder[MAX_PATH], settings[MAX_PATH], temporary[MAX_PATH];
    if (dataFolder[0] == '\0' ||
        MultiByteToWideChar(CP_ACP, 0, dataFolder, -1, folder, MAX_PATH) == 0 ||
        !joinPath(settings, folder, SETTINGS_FILE) || !joinPath(temporary, folder, MOVING) ||
        exists(settings))
        return move;
    OldFolders old;
    findOldFolders(&old);
    int newest = newestWithSettings(old);
    if (newest < 0) return move;
    const wchar_t* from = old.paths[newest];
    wmemcpy(move.from, from, wcslen(from) + 1);

    Rewrite rewrite;
    memset(&rewrite.old, 0, sizeof rewrite.old);
    for (int i = 0; i < old.count; ++i)
        if (exactAnsi(old.paths[i], rewrite.old.paths[rewrite.old.count], MAX_PATH))
            ++rewrite.old.count;
    rewrite.newFolder = dataFolder;
    wchar_t fromPreviews[MAX_PATH], toPreviews[MAX_PATH];
    bool moved = joinPath(fromPreviews, from, PREVIEWS) &&
                 joinPath(toPreviews, temporary, PREVIEWS) && removeTemporaryFolder(temporary) &&
                 makeTemporaryFolder(temporary) && copyFiles(from, temporary, rewrite) &&
                 copyFiles(fromPreviews, toPreviews, rewrite) && clearEmptyDataFolder(folder) &&
                 MoveFileExW(temporary, folder, MOVEFILE_WRITE_THROUGH);
    if (!moved) removeTemporaryFolder(temporary);
    move.outcome = moved ? MOVE_DONE : MOVE_FAILED;
    return move;
}

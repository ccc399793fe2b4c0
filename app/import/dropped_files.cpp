#include "dropped_files.h"

#include <stdlib.h>
#include <string.h>
#include <wctype.h>

#include "file_open.h"
#include "file_probe.h"
#include "unicode_text.h"

namespace {

// Enough for a deep tree: deeper folders are left out rather than overrun the stack.
const int MAX_DEPTH = 32;
// The paths of one dropped item that can be put in name order, and the characters they take
// (as many as the add flow's buffer holds); more stay in the order they were found.
const int MAX_SORTED = 8192;
const int SORT_ROOM = 65536;

// A folder as its volume knows it, whichever path leads there.
struct FolderId {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

// What the walking thread keeps: its walk, the folders it is in, and the path in the form the
// system calls take. One walk runs at a time, so it lives off the stack.
struct Walker {
    DropWalk* walk;
    PathList* list;
    FolderId ancestors[MAX_DEPTH]; // the folders being walked, the dropped one first
    bool known[MAX_DEPTH];         // whether the system told that folder's identity
    wchar_t systemPath[imaging::kWidePathSize];
    char utf8[SOURCE_PATH_UTF8_SIZE];
};
Walker walker;

bool stopped(DropWalk* walk) { return InterlockedCompareExchange(&walk->stop, 0, 0) != 0; }

// The path as the wide calls take it: a long one behind "\\?\", which they need from
// MAX_PATH characters on.
const wchar_t* forSystem(const wchar_t* path) {
    if (wcslen(path) < MAX_PATH) return path;
    if (!wideToUtf8(path, walker.utf8, sizeof walker.utf8) ||
        !imaging::widePath(walker.utf8, walker.systemPath, imaging::kWidePathSize))
        return path;
    return walker.systemPath;
}

bool isPicture(const wchar_t* path) {
    return wideToUtf8(path, walker.utf8, sizeof walker.utf8) && pictureKind(walker.utf8) != 0;
}

void append(const wchar_t* path, PathList* list) {
    if (list->full) return;
    if (!isPicture(path)) {
        ++list->skipped;
        return;
    }
    int length = static_cast<int>(wcslen(path));
    // The list keeps room for its closing zero.
    if (list->used + length + 2 > list->capacity) {
        list->full = true;
        return;
    }
    wmemcpy(list->buffer + list->used, path, static_cast<size_t>(length) + 1);
    list->used += length + 1;
    InterlockedIncrement(&walker.walk->found);
}

bool identify(const wchar_t* folder, FolderId* id) {
    // A folder opens only with backup semantics; its attributes are all it is asked.
    HANDLE handle = CreateFileW(forSystem(folder), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    if (known) {
        id->volume = information.dwVolumeSerialNumber;
        id->indexHigh = information.nFileIndexHigh;
        id->indexLow = information.nFileIndexLow;
    }
    return known;
}

// A folder met again inside itself: through a link the system does not mark as one, such as a
// folder mounted inside itself or a share whose server follows links. Walking it would go
// round until the depth limit, and several such links multiply the rounds.
bool isAncestor(const FolderId& id, int depth) {
    for (int i = 0; i < depth; ++i) {
        const FolderId& a = walker.ancestors[i];
        if (walker.known[i] && a.volume == id.volume && a.indexHigh == id.indexHigh &&
            a.indexLow == id.indexLow)
            return true;
    }
    return false;
}

void showFolder(const wchar_t* folder) {
    DropWalk* walk = walker.walk;
    size_t length = wcslen(folder);
    if (length >= SOURCE_PATH_SIZE) return;
    EnterCriticalSection(&walk->lock);
    wmemcpy(walk->folder, folder, length + 1);
    LeaveCriticalSection(&walk->lock);
}

void visit(const wchar_t* path, DWORD attributes, int depth);

void visitFolder(const wchar_t* folder, int depth) {
    FolderId id = {};
    bool known = identify(folder, &id);
    if (known && isAncestor(id, depth)) return;
    walker.ancestors[depth] = id;
    walker.known[depth] = known;
    showFolder(folder);
    static wchar_t pattern[SOURCE_PATH_SIZE]; // one walk at a time: off the stack
    size_t length = wcslen(folder);
    if (length + 3 > SOURCE_PATH_SIZE) return;
    wmemcpy(pattern, folder, length);
    wmemcpy(pattern + length, L"\\*", 3);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(forSystem(pattern), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    PathList* list = walker.list;
    wchar_t* child = static_cast<wchar_t*>(malloc(SOURCE_PATH_SIZE * sizeof(wchar_t)));
    do {
        const wchar_t* name = found.cFileName;
        if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) continue;
        DWORD attributes = found.dwFileAttributes;
        bool link =
            (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        // What Explorer does not show (desktop.ini, Thumbs.db) is neither added nor counted.
        bool unseen = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        size_t nameLength = wcslen(name);
        if (link || unseen || child == nullptr) continue;
        if (length + 1 + nameLength >= SOURCE_PATH_SIZE) {
            ++list->skipped;
            continue;
        }
        wmemcpy(child, folder, length);
        child[length] = L'\\';
        wmemcpy(child + length + 1, name, nameLength + 1);
        visit(child, attributes, depth + 1);
    } while (!list->full && !stopped(walker.walk) && FindNextFileW(search, &found));
    free(child);
    FindClose(search);
}

// A folder's entries come with their attributes: a tree of many files is not asked them again.
void visit(const wchar_t* path, DWORD attributes, int depth) {
    if (stopped(walker.walk)) return;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (depth < MAX_DEPTH) visitFolder(path, depth);
    } else {
        append(path, walker.list);
    }
}

// Names compare without case, and a folder's separator before every letter, so that the
// paths of a tree in this order are each folder's names in order, at every level.
int comparePaths(const void* a, const void* b) {
    const wchar_t* x = *static_cast<const wchar_t* const*>(a);
    const wchar_t* y = *static_cast<const wchar_t* const*>(b);
    for (;; ++x, ++y) {
        wchar_t cx = *x == L'\\' ? 1 : towlower(*x), cy = *y == L'\\' ? 1 : towlower(*y);
        if (cx != cy || cx == 0) return cx < cy ? -1 : cx > cy ? 1 : 0;
    }
}

void sortFrom(int start, PathList* list) {
    static const wchar_t* paths[MAX_SORTED];
    static wchar_t sorted[SORT_ROOM];
    int length = list->used - start;
    if (length <= 0 || length > static_cast<int>(sizeof sorted / sizeof sorted[0])) return;
    int count = 0;
    for (int at = start; at < list->used; at += static_cast<int>(wcslen(list->buffer + at)) + 1) {
        if (count == MAX_SORTED) return;
        paths[count++] = list->buffer + at;
    }
    qsort(paths, static_cast<size_t>(count), sizeof paths[0], comparePaths);
    int to = 0;
    for (int i = 0; i < count; ++i) {
        size_t size = wcslen(paths[i]) + 1;
        wmemcpy(sorted + to, paths[i], size);
        to += static_cast<int>(size);
    }
    wmemcpy(list->buffer + start, sorted, static_cast<size_t>(length));
}

DWORD WINAPI walkRoots(void* parameter) {
    DropWalk* walk = static_cast<DropWalk*>(parameter);
    walker.walk = walk;
    walker.list = walk->list;
    PathList* list = walk->list;
    for (const wchar_t* root = walk->roots; *root != L'\0' && !list->full && !stopped(walk);
         root += wcslen(root) + 1) {
        int start = list->used;
        visit(root, GetFileAttributesW(forSystem(root)), 0);
        if (!stopped(walk)) sortFrom(start, list);
    }
    list->buffer[list->used] = L'\0';
    return 0;
}

} // namespace

void startDropWalk(DropWalk* walk, const wchar_t* roots, PathList* list) {
    walk->roots = roots;
    walk->list = list;
    walk->stop = 0;
    walk->found = 0;
    walk->folder[0] = L'\0';
    InitializeCriticalSection(&walk->lock);
    walk->thread = CreateThread(nullptr, 0, walkRoots, walk, 0, nullptr);
    if (walk->thread == nullptr) walkRoots(walk);
}

bool dropWalkStatus(DropWalk* walk, wchar_t* folder, int capacity, int* found) {
    EnterCriticalSection(&walk->lock);
    lstrcpynW(folder, walk->folder, capacity);
    LeaveCriticalSection(&walk->lock);
    *found = static_cast<int>(InterlockedCompareExchange(&walk->found, 0, 0));
    return walk->thread == nullptr || WaitForSingleObject(walk->thread, 0) == WAIT_OBJECT_0;
}

void endDropWalk(DropWalk* walk, bool stop) {
    if (stop) InterlockedExchange(&walk->stop, 1);
    if (walk->thread != nullptr) {
        WaitForSingleObject(walk->thread, INFINITE);
        CloseHandle(walk->thread);
        walk->thread = nullptr;
    }
    DeleteCriticalSection(&walk->lock);
}

// The configuration files.
//
// Muralto.ini holds the class [SYSTEM] (lastWall, randomWall, startWall, language) and the
// wallpapers as classes [WALLPAPER 0], [WALLPAPER 1], ... numbered densely in slot order, each
// with original, filename, preview, showTime, size ("width,height") and showMode. One store
// holds at most 600 members, so Muralto.ini takes the first 99 wallpapers and the following ones
// go, 99 to a file and with the same class names and numbering, into continuation files beside
// it: Muralto-part2.ini (WALLPAPER 99 to 197), Muralto-part3.ini, ... up to Muralto-part6.ini.
// Those hold only wallpaper classes. A table of 99 wallpapers or fewer is Muralto.ini alone, and
// saving deletes the continuation files that the table no longer needs.
#include "settings.h"

#include <limits.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "wallpaper_table.h"

namespace {

_KFGINFOFILE continuationStore; // each continuation file is read and written through this one

const char LOAD_WARNING[] = "[E004]: La lecture de l'image \"%s\" a \xE9"
                            "chou\xE9"
                            "e !              ";

// "%d,%d" as sscanf reads it: what cannot be read stays as it was.
void parseSize(const char* text, int32_t* width, int32_t* height) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* digits = (*p == '-' || *p == '+') ? p + 1 : p;
    if (*digits < '0' || *digits > '9') return;
    *width = parseDecimal(text, &p);
    if (*p != ',') return;
    ++p;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    digits = (*p == '-' || *p == '+') ? p + 1 : p;
    if (*digits < '0' || *digits > '9') return;
    *height = parseDecimal(p);
}

bool has(_KFGINFOFILE* store, char* className, const char* member) {
    return KFG_existMemberByClass(store, className, const_cast<char*>(member)) == KFG_EXIST;
}

void get(_KFGINFOFILE* store, char* className, const char* member, char* buffer, int size) {
    KFG_getInitByClass(store, className, const_cast<char*>(member), buffer, size);
}

int getInt(_KFGINFOFILE* store, char* className, const char* member) {
    char value[256];
    get(store, className, member, value, sizeof value);
    return parseDecimal(value);
}

void readSystemClass(_KFGINFOFILE* store) {
    char system[] = "SYSTEM";
    if (KFG_existClass(store, system) != KFG_EXIST) return;
    if (has(store, system, "randomWall")) randomWall = getInt(store, system, "randomWall") > 0;
    if (has(store, system, "startWall")) {
        startWall = getInt(store, system, "startWall") > 0;
        if (has(store, system, "lastWall")) {
            lastWall = getInt(store, system, "lastWall");
            // Anything else would index outside the table.
            if (lastWall < 0 || lastWall >= MAX_WALLPAPERS) lastWall = 0;
        }
    }
    if (has(store, system, "language")) {
        language = getInt(store, system, "language");
        if (language < 0) language = 0;
    }
}

// Reads class name into the lowest slot not yet filled; false when it is not loaded.
bool readWallpaperClass(_KFGINFOFILE* store, char* name, WallpaperEntry* slot) {
    if (has(store, name, "original")) get(store, name, "original", slot->original, TITLE_SIZE);
    if (!has(store, name, "filename")) return false;
    if (has(store, name, "showTime")) slot->showTime = getInt(store, name, "showTime");
    if (has(store, name, "showMode")) slot->showMode = getInt(store, name, "showMode");
    if (has(store, name, "preview")) get(store, name, "preview", slot->preview, PATH_SIZE);
    if (has(store, name, "size")) {
        char size[256];
        get(store, name, "size", size, sizeof size);
        parseSize(size, &slot->width, &slot->height);
    }
    get(store, name, "filename", slot->filename, PATH_SIZE);
    slot->previewBitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, slot->preview, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (slot->previewBitmap == nullptr) {
        char message[1024]; // wsprintfA never writes more than 1024 bytes
        wsprintfA(message, LOAD_WARNING, slot->filename);
        showWarning(nullptr, message);
        return false;
    }
    slot->used = 1;
    return true;
}

void readWallpaperClasses(_KFGINFOFILE* store) {
    for (int n = 0; n < MAX_WALLPAPERS && wallpaperCount < MAX_WALLPAPERS; ++n) {
        char name[32];
        formatText(name, sizeof name, "WALLPAPER %d", n);
        if (KFG_existClass(store, name) != KFG_EXIST) continue;
        WallpaperEntry* slot = &wallpaperTable[wallpaperCount];
        if (readWallpaperClass(store, name, slot)) {
            ++wallpaperCount;
        } else {
            memset(slot, 0, sizeof *slot); // what a skipped class left is not the next one's
        }
    }
}

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void addMember(_KFGINFOFILE* store, char* className, const char* member, const char* value) {
    KFG_addMemberByClass(store, className, const_cast<char*>(member), const_cast<char*>(value));
}

void addIntMember(_KFGINFOFILE* store, char* className, const char* member, int value) {
    char text[16];
    formatText(text, sizeof text, "%d", value);
    addMember(store, className, member, text);
}

void addSystemClass(_KFGINFOFILE* store, int savedLastWall) {
    char system[] = "SYSTEM";
    KFG_addClass(store, system);
    addIntMember(store, system, "lastWall", savedLastWall);
    addIntMember(store, system, "randomWall", randomWall ? 1 : 0);
    addIntMember(store, system, "startWall", startWall ? 1 : 0);
    addIntMember(store, system, "language", language);
}

void addWallpaperClass(_KFGINFOFILE* store, int number, const WallpaperEntry& entry) {
    char name[32];
    formatText(name, sizeof name, "WALLPAPER %d", number);
    KFG_addClass(store, name);
    addMember(store, name, "original", entry.original);
    addMember(store, name, "filename", entry.filename);
    addMember(store, name, "preview", entry.preview);
    addIntMember(store, name, "showTime", entry.showTime);
    char size[32];
    formatText(size, sizeof size, "%d,%d", entry.width, entry.height);
    addMember(store, name, "size", size);
    addIntMember(store, name, "showMode", entry.showMode);
}

// lastWall as the rank of its slot among the used ones, which is the slot it gets back at
// loading; the first wallpaper when its slot is free.
int denseLastWall() {
    if (lastWall < 0 || lastWall >= MAX_WALLPAPERS || !wallpaperTable[lastWall].used) return 0;
    int rank = 0;
    for (int i = 0; i < lastWall; ++i) rank += wallpaperTable[i].used ? 1 : 0;
    return rank;
}

bool anyUsedFrom(int slot) {
    for (; slot < MAX_WALLPAPERS; ++slot)
        if (wallpaperTable[slot].used) return true;
    return false;
}

} // namespace

bool configFilePath(int index, char* path, int size) {
    if (index == 0) return formatText(path, size, "%s", iniFilePath);
    size_t length = strlen(iniFilePath);
    const size_t extension = 4; // ".ini"
    if (length < extension) return false;
    return formatText(path, size, "%.*s-part%d.ini", static_cast<int>(length - extension),
                      iniFilePath, index + 1);
}

bool loadSettings() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    memset(iniFilePath, 0, sizeof iniFilePath);
    formatText(iniFilePath, sizeof iniFilePath, "%s\\Muralto\\Muralto.ini", system);

    configRefused = false;
    if (KFG_openFile(&configStore, iniFilePath) != KFG_OK) {
        // A file that is there but refused still lists the user's wallpapers: their files must
        // survive the clean-up that follows.
        configRefused = fileExists(iniFilePath);
        CreateDirectoryA(dataFolder, nullptr);
        char previews[PATH_SIZE + 16];
        formatText(previews, sizeof previews, "%s\\previews", dataFolder);
        CreateDirectoryA(previews, nullptr);
        return false;
    }
    readSystemClass(&configStore);
    wallpaperCount = 0;
    clearTable(wallpaperTable);
    readWallpaperClasses(&configStore);
    for (int index = 1; index < CONFIG_FILES; ++index) {
        char path[PATH_SIZE + 16];
        if (!configFilePath(index, path, sizeof path)) break;
        if (KFG_openFile(&continuationStore, path) == KFG_OK) {
            readWallpaperClasses(&continuationStore);
        } else if (fileExists(path)) {
            configRefused = true;
        }
    }
    return true;
}

bool saveSettings() {
    int savedLastWall = denseLastWall();
    bool ok = true;
    int number = 0;
    int slot = 0;
    for (int index = 0; index < CONFIG_FILES; ++index) {
        char path[PATH_SIZE + 16];
        if (!configFilePath(index, path, sizeof path)) return false;
        if (index > 0 && !anyUsedFrom(slot)) {
            // No longer needed: a leftover would bring its wallpapers back at the next start.
            if (!DeleteFileA(path) && fileExists(path)) ok = false;
            continue;
        }
        _KFGINFOFILE* store = index == 0 ? &configStore : &continuationStore;
        memset(store, 0, sizeof *store);
        if (index == 0) addSystemClass(store, savedLastWall);
        for (int inFile = 0; inFile < WALLPAPERS_PER_FILE && slot < MAX_WALLPAPERS; ++slot) {
            if (!wallpaperTable[slot].used) continue;
            addWallpaperClass(store, number++, wallpaperTable[slot]);
            ++inFile;
        }
        ok = KFG_writeFile(store, path) == KFG_OK && ok;
    }
    wallpaperCount = number;
    return ok;
}

#include "settings_reading.h"

#include <string.h>

#include "bounded_text.h"
#include "hotkey_text.h"
#include "settings_place.h"

namespace {

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

// "class:seconds,class:seconds,...": monitorShows' slots are set as their classes load.
void readMonitorShows(_KFGINFOFILE* store, char* system, SettingsReading* reading) {
    char text[KFG_TEXT_SIZE];
    get(store, system, "monitorShows", text, sizeof text);
    const char* p = text;
    savedMonitorShows = 0;
    while (*p != 0 && savedMonitorShows < MONITOR_CAPACITY) {
        char entry[KFG_TEXT_SIZE] = "";
        int length = 0;
        while (p[length] != 0 && p[length] != ',') ++length;
        memcpy(entry, p, static_cast<size_t>(length));
        char* colon = strchr(entry, ':');
        int seconds = 0;
        if (colon != nullptr) {
            *colon = 0;
            seconds = parseDecimal(colon + 1);
        }
        const char* end = entry;
        int number = parseDecimal(entry, &end);
        // Only a class number, whole: anything else gives the monitor the next picture.
        reading->monitorClass[savedMonitorShows] =
            end != entry && *end == 0 && number >= 0 ? number : -1;
        monitorShows[savedMonitorShows] = {-1, seconds > 0 ? seconds : 0, {}};
        ++savedMonitorShows;
        p += length;
        if (*p == ',') ++p;
    }
}

// "identity,identity,...", one for each of monitorShows' entries in turn; an entry without one
// is the monitor at its place.
void readMonitorIds(_KFGINFOFILE* store, char* system) {
    char text[KFG_TEXT_SIZE];
    get(store, system, "monitorIds", text, sizeof text);
    const char* p = text;
    for (int i = 0; i < savedMonitorShows && *p != 0; ++i) {
        char entry[MONITOR_IDENTITY_SIZE] = "";
        int length = 0;
        while (p[length] != 0 && p[length] != ',') ++length;
        if (length < MONITOR_IDENTITY_SIZE) memcpy(entry, p, static_cast<size_t>(length));
        monitorShows[i].identity = readIdentity(entry);
        p += length;
        if (*p == ',') ++p;
    }
}

// "fullscreen,battery" in any order, "none" or anything else for neither.
void readAutoPause(const char* text) {
    pauseForFullScreen = strstr(text, "fullscreen") != nullptr;
    pauseOnBatterySaver = strstr(text, "battery") != nullptr;
}

void readSystemClass(_KFGINFOFILE* store, SettingsReading* reading) {
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
    paused = has(store, system, "paused") && getInt(store, system, "paused") > 0;
    if (has(store, system, "roundShown"))
        get(store, system, "roundShown", reading->round, sizeof reading->round);
    if (has(store, system, "monitorShows")) readMonitorShows(store, system, reading);
    if (has(store, system, "monitorIds")) readMonitorIds(store, system);
    matchShapes = !has(store, system, "matchShapes") || getInt(store, system, "matchShapes") > 0;
    if (has(store, system, "language")) {
        language = getInt(store, system, "language");
        if (language < 0) language = 0;
    }
    char text[KFG_TEXT_SIZE];
    if (has(store, system, "hotkeys")) {
        get(store, system, "hotkeys", text, sizeof text);
        parseHotkeys(text, hotkeys);
    }
    if (has(store, system, "autoPause")) {
        get(store, system, "autoPause", text, sizeof text);
        readAutoPause(text);
    }
    if (has(store, system, "latitude"))
        get(store, system, "latitude", latitudeText, sizeof latitudeText);
    if (has(store, system, "longitude"))
        get(store, system, "longitude", longitudeText, sizeof longitudeText);
}

bool shownInRound(const SettingsReading& reading, int number) {
    int digit = number / 4;
    if (digit >= static_cast<int>(strlen(reading.round))) return false;
    return (hexDigitValue(reading.round[digit]) >> (number % 4) & 1) != 0;
}

// Reads class name into the lowest slot not yet filled; false when it is not loaded.
bool readWallpaperClass(_KFGINFOFILE* store, char* name, WallpaperEntry* slot,
                        const SettingsReading& reading) {
    if (has(store, name, "original")) get(store, name, "original", slot->original, TITLE_SIZE);
    char full[KFG_TEXT_SIZE] = "";
    if (has(store, name, "titleUtf8")) get(store, name, "titleUtf8", full, sizeof full);
    reading.readTitle(full, slot);
    if (!has(store, name, "filename")) return false;
    if (has(store, name, "showTime")) slot->showTime = getInt(store, name, "showTime");
    if (has(store, name, "showMode")) slot->showMode = getInt(store, name, "showMode");
    if (has(store, name, "preview")) get(store, name, "preview", slot->preview, PATH_SIZE);
    if (has(store, name, "size")) {
        char size[256];
        get(store, name, "size", size, sizeof size);
        parseSize(size, &slot->width, &slot->height);
    }
    if (has(store, name, "moment")) {
        char moment[KFG_TEXT_SIZE];
        get(store, name, "moment", moment, sizeof moment);
        slot->moment = parseMoment(moment);
    }
    get(store, name, "filename", slot->filename, PATH_SIZE);
    if (!reading.keepWallpaper(*slot)) return false;
    slot->used = 1;
    return true;
}

void readWallpaperClasses(_KFGINFOFILE* store, const SettingsReading& reading) {
    for (int n = 0; n < MAX_WALLPAPERS && wallpaperCount < MAX_WALLPAPERS; ++n) {
        char name[32];
        formatText(name, sizeof name, "WALLPAPER %d", n);
        if (KFG_existClass(store, name) != KFG_EXIST) continue;
        WallpaperEntry* slot = &wallpaperTable[wallpaperCount];
        if (readWallpaperClass(store, name, slot, reading)) {
            slot->shownInRound = shownInRound(reading, n) ? 1 : 0;
            for (int i = 0; i < savedMonitorShows; ++i)
                if (reading.monitorClass[i] == n) monitorShows[i].slot = wallpaperCount;
            ++wallpaperCount;
        } else {
            memset(slot, 0, sizeof *slot); // what a skipped class left is not the next one's
        }
    }
}

int generationOf(_KFGINFOFILE* store) {
    char system[] = "SYSTEM";
    if (KFG_existClass(store, system) != KFG_EXIST || !has(store, system, "generation")) return 0;
    return getInt(store, system, "generation");
}

// The generation of the file just opened into store, remembered when it is the highest.
int seenGeneration(_KFGINFOFILE* store, SettingsReading* reading) {
    int generation = generationOf(store);
    if (generation > reading->highestGeneration) reading->highestGeneration = generation;
    return generation;
}

} // namespace

void startReading(SettingsReading* reading) {
    latitudeText[0] = longitudeText[0] = 0;
    reading->mainGeneration = reading->highestGeneration = 0;
    memset(reading->round, 0, sizeof reading->round);
    savedMonitorShows = 0;
}

void readMainFile(_KFGINFOFILE* store, SettingsReading* reading) {
    readSystemClass(store, reading);
    reading->mainGeneration = reading->highestGeneration = generationOf(store);
    wallpaperCount = 0;
    readWallpaperClasses(store, *reading);
}

ContinuationRead readContinuation(_KFGINFOFILE* store, char* path, char* pending,
                                  SettingsReading* reading) {
    bool opened = KFG_openFile(store, path) == KFG_OK;
    if (opened && seenGeneration(store, reading) == reading->mainGeneration) {
        readWallpaperClasses(store, *reading);
        return CONTINUATION_READ;
    }
    // Only a committed ".new" file counts: one of the main file's generation, which a ".new"
    // file beside continuation files always has.
    if (KFG_openFile(store, pending) == KFG_OK) {
        int generation = seenGeneration(store, reading);
        if (generation != 0 && generation == reading->mainGeneration) {
            readWallpaperClasses(store, *reading);
            return CONTINUATION_PENDING;
        }
    }
    return opened ? CONTINUATION_SKIPPED : CONTINUATION_UNOPENED;
}

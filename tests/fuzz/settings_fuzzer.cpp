// Any bytes as the settings files, read into the table and the sequencer's state as a start
// reads them: never unsafely, and what is read holds together. The input's pieces between bytes
// 0x1A are Muralto.ini, Muralto-part2.ini, its ".new" file, Muralto-part3.ini, ... (an empty
// piece: no file), as the store reads each file up to its first 0x1A anyway.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "hotkey_text.h"
#include "settings_place.h"
#include "settings_reading.h"

namespace {

const int FILES = 13;
char paths[FILES][64];
_KFGINFOFILE mainStore, otherStore;

bool ended(const char* field, size_t size) { return memchr(field, 0, size) != nullptr; }

// Windows' answers, as near as the checks need: a preview is there when its name ends in
// ".bmp", and the title in full is titleUtf8's value, else original.
bool keepWallpaper(const WallpaperEntry& e) {
    const char* dot = strrchr(e.preview, '.');
    return dot != nullptr && strcmp(dot, ".bmp") == 0;
}

void readTitle(const char* value, WallpaperEntry* e) {
    if (!ended(value, KFG_TEXT_SIZE) || !ended(e->original, TITLE_SIZE)) __builtin_trap();
    snprintf(e->titleUtf8, TITLE_UTF8_SIZE, "%s", value[0] != 0 ? value : e->original);
}

// A moment read is one a save can write and the next start read alike.
bool momentReadsBack(const PictureMoment& m) {
    char text[32];
    if (m.kind >= MOMENT_KINDS || !formatMoment(m, text, sizeof text)) return false;
    const PictureMoment again = parseMoment(text);
    return again.kind == m.kind && again.from == m.from && again.to == m.to;
}

// The wallpapers read fill the lowest slots, their texts ended within their fields, a class left
// out leaves nothing behind, and a monitor shows one of them or none yet.
bool stateHolds(const SettingsReading& reading) {
    static const WallpaperEntry unused = {};
    bool holds = wallpaperCount >= 0 && wallpaperCount <= MAX_WALLPAPERS && lastWall >= 0 &&
                 lastWall < MAX_WALLPAPERS && language >= 0 && savedMonitorShows >= 0 &&
                 ended(latitudeText, PLACE_TEXT_SIZE) && ended(longitudeText, PLACE_TEXT_SIZE) &&
                 savedMonitorShows <= MONITOR_CAPACITY;
    for (int slot = 0; holds && slot < MAX_WALLPAPERS; ++slot) {
        const WallpaperEntry& e = wallpaperTable[slot];
        holds = slot >= wallpaperCount
                    ? memcmp(&e, &unused, sizeof e) == 0
                    : e.used == 1 && ended(e.filename, PATH_SIZE) && ended(e.preview, PATH_SIZE) &&
                          ended(e.original, TITLE_SIZE) && ended(e.titleUtf8, TITLE_UTF8_SIZE) &&
                          e.shownInRound <= (reading.round[0] != 0 ? 1 : 0) &&
                          momentReadsBack(e.moment);
    }
    for (int i = 0; holds && i < savedMonitorShows; ++i)
        holds = monitorShows[i].slot >= -1 && monitorShows[i].slot < wallpaperCount &&
                monitorShows[i].seconds >= 0;
    // A hotkey read is one that can be written back: Windows' four modifiers and a key by name.
    for (int action = 0; holds && action < HOTKEY_COUNT; ++action) {
        char text[64];
        holds = hotkeys[action].modifiers <= 15 && formatHotkey(hotkeys[action], text, sizeof text);
    }
    return holds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (paths[0][0] == '\0') {
        for (int k = 0; k < FILES; ++k)
            snprintf(paths[k], sizeof paths[k], "/tmp/settings_fuzz_%d.%d", int(getpid()), k);
        // Every run's files are left for the next; the last are removed once the fuzzer ends.
        atexit([] {
            for (int k = 0; k < FILES; ++k) remove(paths[k]);
        });
    }
    const char* piece = reinterpret_cast<const char*>(data);
    const char* const stop = piece + size;
    for (int k = 0; k < FILES; ++k) {
        const char* mark = static_cast<const char*>(memchr(piece, 0x1A, stop - piece));
        const char* end = mark != nullptr ? mark : stop;
        remove(paths[k]);
        FILE* file = end > piece ? fopen(paths[k], "wb") : nullptr;
        if (file != nullptr) {
            fwrite(piece, 1, end - piece, file);
            fclose(file);
        }
        piece = mark != nullptr ? mark + 1 : stop;
    }

    memset(wallpaperTable, 0, sizeof wallpaperTable); // as the start clears it
    SettingsReading reading = {keepWallpaper, readTitle, 0, 0, {}, {}};
    startReading(&reading);
    if (KFG_openFile(&mainStore, paths[0]) != KFG_OK) return 0; // the start reads nothing
    readMainFile(&mainStore, &reading);
    for (int k = 1; k < FILES; k += 2)
        readContinuation(&otherStore, paths[k], paths[k + 1], &reading);
    if (!stateHolds(reading)) __builtin_trap();
    return 0;
}

// The configuration files: opened, saved and replaced here, read by settings_reading.cpp.
//
// Muralto.ini holds the class [SYSTEM] (lastWall, randomWall, startWall, language, and when
// they have something to say paused, roundShown, monitorShows, monitorIds, matchShapes, hotkeys,
// autoPause, latitude and longitude, below) and the wallpapers as classes [WALLPAPER 0],
// [WALLPAPER 1], ... numbered densely in slot order, each with original, filename, preview,
// showTime, size ("width,height") and showMode, and, only when original cannot hold the title,
// titleUtf8, and only when the picture is not shown at every moment, moment. One store holds at
// most 600 members, so Muralto.ini takes the first 99 wallpapers and the following ones go, 99
// to a file and with the same class names and numbering, into continuation files beside it:
// Muralto-part2.ini (WALLPAPER 99 to 197), Muralto-part3.ini, ... up to Muralto-part6.ini, and
// Muralto-part7.ini when many wallpapers carry both. Those hold only wallpaper classes and,
// last, a [SYSTEM] class with the save's generation. A file whose wallpapers carry titleUtf8 or
// moment members takes fewer of them, as many as its 600 members hold (at least 73); a reader
// takes whatever wallpaper classes each file has.
//
// Titles. The file is in the ANSI code page, and "original" is the title in it, at most 49
// characters, as earlier versions read it. A title with letters the code page lacks (Polish
// letters under Windows-1252, Japanese ones, ...) is kept in full as well, in UTF-8:
//
//   [WALLPAPER 3]
//   original = Lodz_??.jpg
//   titleUtf8 = Łódź_日本.jpg
//   filename = C:\WINDOWS\system32\Muralto\MUWallpaper3.bmp
//   ...
//
// "original" then holds the title as near as the code page comes (the nearest letters, '?' for
// the others). titleUtf8 follows original; it is written only when original does not give the
// title back, so files whose titles the code page holds are byte for byte as before. A reader
// takes titleUtf8 when it is there and UTF-8, and the title from original otherwise; earlier
// versions ignore the member (and drop it when they save). The title is at most 49 UTF-16
// characters, so the value takes at most 147 bytes, within the store's 255.
//
// Pause and the random round. "paused = 1" is written only while the sequencer is paused; a
// file without it (every earlier file) means not paused. The random round is kept as the set
// of wallpapers already shown in it, one bit per wallpaper class number, in hexadecimal:
//
//   roundShown = 5a1
//
// Digit d (from the left) holds classes 4d to 4d + 3, its lowest bit the lowest class: here
// WALLPAPER 0 and 2 (5), 5 and 7 (a) and 8 (1) have been shown. 500 wallpapers take 125
// digits, within the store's 255. The member is written only while a round is under way; a
// file without it, or with a digit that is not hexadecimal (taken as 0), starts a fresh round
// for the wallpapers it does not mark. Keyed by class number, the set follows the wallpapers
// when a wallpaper whose preview cannot be loaded is left out at the start. The two members
// take room from the wallpapers of Muralto.ini: a paused table of 99 wallpapers in the middle
// of a round goes on into Muralto-part2.ini.
//
// Moments. A picture shown only at some moments of the day has a member saying which:
//
//   moment = day            (sunrise to sunset)
//   moment = night          (sunset to sunrise)
//   moment = 22:30-06:00    (local times, from-to, crossing midnight when from is later)
//
// Without the member (every earlier file) a picture is shown at every moment; earlier versions
// ignore it. Sunrise and sunset are computed for the place [SYSTEM] names, when the user wrote
// one in, in decimal degrees, north and east positive, kept as written:
//
//   latitude = 48.85
//   longitude = 2.35
//
// Several monitors. With two or more, each monitor shows its own picture and counts its own
// seconds (monitor_sequencer.h); where that stands is kept, one entry per monitor, the primary
// monitor first, each the picture's wallpaper class number and the seconds counted, and which
// monitor each entry is, in the same order (monitor_identity.h):
//
//   monitorShows = 3:12,0:5,7:40
//   monitorIds = 5d2e90a1,c3f0b4e2,0a9917fc
//
// The monitors of the display come first, in its order, then those that have left it, which
// find their picture and count again when they come back. Written while the sequencer works on
// two or more monitors, or remembers one that left (with one monitor, its entry is lastWall's,
// with no seconds); lastWall stays where the sequence stands. A class the file does not load, a
// number that is not one, or an entry missing gives that monitor the next picture at the start;
// at most 16 entries of up to 15 characters, within the store's 255, and 16 identities of up to
// 8. An entry without an identity (files of earlier versions, which have no monitorIds) is the
// monitor at its place. Earlier versions ignore monitorIds and give the first entries to their
// monitors in order, the entries beyond their monitors unused.
//
// Pictures of each monitor's shape are the default; "matchShapes = 0" is written only when the
// user turned them off (picture_shapes.h), and earlier versions ignore it.
//
// Hotkeys and the pauses of their own. Written only when the user changed them, so that files
// stay as before otherwise; earlier versions ignore both members:
//
//   hotkeys = next:Ctrl+Alt+Shift+N,previous:off,pause:Ctrl+Win+F9
//   autoPause = battery
//
// hotkeys names each action with its combination, or "off" (hotkey_text.h); an action left out
// or unreadable has its default, Ctrl+Alt+Shift with N, B, P and M. autoPause lists the pauses that
// are on, "fullscreen" (while a full-screen program runs) and "battery" (while Windows saves
// the battery), or "none"; without the member both are on.
//
// A save never rewrites a file in place, so that a full disk, a file held open by another
// program or a kill at any moment leaves on disk either the complete old set or the complete
// new one:
// 1. A file the store refused at this start is first copied aside (Muralto-refused1.ini,
//    Muralto-part2-refused1.ini, ...): the wallpapers it lists stay the user's, and the start-up
//    clean-up never deletes a file that a kept-aside file names.
// 2. Every file of the new set is written under its name with ".new" appended and flushed to
//    the disk. A file that must be replaced but cannot (held open without sharing) stops the
//    save here. Nothing of the old set has changed so far: a failure removes the ".new" files
//    and reports it, and the next start reads the old set.
// 3. Muralto.ini.new replaces Muralto.ini in one step: this is the commit point.
// 4. Each continuation file's ".new" replaces it; the continuation files a smaller table no
//    longer needs are deleted.
// When the set has continuation files (or old ones are still on disk), [SYSTEM] of Muralto.ini
// and of every continuation file holds "generation", higher than any generation seen at the
// start. A reader takes a continuation file only when its generation is the main file's (no
// generation on either side also matches, as files of earlier versions have none), and looks
// at its ".new" file when the continuation file itself does not match: after a kill between
// steps 3 and 4 the ".new" file is the committed one, and the start puts it in place. Files of
// another generation, and ".new" files before their commit, never count. Tables of up to 99
// wallpapers with no continuation file on disk are written exactly as before, without a
// generation.
#include "settings.h"

#include <limits.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "file_checks.h"
#include "hotkey_text.h"
#include "monitor_shows.h"
#include "settings_files.h"
#include "settings_place.h"
#include "settings_reading.h"
#include "wallpaper_table.h"
#include "wallpaper_title.h"

namespace {

_KFGINFOFILE continuationStore; // each continuation file is read and written through this one

// What this start found on disk; owner: loadSettings, and saveSettings once it has acted on it.
SettingsReading reading;           // what reading the files found: their generations
bool refusedAtStart[CONFIG_FILES]; // there, but refused by the store: kept aside before a save
bool pendingInUse[CONFIG_FILES];   // the committed ".new" file was read, not yet put in place

// roundShown for the table as a save numbers it: used slots in slot order.
void roundText(char* text, int size) {
    memset(text, 0, static_cast<size_t>(size));
    int number = 0;
    for (int slot = 0; slot < MAX_WALLPAPERS && number / 4 < size - 1; ++slot) {
        if (!wallpaperTable[slot].used) continue;
        int digit = number / 4;
        int value = (text[digit] == 0 ? 0 : hexDigitValue(text[digit])) |
                    (wallpaperTable[slot].shownInRound ? 1 << (number % 4) : 0);
        text[digit] = "0123456789abcdef"[value];
        ++number;
    }
}

void addMember(_KFGINFOFILE* store, char* className, const char* member, const char* value) {
    KFG_addMemberByClass(store, className, const_cast<char*>(member), const_cast<char*>(value));
}

void addIntMember(_KFGINFOFILE* store, char* className, const char* member, int value) {
    char text[16];
    formatText(text, sizeof text, "%d", value);
    addMember(store, className, member, text);
}

// A slot's wallpaper class number in this save: its rank among the used slots; 0 when free.
int classOfSlot(int slot) {
    if (slot < 0 || slot >= MAX_WALLPAPERS || !wallpaperTable[slot].used) return 0;
    int rank = 0;
    for (int i = 0; i < slot; ++i) rank += wallpaperTable[i].used ? 1 : 0;
    return rank;
}

// Whether monitorShows and monitorIds have something to say: several monitors, or one and
// another that left.
bool monitorsToKeep() { return perMonitor() || savedMonitorShows > 1; }

// Entry i of monitorShows: with one monitor, its show is lastWall (its count is not kept).
MonitorShow savedShow(int i) {
    if (i == 0 && !perMonitor() &&
        sameMonitor(monitorShows[0].identity, monitorLayout.identities[0]))
        return {lastWall, 0, monitorShows[0].identity};
    return monitorShows[i];
}

// monitorShows and monitorIds, entry for entry.
void monitorTexts(char* shows, char* identities, int size) {
    shows[0] = identities[0] = 0;
    for (int i = 0; i < savedMonitorShows && i < MONITOR_CAPACITY; ++i) {
        const MonitorShow show = savedShow(i);
        char entry[32], identity[32];
        formatText(entry, sizeof entry, "%s%d:%d", i > 0 ? "," : "", classOfSlot(show.slot),
                   show.seconds);
        formatText(identity, sizeof identity, "%s%s", i > 0 ? "," : "", show.identity.text);
        if (strlen(shows) + strlen(entry) >= static_cast<size_t>(size) ||
            strlen(identities) + strlen(identity) >= static_cast<size_t>(size))
            break;
        strcat(shows, entry);
        strcat(identities, identity);
    }
}

const char* autoPauseText() {
    if (pauseForFullScreen && pauseOnBatterySaver) return "fullscreen,battery";
    if (pauseForFullScreen) return "fullscreen";
    return pauseOnBatterySaver ? "battery" : "none";
}

void addSystemClass(_KFGINFOFILE* store, int savedLastWall, int generation) {
    char system[] = "SYSTEM";
    KFG_addClass(store, system);
    addIntMember(store, system, "lastWall", savedLastWall);
    addIntMember(store, system, "randomWall", randomWall ? 1 : 0);
    addIntMember(store, system, "startWall", startWall ? 1 : 0);
    addIntMember(store, system, "language", language);
    if (generation != 0) addIntMember(store, system, "generation", generation);
    if (paused) addIntMember(store, system, "paused", 1);
    if (roundUnderWay(wallpaperTable)) {
        char round[KFG_TEXT_SIZE];
        roundText(round, sizeof round);
        addMember(store, system, "roundShown", round);
    }
    if (monitorsToKeep()) {
        char shows[KFG_TEXT_SIZE], identities[KFG_TEXT_SIZE];
        monitorTexts(shows, identities, sizeof shows);
        addMember(store, system, "monitorShows", shows);
        addMember(store, system, "monitorIds", identities);
    }
    if (!matchShapes) addIntMember(store, system, "matchShapes", 0);
    char hotkeyText[KFG_TEXT_SIZE];
    if (!defaultHotkeys(hotkeys) && formatHotkeys(hotkeys, hotkeyText, sizeof hotkeyText))
        addMember(store, system, "hotkeys", hotkeyText);
    if (!pauseForFullScreen || !pauseOnBatterySaver)
        addMember(store, system, "autoPause", autoPauseText());
    if (latitudeText[0] != 0) addMember(store, system, "latitude", latitudeText);
    if (longitudeText[0] != 0) addMember(store, system, "longitude", longitudeText);
}

void addGenerationClass(_KFGINFOFILE* store, int generation) {
    char system[] = "SYSTEM";
    KFG_addClass(store, system);
    addIntMember(store, system, "generation", generation);
}

void addWallpaperClass(_KFGINFOFILE* store, int number, const WallpaperEntry& entry) {
    char name[32];
    formatText(name, sizeof name, "WALLPAPER %d", number);
    KFG_addClass(store, name);
    addMember(store, name, "original", entry.original);
    if (!originalHoldsTitle(entry.original, entry.titleUtf8))
        addMember(store, name, "titleUtf8", entry.titleUtf8);
    addMember(store, name, "filename", entry.filename);
    addMember(store, name, "preview", entry.preview);
    addIntMember(store, name, "showTime", entry.showTime);
    char size[32];
    formatText(size, sizeof size, "%d,%d", entry.width, entry.height);
    addMember(store, name, "size", size);
    addIntMember(store, name, "showMode", entry.showMode);
    char moment[32];
    if (entry.moment.kind != MOMENT_ALWAYS && formatMoment(entry.moment, moment, sizeof moment))
        addMember(store, name, "moment", moment);
}

// lastWall as the rank of its slot among the used ones, which is the slot it gets back at
// loading; the first wallpaper when its slot is free.
int denseLastWall() {
    if (lastWall < 0 || lastWall >= MAX_WALLPAPERS || !wallpaperTable[lastWall].used) return 0;
    int rank = 0;
    for (int i = 0; i < lastWall; ++i) rank += wallpaperTable[i].used ? 1 : 0;
    return rank;
}

const char LOAD_WARNING[] = "[E004]: La lecture de l'image \"%s\" a \xE9"
                            "chou\xE9"
                            "e !              ";

// The preview is loaded when first drawn (slotPreview); a start with 500 wallpapers only looks
// for the signature of each.
bool previewIsThere(const WallpaperEntry& entry) {
    if (bitmapFileCanBeOpened(entry.preview)) return true;
    char message[1024]; // wsprintfA never writes more than 1024 bytes
    wsprintfA(message, LOAD_WARNING, entry.filename);
    showWarning(nullptr, message);
    return false;
}

// titleUtf8 when it is there and UTF-8, the title from original otherwise.
void titleOf(const char* value, WallpaperEntry* entry) {
    if (!titleFromUtf8(value, entry->titleUtf8))
        titleFromOriginal(entry->original, entry->titleUtf8);
}

// Reads continuation file index when it belongs with the main file: the file itself, or else
// its committed ".new" file, which is then put in place.
void readContinuationFile(int index) {
    char path[MAX_PATH], pending[MAX_PATH];
    if (!configFilePath(index, path, sizeof path) ||
        !pendingFilePath(index, pending, sizeof pending))
        return;
    switch (readContinuation(&continuationStore, path, pending, &reading)) {
    case CONTINUATION_PENDING:
        pendingInUse[index] = !putInPlace(pending, path);
        break;
    case CONTINUATION_UNOPENED:
        // A file that is there but unreadable may list wallpapers of this set.
        if (pathExists(path)) {
            refusedAtStart[index] = true;
            configRefused = true;
        }
        break;
    case CONTINUATION_READ:
    case CONTINUATION_SKIPPED:
        break;
    }
}

// A file that a save will replace must be replaceable now, or the save stops before any change.
bool replaceable(const char* path) {
    if (!pathExists(path)) return true;
    HANDLE file = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Members of a wallpaper class, and those [SYSTEM] may take in Muralto.ini and in the others.
const int WALLPAPER_MEMBERS = 6;
const int OPTIONAL_WALLPAPER_MEMBERS = 2; // titleUtf8, moment
// lastWall, randomWall, startWall, language, generation, paused, roundShown, monitorShows,
// monitorIds, matchShapes, hotkeys, autoPause, latitude, longitude
const int MAIN_SYSTEM_MEMBERS = 14;
const int OTHER_SYSTEM_MEMBERS = 1; // generation
// Even with a titleUtf8 and a moment member for every wallpaper the files hold the whole table.
static_assert((KFG_MAX_MEMBERS - MAIN_SYSTEM_MEMBERS) /
                      (WALLPAPER_MEMBERS + OPTIONAL_WALLPAPER_MEMBERS) * CONFIG_FILES >=
                  MAX_WALLPAPERS,
              "the settings files hold 500 wallpapers with titleUtf8 and moment members");

// What [SYSTEM] of Muralto.ini takes in this save, generation counted whether or not it is
// written: it depends on how many files the rest leaves room for.
int mainSystemMembers() {
    return MAIN_SYSTEM_MEMBERS - (paused ? 0 : 1) - (roundUnderWay(wallpaperTable) ? 0 : 1) -
           (monitorsToKeep() ? 0 : 2) - (matchShapes ? 1 : 0) - (defaultHotkeys(hotkeys) ? 1 : 0) -
           (pauseForFullScreen && pauseOnBatterySaver ? 1 : 0) - (latitudeText[0] == 0 ? 1 : 0) -
           (longitudeText[0] == 0 ? 1 : 0);
}

int membersOf(const WallpaperEntry& entry) {
    return WALLPAPER_MEMBERS + (originalHoldsTitle(entry.original, entry.titleUtf8) ? 0 : 1) +
           (entry.moment.kind != MOMENT_ALWAYS ? 1 : 0);
}

// The slot after the last wallpaper that settings file index holds when it starts at slot
// from: at most WALLPAPERS_PER_FILE of them, with as many members as the store has room for.
int fileEnd(int index, int from) {
    int room = KFG_MAX_MEMBERS - (index == 0 ? mainSystemMembers() : OTHER_SYSTEM_MEMBERS);
    int count = 0;
    int slot = from;
    for (; slot < MAX_WALLPAPERS; ++slot) {
        if (!wallpaperTable[slot].used) continue;
        int members = membersOf(wallpaperTable[slot]);
        if (count == WALLPAPERS_PER_FILE || members > room) break;
        room -= members;
        ++count;
    }
    return slot;
}

bool usedFrom(int from) {
    for (int slot = from; slot < MAX_WALLPAPERS; ++slot)
        if (wallpaperTable[slot].used) return true;
    return false;
}

// How many settings files the table needs: Muralto.ini and its continuations.
int filesNeeded() {
    int files = 0;
    int slot = 0;
    do slot = fileEnd(files++, slot);
    while (usedFrom(slot) && files < CONFIG_FILES);
    return files;
}

bool anyContinuationOnDisk() {
    for (int index = 1; index < CONFIG_FILES; ++index) {
        char path[MAX_PATH], pending[MAX_PATH];
        if (!configFilePath(index, path, sizeof path) ||
            !pendingFilePath(index, pending, sizeof pending))
            return true;
        if (pathExists(path) || pathExists(pending)) return true;
    }
    return false;
}

// Step 1: the refused files, copied aside once each.
bool keepRefusedFilesAside() {
    for (int index = 0; index < CONFIG_FILES; ++index) {
        if (!refusedAtStart[index]) continue;
        if (!keepAside(index)) return false;
        refusedAtStart[index] = false;
    }
    return true;
}

// Step 2: the new set under the ".new" names, flushed. The stores are filled in slot order.
bool writePendingFiles(int files, int generation) {
    int number = 0;
    int slot = 0;
    for (int index = 0; index < files; ++index) {
        char path[MAX_PATH], pending[MAX_PATH];
        if (!configFilePath(index, path, sizeof path) ||
            !pendingFilePath(index, pending, sizeof pending))
            return false;
        // A committed ".new" file not yet in place is the current set: it must not be overwritten.
        if (pendingInUse[index] || !replaceable(path)) return false;
        _KFGINFOFILE* store = index == 0 ? &configStore : &continuationStore;
        memset(store, 0, sizeof *store);
        if (index == 0) addSystemClass(store, denseLastWall(), generation);
        for (int end = fileEnd(index, slot); slot < end; ++slot)
            if (wallpaperTable[slot].used) addWallpaperClass(store, number++, wallpaperTable[slot]);
        if (index > 0) addGenerationClass(store, generation);
        if (!saveStepAllowed("write", pending) || KFG_writeFile(store, pending) != KFG_OK ||
            !flushToDisk(pending))
            return false;
    }
    return true;
}

void removePendingFiles() {
    for (int index = 0; index < CONFIG_FILES; ++index) {
        char pending[MAX_PATH];
        if (!pendingInUse[index] && pendingFilePath(index, pending, sizeof pending))
            removeFile(pending);
    }
}

// Step 4, after the commit: each continuation file in place, the unneeded ones gone. A file
// that cannot be replaced now keeps the set loadable through its ".new" file; one that cannot
// be deleted is of another generation: both are retried by the next start and the next save.
void settleContinuationFiles(int files) {
    for (int index = 1; index < CONFIG_FILES; ++index) {
        char path[MAX_PATH], pending[MAX_PATH];
        if (!configFilePath(index, path, sizeof path) ||
            !pendingFilePath(index, pending, sizeof pending))
            continue;
        if (index < files) {
            putInPlace(pending, path);
        } else {
            removeFile(path);
            removeFile(pending);
        }
    }
}

} // namespace

bool loadSettings() {
    memset(iniFilePath, 0, sizeof iniFilePath);
    formatText(iniFilePath, sizeof iniFilePath, "%s\\Muralto.ini", dataFolder);

    configRefused = false;
    memset(refusedAtStart, 0, sizeof refusedAtStart);
    memset(pendingInUse, 0, sizeof pendingInUse);
    reading.keepWallpaper = previewIsThere;
    reading.readTitle = titleOf;
    startReading(&reading);
    if (KFG_openFile(&configStore, iniFilePath) != KFG_OK) {
        // A file that is there but refused still lists the user's wallpapers: their files must
        // survive the clean-up that follows, and the file itself the next save.
        configRefused = refusedAtStart[0] = pathExists(iniFilePath);
        CreateDirectoryA(dataFolder, nullptr);
        char previews[PATH_SIZE + 16];
        formatText(previews, sizeof previews, "%s\\previews", dataFolder);
        CreateDirectoryA(previews, nullptr);
        return false;
    }
    clearTable(wallpaperTable);
    readMainFile(&configStore, &reading);
    for (int index = 1; index < CONFIG_FILES; ++index) readContinuationFile(index);
    return true;
}

bool saveSettings() {
    const int used = usedCount(wallpaperTable);
    const int files = filesNeeded();
    // Above every generation on disk, so that no file of an earlier save can match the new one.
    const int next = reading.highestGeneration < INT_MAX ? reading.highestGeneration + 1 : 1;
    const int generation = files > 1 || anyContinuationOnDisk() ? next : 0;
    char pendingMain[MAX_PATH];
    if (!pendingFilePath(0, pendingMain, sizeof pendingMain)) return false;
    if (!keepRefusedFilesAside() || !writePendingFiles(files, generation)) {
        removePendingFiles();
        return false;
    }
    if (!putInPlace(pendingMain, iniFilePath)) {
        removePendingFiles();
        return false;
    }
    reading.mainGeneration = generation;
    if (generation > reading.highestGeneration) reading.highestGeneration = generation;
    settleContinuationFiles(files);
    memset(pendingInUse, 0, sizeof pendingInUse);
    wallpaperCount = used;
    return true;
}

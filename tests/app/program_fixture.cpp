#include "program_fixture.h"

#include <windows.h>

#include <string.h>

#include "data_folder.h"
#include "folders.h"
#include "monitor_sequencer.h"
#include "hotkey_text.h"
#include "moment_now.h"
#include "sequencer.h"
#include "shown_history.h"
#include "system_moment.h"
#include "settings.h"
#include "settings_place.h"
#include "test_bitmaps.h"
#include "test_files.h"

void resetProgramState() {
    clearTable(wallpaperTable);
    wallpaperCount = 0;
    lastWall = 0;
    randomWall = true;
    startWall = false;
    language = 0;
    paused = false;
    pauseForFullScreen = true;
    pauseOnBatterySaver = true;
    matchShapes = true;
    for (int action = 0; action < HOTKEY_COUNT; ++action) hotkeys[action] = DEFAULT_HOTKEYS[action];
    fullScreenProgramRunning = [] { return false; };
    batterySaverOn = [] { return false; };
    readClock = systemClock;
    latitudeText[0] = longitudeText[0] = 0;
    clearShownHistories();
    secondsShown = 0;
    monitorLayout = {1, {{0, 0, 0, 0}}};
    memset(monitorShows, 0, sizeof monitorShows);
    savedMonitorShows = 0;
    tableRandom = RandomGenerator();
    memset(&configStore, 0, sizeof configStore);
    settingsLoaded = false;
    configRefused = false;
    hiddenInTray = true;
    initDataFolder(nullptr, 0);
    snprintf(iniFilePath, sizeof iniFilePath, "%s\\Muralto.ini", dataFolder);
}

void removeDataFolder() {
    testing_support::removeFolder(std::string(dataFolder) + "\\previews");
    testing_support::removeFolder(dataFolder);
}

void ProgramTest::SetUp() {
    resetProgramState();
    removeDataFolder();
    CreateDirectoryA(dataFolder, nullptr);
    CreateDirectoryA((std::string(dataFolder) + "\\previews").c_str(), nullptr);
}

std::string ProgramTest::inDataFolder(const std::string& name) {
    return std::string(dataFolder) + "\\" + name;
}

void ProgramTest::writeIni(const std::string& text) {
    ASSERT_TRUE(testing_support::writeWithCrLf(iniFilePath, text));
}

void ProgramTest::writePreview(const std::string& path) {
    ASSERT_TRUE(testing_support::writeBytes(path, testing_support::bitmapFileBytes(2, 2, 0x336699)))
        << path;
}

void ProgramTest::fillSlot(int slot, int number) {
    WallpaperEntry& entry = wallpaperTable[slot];
    memset(&entry, 0, sizeof entry);
    entry.used = 1;
    snprintf(entry.filename, sizeof entry.filename, "%s\\MUWallpaper%d.bmp", dataFolder, number);
    snprintf(entry.preview, sizeof entry.preview, "%s\\previews\\MU%d.bmp", dataFolder, number);
    snprintf(entry.original, sizeof entry.original, "Picture %d.jpg", number);
    snprintf(entry.titleUtf8, sizeof entry.titleUtf8, "Picture %d.jpg", number);
    entry.width = 1000 + number;
    entry.height = 700 + number;
    entry.showTime = 10 + number;
    entry.showMode = number % 3;
    writePreview(entry.preview);
    writePreview(entry.filename);
    ++wallpaperCount;
}

std::map<std::string, std::string> ProgramTest::dataFolderFiles() {
    std::map<std::string, std::string> files;
    for (const char* sub : {"", "\\previews"}) {
        const std::string where = std::string(dataFolder) + sub;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((where + "\\*.bmp").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            const std::string path = where + "\\" + found.cFileName;
            files[path] = testing_support::readBytes(path);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return files;
}

#include "program_fixture.h"

#include <string.h>

#include "settings.h"
#include "test_bitmaps.h"
#include "test_files.h"

namespace {

void deleteFilesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        else if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0 &&
                 strcmp(found.cFileName, "previews") != 0)
            RemoveDirectoryA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

void resetProgramState() {
    clearTable(wallpaperTable);
    wallpaperCount = 0;
    lastWall = 0;
    randomWall = true;
    startWall = false;
    language = 0;
    tableRandom = RandomGenerator();
    memset(&configStore, 0, sizeof configStore);
    settingsLoaded = false;
    configRefused = false;
    hiddenInTray = true;
    initDataFolder();
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    snprintf(iniFilePath, sizeof iniFilePath, "%s\\Muralto\\Muralto.ini", system);
}

void removeDataFolder() {
    deleteFilesIn(std::string(dataFolder) + "\\previews");
    RemoveDirectoryA((std::string(dataFolder) + "\\previews").c_str());
    deleteFilesIn(dataFolder);
    RemoveDirectoryA(dataFolder);
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
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    ASSERT_TRUE(testing_support::writeBytes(iniFilePath, crlf));
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
    entry.width = 1000 + number;
    entry.height = 700 + number;
    entry.showTime = 10 + number;
    entry.showMode = number % 3;
    writePreview(entry.preview);
    writePreview(entry.filename);
    ++wallpaperCount;
}

#include "muralto_files.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>

#include "test_bitmaps.h"
#include "test_files.h"

namespace e2e {

namespace {

const int kPreviewWidth = 151;
const int kPreviewHeight = 112;

void deleteFilesIn(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

std::string trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

uint32_t rgb(int r, int g, int b) {
    auto clamp = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

void writeFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(testing_support::writeBytes(path, bytes)) << path;
}

} // namespace

std::string dataFolder() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    return std::string(system) + "\\Muralto";
}

std::string previewFolder() { return dataFolder() + "\\previews"; }
std::string iniPath() { return dataFolder() + "\\Muralto.ini"; }

std::string wallpaperPath(int number) {
    return dataFolder() + "\\MUWallpaper" + std::to_string(number) + ".bmp";
}

std::string previewPath(int number) {
    return previewFolder() + "\\MU" + std::to_string(number) + ".bmp";
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void removeDataFolder() {
    deleteFilesIn(previewFolder());
    RemoveDirectoryA(previewFolder().c_str());
    deleteFilesIn(dataFolder());
    RemoveDirectoryA(dataFolder().c_str());
    ASSERT_FALSE(folderExists(dataFolder())) << "cannot empty " << dataFolder();
}

void makeDataFolder() {
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    CreateDirectoryA(previewFolder().c_str(), nullptr);
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

uint32_t previewColour(int number, int x, int y) {
    // A sky that darkens upwards, a sun, and hills whose line depends on the number, so that
    // every pixel is known and the previews of two wallpapers differ.
    int hill =
        78 - (number * 7 % 20) + ((x * (3 + number)) % 37 < 18 ? (x % 37) / 3 : 6 - (x % 37) / 6);
    if (y > hill) return rgb(40 + number * 30, 120 + (y - hill), 50);
    int dx = x - (110 - number * 25), dy = y - 30;
    if (dx * dx + dy * dy < 144) return rgb(255, 215 - number * 20, 80);
    return rgb(70 + y, 130 + y, 230 - number * 15);
}

void writeWallpaperFiles(const Wallpaper& wallpaper) {
    // The converted file is only set on the desktop; a small picture keeps the test quick.
    writeFile(wallpaperPath(wallpaper.number),
              testing_support::bitmapFileBytes(64, 48, 0x204080 + wallpaper.number));
    int number = wallpaper.number;
    writeFile(previewPath(number), testing_support::bitmapFileBytes(
                                       kPreviewWidth, kPreviewHeight, [number](int x, int y) {
                                           return previewColour(number, x, y);
                                       }));
}

namespace {

// The classes of wallpapers[first, first + count), numbered from first.
std::string wallpaperClasses(const std::vector<Wallpaper>& wallpapers, size_t first, size_t count) {
    std::string text;
    int index = static_cast<int>(first);
    for (size_t i = first; i < first + count && i < wallpapers.size(); ++i) {
        const Wallpaper& w = wallpapers[i];
        text += "\r\n[WALLPAPER " + std::to_string(index++) + "]\r\n";
        text += "original = " + w.title + "\r\n";
        text += "filename = " + wallpaperPath(w.number) + "\r\n";
        text += "preview = " + previewPath(w.number) + "\r\n";
        text += "showTime = " + std::to_string(w.showTime) + "\r\n";
        text += "size = " + std::to_string(w.width) + "," + std::to_string(w.height) + "\r\n";
        text += "showMode = " + std::to_string(w.showMode) + "\r\n";
    }
    return text;
}

std::string systemClass(const SystemSettings& settings) {
    std::string text = "[SYSTEM]\r\n";
    text += "lastWall = " + std::to_string(settings.lastWall) + "\r\n";
    text += "randomWall = " + std::to_string(settings.randomWall) + "\r\n";
    text += "startWall = " + std::to_string(settings.startWall) + "\r\n";
    text += "language = " + std::to_string(settings.language) + "\r\n";
    return text;
}

} // namespace

std::string iniText(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers) {
    return systemClass(settings) + wallpaperClasses(wallpapers, 0, wallpapers.size());
}

void writeIni(const std::string& text) { writeFile(iniPath(), text); }

void configure(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers) {
    makeDataFolder();
    for (const Wallpaper& w : wallpapers) writeWallpaperFiles(w);
    writeIni(iniText(settings, wallpapers));
}

void configureLarge(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers) {
    const size_t perFile = 99; // a configuration store holds 600 members: 99 wallpapers of 6
    makeDataFolder();
    for (const Wallpaper& w : wallpapers) {
        writeFile(wallpaperPath(w.number), testing_support::bitmapFileBytes(2, 2, 0x102030));
        writeFile(previewPath(w.number), testing_support::bitmapFileBytes(2, 2, 0x405060));
    }
    writeIni(systemClass(settings) + wallpaperClasses(wallpapers, 0, perFile));
    for (size_t first = perFile, part = 2; first < wallpapers.size(); first += perFile, ++part)
        writeFile(dataFolder() + "\\Muralto-part" + std::to_string(part) + ".ini",
                  wallpaperClasses(wallpapers, first, perFile));
}

std::string fileBytes(const std::string& path) { return testing_support::readBytes(path); }

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SavedConfiguration::value(const std::string& className,
                                      const std::string& member) const {
    auto found = classes.find(className);
    if (found == classes.end()) return "<none>";
    auto item = found->second.find(member);
    return item == found->second.end() ? "<none>" : item->second;
}

int SavedConfiguration::wallpaperClasses() const {
    int count = 0;
    for (const auto& c : classes) count += c.first.compare(0, 10, "WALLPAPER ") == 0 ? 1 : 0;
    return count;
}

SavedConfiguration readConfiguration() {
    SavedConfiguration saved;
    std::string bytes = fileBytes(iniPath());
    if (bytes == "<missing>") return saved;
    saved.present = true;
    std::string current;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        line = trim(line);
        if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            saved.classes[current];
        } else if (size_t equals = line.find('='); equals != std::string::npos) {
            saved.classes[current][trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
        }
    }
    return saved;
}

void setDesktopValue(const char* name, const std::string& value) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, &key));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

} // namespace e2e

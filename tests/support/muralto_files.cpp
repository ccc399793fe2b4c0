#include "muralto_files.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include "shortcuts.h"
#include "test_bitmaps.h"
#include "test_files.h"

namespace e2e {

namespace {

const int kPreviewWidth = 151;
const int kPreviewHeight = 112;

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

std::string dataFolder() { return testing_support::shellFolder(CSIDL_LOCAL_APPDATA) + "\\Muralto"; }

std::string previewFolder() { return dataFolder() + "\\previews"; }
std::string iniPath() { return dataFolder() + "\\Muralto.ini"; }

std::string wallpaperPath(int number) {
    return dataFolder() + "\\MUWallpaper" + std::to_string(number) + ".bmp";
}

std::string previewPath(int number) {
    return previewFolder() + "\\MU" + std::to_string(number) + ".bmp";
}

void removeDataFolder() {
    testing_support::removeFolder(previewFolder());
    ASSERT_TRUE(testing_support::removeFolder(dataFolder())) << "cannot empty " << dataFolder();
}

void makeDataFolder() {
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    CreateDirectoryA(previewFolder().c_str(), nullptr);
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
    writeWallpaperFiles(wallpaper, dataFolder());
}

void writeWallpaperFiles(const Wallpaper& wallpaper, const std::string& folder) {
    // The converted file is only set on the desktop; a small picture keeps the test quick.
    int number = wallpaper.number;
    writeFile(folder + "\\MUWallpaper" + std::to_string(number) + ".bmp",
              testing_support::bitmapFileBytes(64, 48, 0x204080 + number));
    writeFile(
        folder + "\\previews\\MU" + std::to_string(number) + ".bmp",
        testing_support::bitmapFileBytes(kPreviewWidth, kPreviewHeight, [number](int x, int y) {
            return previewColour(number, x, y);
        }));
}

namespace {

// The classes of wallpapers[first, first + count), numbered from first, their files in folder.
std::string wallpaperClasses(const std::vector<Wallpaper>& wallpapers, size_t first, size_t count,
                             const std::string& folder) {
    std::string text;
    int index = static_cast<int>(first);
    for (size_t i = first; i < first + count && i < wallpapers.size(); ++i) {
        const Wallpaper& w = wallpapers[i];
        std::string number = std::to_string(w.number);
        text += "\n[WALLPAPER " + std::to_string(index++) + "]\n";
        text += "original = " + w.title + "\n";
        text += "filename = " + folder + "\\MUWallpaper" + number + ".bmp\n";
        text += "preview = " + folder + "\\previews\\MU" + number + ".bmp\n";
        text += "showTime = " + std::to_string(w.showTime) + "\n";
        text += "size = " + std::to_string(w.width) + "," + std::to_string(w.height) + "\n";
        text += "showMode = " + std::to_string(w.showMode) + "\n";
    }
    return text;
}

std::string systemClass(const SystemSettings& settings) {
    std::string text = "[SYSTEM]\n";
    text += "lastWall = " + std::to_string(settings.lastWall) + "\n";
    text += "randomWall = " + std::to_string(settings.randomWall) + "\n";
    text += "startWall = " + std::to_string(settings.startWall) + "\n";
    text += "language = " + std::to_string(settings.language) + "\n";
    return text;
}

} // namespace

std::string iniText(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers) {
    return iniText(settings, wallpapers, dataFolder());
}

std::string iniText(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers,
                    const std::string& folder) {
    return systemClass(settings) + wallpaperClasses(wallpapers, 0, wallpapers.size(), folder);
}

void writeIni(const std::string& text) {
    ASSERT_TRUE(testing_support::writeWithCrLf(iniPath(), text)) << iniPath();
}

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
    writeIni(systemClass(settings) + wallpaperClasses(wallpapers, 0, perFile, dataFolder()));
    for (size_t first = perFile, part = 2; first < wallpapers.size(); first += perFile, ++part)
        ASSERT_TRUE(testing_support::writeWithCrLf(
            dataFolder() + "\\Muralto-part" + std::to_string(part) + ".ini",
            wallpaperClasses(wallpapers, first, perFile, dataFolder())));
}

std::string fileBytes(const std::string& path) { return testing_support::readBytes(path); }

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

} // namespace e2e

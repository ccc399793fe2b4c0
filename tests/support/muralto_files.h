// What the program reads and leaves behind: its data folder in the user's local application
// data, the configuration file, the converted wallpapers with their previews, and the desktop
// settings.
#ifndef MURALTO_E2E_MURALTO_FILES_H
#define MURALTO_E2E_MURALTO_FILES_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "desktop_settings.h"
#include "folders.h"
#include "test_files.h"

namespace e2e {

std::string dataFolder();    // C:\users\<user>\AppData\Local\Muralto under Wine
std::string previewFolder(); // its previews folder
std::string iniPath();       // the configuration file
std::string wallpaperPath(int number);
std::string previewPath(int number);

using testing_support::filesIn;
using testing_support::folderExists;
// Every file of the data folder and of its previews folder, then both folders.
void removeDataFolder();
void makeDataFolder();

// One configured wallpaper, with files of its own named after number.
struct Wallpaper {
    int number;
    std::string title;
    int showTime;
    int showMode;
    int width = 1024;
    int height = 768;
};

// The preview's colour at (x, y) of its 151 x 112 pixels: a scene of its own for each number.
uint32_t previewColour(int number, int x, int y);
// Writes the converted wallpaper and the preview of wallpaper.number, in the data folder or in
// another folder of the same layout.
void writeWallpaperFiles(const Wallpaper& wallpaper);
void writeWallpaperFiles(const Wallpaper& wallpaper, const std::string& folder);

struct SystemSettings {
    int lastWall = 0;
    int randomWall = 0;
    int startWall = 0;
    int language = 0;
};

// The configuration file's text, its files in the data folder or in folder.
std::string iniText(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers);
std::string iniText(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers,
                    const std::string& folder);
// Writes it with lines ending in CR LF, as the program's own files.
void writeIni(const std::string& text);
// Writes the files of every wallpaper and a configuration file that lists them.
void configure(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers);
// The same for a table of any size, its previews only 2 x 2 pixels: Muralto.ini with the first
// 99 wallpapers, then Muralto-part2.ini and on with 99 each, as the program itself splits them.
void configureLarge(const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers);

// The whole file; "<missing>" when it cannot be read.
std::string fileBytes(const std::string& path);
using testing_support::fileExists;

// A configuration file as classes of members, read the way the program writes it.
struct SavedConfiguration {
    bool present = false;
    std::map<std::string, std::map<std::string, std::string>> classes;
    // The value, or "<none>".
    std::string value(const std::string& className, const std::string& member) const;
    int wallpaperClasses() const;
};
SavedConfiguration readConfiguration();

// HKEY_CURRENT_USER\Control Panel\Desktop.
using testing_support::desktopValue;
using testing_support::setDesktopValue;

} // namespace e2e

#endif

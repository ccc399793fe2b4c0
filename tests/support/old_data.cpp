#include "old_data.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include "folders.h"
#include "shortcuts.h"

namespace e2e {

namespace {

std::string windowsFolder() {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    return windows;
}

// Makes the folder and those above it.
void makeFolders(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

} // namespace

std::string oldFolder(OldPlace place) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    // The virtual store mirrors a path without its drive.
    std::string store = testing_support::shellFolder(CSIDL_LOCAL_APPDATA) + "\\VirtualStore" +
                        windowsFolder().substr(2);
    switch (place) {
    case OldPlace::System:
        return std::string(system) + "\\Muralto";
    case OldPlace::SysWow64:
        return windowsFolder() + "\\SysWOW64\\Muralto";
    case OldPlace::VirtualSysWow64:
        return store + "\\SysWOW64\\Muralto";
    case OldPlace::VirtualSystem32:
        return store + "\\System32\\Muralto";
    }
    return "";
}

std::string movingFolder() { return dataFolder() + ".moving"; }

void writeOldData(const std::string& folder, const std::string& namesFolder,
                  const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers,
                  int hoursAgo) {
    makeFolders(folder + "\\previews");
    for (const Wallpaper& w : wallpapers) writeWallpaperFiles(w, folder);
    std::string ini = folder + "\\Muralto.ini";
    ASSERT_TRUE(testing_support::writeWithCrLf(ini, iniText(settings, wallpapers, namesFolder)));
    HANDLE file = CreateFileA(ini.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << ini;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time = {{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(hoursAgo) * 3600 * 10000000;
    FILETIME written = {time.LowPart, time.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written)) << ini;
    CloseHandle(file);
}

std::map<std::string, std::string> folderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const std::string& name : filesIn(folder))
        contents[name] = fileBytes(folder + "\\" + name);
    for (const std::string& name : filesIn(folder + "\\previews"))
        contents["previews\\" + name] = fileBytes(folder + "\\previews\\" + name);
    return contents;
}

void removeOldFolders() {
    std::vector<std::string> folders = {movingFolder()};
    for (OldPlace place : kOldPlaces) folders.push_back(oldFolder(place));
    for (const std::string& folder : folders) {
        testing_support::removeFolder(folder + "\\previews");
        EXPECT_TRUE(testing_support::removeFolder(folder)) << "cannot empty " << folder;
    }
}

} // namespace e2e

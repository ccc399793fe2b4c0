// The data of earlier versions, which kept it in the folder Muralto of the Windows system folder:
// where it may lie, putting some there as such a version left it, and telling whether it changed.
#ifndef MURALTO_OLD_DATA_H
#define MURALTO_OLD_DATA_H

#include <map>
#include <string>
#include <vector>

#include "muralto_files.h"

namespace e2e {

enum class OldPlace {
    System,          // GetSystemDirectory's Muralto: the 64-bit program, or any 32-bit one
    SysWow64,        // SysWOW64\Muralto: the 32-bit program with administrator rights
    VirtualSysWow64, // the virtual store of a standard user's 32-bit program
    VirtualSystem32, // the virtual store of System32 (a 32-bit Windows, or older versions)
};
const OldPlace kOldPlaces[] = {OldPlace::System, OldPlace::SysWow64, OldPlace::VirtualSysWow64,
                               OldPlace::VirtualSystem32};

std::string oldFolder(OldPlace place);
// The folder a move assembles beside the data folder before renaming it.
std::string movingFolder();

// The wallpapers' files in folder and a Muralto.ini that names them in namesFolder (a 32-bit
// program named its system folder whichever folder held its files), written at the given age.
void writeOldData(const std::string& folder, const std::string& namesFolder,
                  const SystemSettings& settings, const std::vector<Wallpaper>& wallpapers,
                  int hoursAgo);

// Every file of the folder and of its previews folder ("previews\MU0.bmp") with its bytes.
std::map<std::string, std::string> folderContents(const std::string& folder);

// Empties and removes every old folder and the move's folder.
void removeOldFolders();

} // namespace e2e

#endif

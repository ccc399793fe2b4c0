// A fixture that gives each test the program's start state and an empty data folder.
#ifndef MURALTO_PROGRAM_FIXTURE_H
#define MURALTO_PROGRAM_FIXTURE_H

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app_state.h"
#include "wallpaper_table.h"

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // dataFolder + "\" + name.
    static std::string inDataFolder(const std::string& name);
    // Writes a configuration file; lines end in CR LF as the program's own files do.
    static void writeIni(const std::string& text);
    // A small real bitmap file, loadable as a preview.
    static void writePreview(const std::string& path);
    // Fills slot with a wallpaper whose files exist, named after number.
    static void fillSlot(int slot, int number);
    // The bitmap files of the data folder and its previews folder: each path with its bytes.
    static std::map<std::string, std::string> dataFolderFiles();
};

// Every global of the program back to its start value.
void resetProgramState();
// Deletes the configuration files, wallpapers and previews, and the two folders.
void removeDataFolder();

#endif

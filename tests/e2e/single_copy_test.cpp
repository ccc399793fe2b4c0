// A second start while Muralto runs: it brings the running copy forward and touches nothing.
#include <map>

#include "journey.h"
#include "open_file_dialog.h"
#include "test_bitmaps.h"
#include "test_files.h"

namespace e2e {
namespace {

// Every file of the data folder and of its previews folder, with its bytes.
std::map<std::string, std::string> dataFolderFiles() {
    std::map<std::string, std::string> files;
    for (const std::string& name : filesIn(dataFolder()))
        files[name] = fileBytes(dataFolder() + "\\" + name);
    for (const std::string& name : filesIn(previewFolder()))
        files["previews\\" + name] = fileBytes(previewFolder() + "\\" + name);
    return files;
}

std::string namesOf(const std::map<std::string, std::string>& files) {
    std::string names;
    for (const auto& file : files) names += " " + file.first;
    return names.empty() ? " none" : names;
}

class SecondStart : public Journey {};

TEST_F(SecondStart, BringsTheRunningCopyForwardAndLeavesItsUnsavedPictureAlone) {
    configure(SystemSettings(), threeWallpapers());
    MuraltoRun first;
    ASSERT_TRUE(showMainWindow(first));
    // Added and not saved yet: its files are there, the configuration file does not name it.
    std::string picture = first.folder() + "\\Lac.bmp";
    ASSERT_TRUE(
        testing_support::writeBytes(picture, testing_support::bitmapFileBytes(64, 48, 0x3070A0)));
    first.clickLater(ADD);
    OpenFileDialog dialog(first, "Charger un Wallpaper...");
    ASSERT_TRUE(dialog.found()) << "no open-file dialog";
    ASSERT_TRUE(dialog.openPath(picture));
    ASSERT_TRUE(waitUntil([&] { return first.rowCount() == 4; })) << first.rowCount() << " rows";
    first.click(HIDE);
    ASSERT_TRUE(waitUntil([&] { return !first.visible(); })) << "Reduire left the window shown";
    std::map<std::string, std::string> before = dataFolderFiles();
    ASSERT_EQ(1u, before.count("MUWallpaper3.bmp")) << "files:" << namesOf(before);

    // Started as the Start-menu shortcut starts it, from the same folder.
    MuraltoRun second(first.folder() + "\\Muralto.exe", first.folder(), "");
    ASSERT_TRUE(second.waitForExit()) << "the second copy still runs";
    EXPECT_EQ(0u, second.exitCode());
    EXPECT_TRUE(second.messageBoxes().empty()) << describe(second.messageBoxes());
    EXPECT_TRUE(waitUntil([&] { return first.visible(); })) << "the first copy stayed hidden";
    std::map<std::string, std::string> after = dataFolderFiles();
    EXPECT_TRUE(before == after) << "before:" << namesOf(before) << "\nafter:" << namesOf(after);

    quitWithButton(first);
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ(4, saved.wallpaperClasses());
    EXPECT_EQ("Lac.bmp", saved.value("WALLPAPER 3", "original"));
    EXPECT_EQ(wallpaperPath(3), saved.value("WALLPAPER 3", "filename"));
}

} // namespace
} // namespace e2e

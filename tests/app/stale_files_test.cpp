// The start-up clean-up of files that no wallpaper refers to.
#include <string>

#include "program_fixture.h"
#include "settings.h"
#include "stale_files.h"
#include "test_files.h"

namespace {

using testing_support::fileExists;

class StaleFiles : public ProgramTest {
  protected:
    std::string wallpaperFile(int n) {
        return inDataFolder("MUWallpaper" + std::to_string(n) + ".bmp");
    }
    std::string previewFile(int n) {
        return inDataFolder("previews\\MU" + std::to_string(n) + ".bmp");
    }
};

// Every number a new file may take is cleaned up, and no other name.
TEST_F(StaleFiles, UnreferencedOwnFilesOfEveryNumberAreRemoved) {
    fillSlot(0, 3); // the wallpaper owns MUWallpaper3.bmp and MU3.bmp
    fillSlot(1, 4);
    CharLowerA(wallpaperTable[1].filename); // the same file for Windows
    const struct {
        std::string path;
        bool kept;
    } files[] = {
        {wallpaperFile(3), true},
        {previewFile(3), true},
        {wallpaperFile(4), true},
        {previewFile(7), false},
        {wallpaperFile(0), false},
        {wallpaperFile(500), false},
        {previewFile(9999), false},
        {wallpaperFile(10000), true},
        {inDataFolder("MUWallpaper03.bmp"), true},
        {inDataFolder("notes.bmp"), true},
    };
    for (const auto& f : files) writePreview(f.path);
    removeStaleFiles();
    for (const auto& f : files) EXPECT_EQ(f.kept, fileExists(f.path)) << f.path;
}

TEST_F(StaleFiles, FilesOfLoadedWallpapersAreKept) {
    for (int i = 0; i < 3; ++i) fillSlot(i, i * 2);
    ASSERT_TRUE(saveSettings());
    writePreview(wallpaperFile(1));
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    removeStaleFiles();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(fileExists(wallpaperFile(i * 2))) << i;
        EXPECT_TRUE(fileExists(previewFile(i * 2))) << i;
    }
    EXPECT_FALSE(fileExists(wallpaperFile(1)));
}

TEST_F(StaleFiles, NothingIsRemovedWhenTheConfigurationFileIsRefused) {
    for (int i = 0; i < 3; ++i) fillSlot(i, i);
    ASSERT_TRUE(saveSettings());
    // A hand-edited file that the store refuses: its wallpapers are still the user's.
    std::string text = testing_support::readBytes(iniFilePath);
    for (int i = 0; i < 300; ++i) text += "[extra " + std::to_string(i) + "]\r\n";
    ASSERT_TRUE(testing_support::writeBytes(iniFilePath, text));
    resetProgramState();
    EXPECT_FALSE(loadSettings());
    removeStaleFiles();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(fileExists(wallpaperFile(i))) << i;
        EXPECT_TRUE(fileExists(previewFile(i))) << i;
    }
}

TEST_F(StaleFiles, FirstRunCleansUp) {
    removeDataFolder();
    CreateDirectoryA(dataFolder, nullptr);
    CreateDirectoryA(inDataFolder("previews").c_str(), nullptr);
    writePreview(wallpaperFile(0));
    writePreview(previewFile(0));
    EXPECT_FALSE(loadSettings());
    removeStaleFiles();
    EXPECT_FALSE(fileExists(wallpaperFile(0)));
    EXPECT_FALSE(fileExists(previewFile(0)));
}

} // namespace

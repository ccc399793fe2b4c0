// Saving when things go wrong: a full disk part-way, a kill between any two steps, a file held
// open by another program, a file the store refuses. Whatever happens, the next start finds
// every wallpaper of the old table or every one of the new.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>

#include "held_file.h"
#include "program_fixture.h"
#include "settings.h"
#include "settings_files.h"
#include "stale_files.h"
#include "test_files.h"

namespace {

using testing_support::fileExists;
using testing_support::readBytes;

const char KILL_AT[] = "MURALTO_TEST_KILL_AT"; // the child's crash point, set by the parent

std::string settingsFile(int index, bool pending = false) {
    char path[MAX_PATH];
    EXPECT_TRUE(pending ? pendingFilePath(index, path, sizeof path)
                        : configFilePath(index, path, sizeof path));
    return path;
}

// The step a save must fail at, and what a full disk leaves behind there.
struct Fault {
    const char* step;
    int nth;
} fault;
int stepsSeen;

bool failAtFault(const char* step, const char* path) {
    if (strcmp(step, fault.step) != 0 || ++stepsSeen != fault.nth) return true;
    if (strcmp(step, "write") == 0) testing_support::writeBytes(path, "[SYSTEM]\r\nlastWa");
    return false;
}

bool killAtStep(const char*, const char*) {
    if (++stepsSeen == atoi(getenv(KILL_AT))) TerminateProcess(GetCurrentProcess(), 3);
    return true;
}

class SettingsFaults : public ProgramTest {
  protected:
    // 130 wallpapers on disk, Muralto.ini and Muralto-part2.ini.
    void saveOldTable() {
        for (int i = 0; i < 130; ++i) fillSlot(i, i);
        ASSERT_TRUE(saveSettings());
        before[0] = readBytes(settingsFile(0));
        before[1] = readBytes(settingsFile(1));
    }
    void expectOldFilesUntouched(const std::string& why) {
        EXPECT_EQ(before[0], readBytes(settingsFile(0))) << why;
        EXPECT_EQ(before[1], readBytes(settingsFile(1))) << why;
        for (int index = 0; index < CONFIG_FILES; ++index)
            EXPECT_FALSE(fileExists(settingsFile(index, true))) << why << ": a .new file is left";
    }
    // What the next start loads: its count, with every converted file named once.
    int loadedCount() {
        resetProgramState();
        EXPECT_TRUE(loadSettings());
        std::set<std::string> files;
        for (const WallpaperEntry& e : wallpaperTable)
            if (e.used) {
                EXPECT_TRUE(files.insert(e.filename).second) << "shared: " << e.filename;
            }
        return wallpaperCount;
    }
    void TearDown() override { saveStepHook = nullptr; }

    std::string before[2];
};

TEST_F(SettingsFaults, AFailedStepLeavesThePreviousFilesAsTheyWere) {
    ASSERT_NO_FATAL_FAILURE(saveOldTable());
    ASSERT_TRUE(loadSettings());
    for (int slot : {0, 10, 20}) wallpaperTable[slot].used = 0;
    const Fault faults[] = {{"write", 1}, {"write", 2}, {"flush", 1}, {"flush", 2}, {"replace", 1}};
    saveStepHook = failAtFault;
    for (const Fault& f : faults) {
        fault = f;
        stepsSeen = 0;
        std::string why = std::string(f.step) + " #" + std::to_string(f.nth);
        EXPECT_FALSE(saveSettings()) << why;
        expectOldFilesUntouched(why);
    }
    saveStepHook = nullptr;
    EXPECT_EQ(130, loadedCount());
}

TEST_F(SettingsFaults, AContinuationFileHeldOpenStopsTheSaveBeforeAnyChange) {
    ASSERT_NO_FATAL_FAILURE(saveOldTable());
    ASSERT_TRUE(loadSettings());
    for (int slot : {0, 10, 20}) wallpaperTable[slot].used = 0;
    testing_support::HeldFile held(settingsFile(1));
    ASSERT_TRUE(held.held());
    EXPECT_FALSE(saveSettings());
    held.release();
    expectOldFilesUntouched("held open");
    EXPECT_EQ(130, loadedCount());
}

TEST_F(SettingsFaults, FilesOfEarlierVersionsWithoutGenerationStillLoad) {
    ASSERT_NO_FATAL_FAILURE(saveOldTable());
    for (int index = 0; index < 2; ++index) {
        std::string text = readBytes(settingsFile(index));
        size_t at = text.find("generation = ");
        ASSERT_NE(std::string::npos, at);
        if (index == 0)
            text.erase(at, text.find("\r\n", at) + 2 - at);
        else
            text.erase(text.rfind("\r\n[SYSTEM]"));
        ASSERT_TRUE(testing_support::writeBytes(settingsFile(index), text));
    }
    EXPECT_EQ(130, loadedCount());
}

// A save in another process, killed at its step KILL_AT; it does nothing without the variable.
TEST(SettingsKill, ChildSavesUntilKilled) {
    if (getenv(KILL_AT) == nullptr) GTEST_SKIP() << "run by KillAtAnyStep";
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    for (int slot : {0, 10, 20}) wallpaperTable[slot].used = 0;
    stepsSeen = 0;
    saveStepHook = killAtStep;
    EXPECT_TRUE(saveSettings());
}

TEST_F(SettingsFaults, AKillAtAnyStepLeavesTheOldOrTheNewTable) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string command =
        std::string("\"") + self + "\" --gtest_filter=SettingsKill.ChildSavesUntilKilled";
    DWORD code = 3;
    for (int step = 1; code == 3 && step < 20; ++step) {
        SetUp();
        ASSERT_NO_FATAL_FAILURE(saveOldTable());
        SetEnvironmentVariableA(KILL_AT, std::to_string(step).c_str());
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        PROCESS_INFORMATION child;
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &start, &child));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 60000));
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        int count = loadedCount();
        EXPECT_TRUE(count == 130 || count == 127) << "killed at step " << step << ": " << count;
        // A second save after the kill settles whatever the kill left.
        ASSERT_TRUE(saveSettings()) << "after a kill at step " << step;
        EXPECT_EQ(count, loadedCount()) << "after a kill at step " << step;
    }
    SetEnvironmentVariableA(KILL_AT, nullptr);
    EXPECT_EQ(0u, code) << "the save never ran to its end";
}

TEST_F(SettingsFaults, ARefusedFileIsKeptAsideAndItsPicturesSurvive) {
    std::string refused = "[WALLPAPER 0]\r\nfilename = " + inDataFolder("MUWallpaper5.bmp") +
                          "\r\npreview = " + inDataFolder("previews\\MU5.bmp") + "\r\n";
    for (int i = 0; i < 300; ++i) refused += "[extra " + std::to_string(i) + "]\r\n";
    writeIni(refused);
    refused = readBytes(iniFilePath);
    for (const char* name : {"MUWallpaper5.bmp", "previews\\MU5.bmp", "MUWallpaper7.bmp"})
        writePreview(inDataFolder(name));
    EXPECT_FALSE(loadSettings());
    fillSlot(0, 0);
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(refused, readBytes(inDataFolder("Muralto-refused1.ini")));
    ASSERT_TRUE(saveSettings());
    EXPECT_FALSE(fileExists(inDataFolder("Muralto-refused2.ini"))) << "kept aside twice";

    EXPECT_EQ(1, loadedCount());
    removeStaleFiles();
    EXPECT_TRUE(fileExists(inDataFolder("MUWallpaper5.bmp")));
    EXPECT_TRUE(fileExists(inDataFolder("previews\\MU5.bmp")));
    EXPECT_FALSE(fileExists(inDataFolder("MUWallpaper7.bmp"))) << "named by no file";
}

} // namespace

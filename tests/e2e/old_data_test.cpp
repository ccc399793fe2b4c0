// The data of earlier versions, moved once from the Windows system folder or the user's virtual
// store into the data folder: every wallpaper comes along, its paths rewritten, the desktop gets
// a file of the data folder, and the old folder is only read. A copy that fails leaves nothing
// half made, says which folder it could not copy, and the next start moves the data.
#include <windows.h>

#include <algorithm>

#include "held_file.h"
#include "journey.h"

namespace e2e {
namespace {

const DWORD kFirstChange = 15000; // the first wallpaper shows 1 s; a loaded machine is slower

struct OldData {
    OldPlace place;
    int hoursAgo; // the age of its Muralto.ini
};

struct MoveCase {
    const char* name;
    std::vector<OldData> old; // each with wallpapers of its own; the last one's are the newest
    const char* namesFolder;  // the folder its settings name: "" for the folder itself
    bool halfMadeMove;        // a start killed while moving left its folder behind
};

// A failure names the case rather than dumping its bytes.
void PrintTo(const MoveCase& c, std::ostream* out) { *out << c.name; }

// Three wallpapers of old folder k, their titles and files their own.
std::vector<Wallpaper> wallpapersOf(size_t k) {
    std::vector<Wallpaper> wallpapers;
    for (int i = 0; i < 3; ++i) {
        int number = static_cast<int>(k) * 3 + i;
        wallpapers.push_back(
            {number, "Dossier " + std::to_string(k) + " image " + std::to_string(i) + ".jpg", 1, 0,
             640 + number, 480});
    }
    return wallpapers;
}

// The names whose bytes differ between two folders' contents, for a readable failure.
std::string differences(const std::map<std::string, std::string>& expected,
                        const std::map<std::string, std::string>& found) {
    std::string out;
    for (const auto& file : expected) {
        auto match = found.find(file.first);
        if (match == found.end())
            out += " missing " + file.first;
        else if (match->second != file.second)
            out += " changed " + file.first;
    }
    for (const auto& file : found)
        if (expected.count(file.first) == 0) out += " added " + file.first;
    return out;
}

bool startsWithNoCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() &&
           lstrcmpiA(text.substr(0, start.size()).c_str(), start.c_str()) == 0;
}

// A settings file kept aside by an earlier version (one the store refused), its wallpaper in
// folder: moved as it is but for the path, so that it can still be mended and used.
std::string keptAsideText(const std::string& folder) {
    return "; edited by hand\r\n[WALLPAPER 0]\r\nfilename = " + folder +
           "\\MUWallpaper7.bmp\r\npreview=" + folder + "\\previews\\MU7.bmp ; note\n";
}

SystemSettings inOrder() {
    SystemSettings settings;
    settings.randomWall = 0;
    return settings;
}

class OldDataMove : public Journey, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(OldDataMove, EveryWallpaperComesFromTheDataFolderAndTheOldFolderStaysAsItWas) {
    const MoveCase& c = GetParam();
    const SystemSettings settings = inOrder();
    std::vector<std::map<std::string, std::string>> before;
    for (size_t k = 0; k < c.old.size(); ++k) {
        std::string folder = oldFolder(c.old[k].place);
        std::string names = c.namesFolder[0] != '\0' ? c.namesFolder : folder;
        ASSERT_NO_FATAL_FAILURE(
            writeOldData(folder, names, settings, wallpapersOf(k), c.old[k].hoursAgo));
        ASSERT_TRUE(
            testing_support::writeBytes(folder + "\\Muralto-refused1.ini", keptAsideText(names)));
        before.push_back(folderContents(folder));
    }
    if (c.halfMadeMove) {
        CreateDirectoryA(movingFolder().c_str(), nullptr);
        ASSERT_TRUE(testing_support::writeBytes(movingFolder() + "\\MUWallpaper9.bmp", "BM half"));
    }
    const size_t newest = c.old.size() - 1;
    const std::vector<Wallpaper> expected = wallpapersOf(newest);
    ASSERT_TRUE(setDesktopValue("Wallpaper", "C:\\windows\\before.bmp"));

    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow()) << "no main window";
    ASSERT_TRUE(waitUntil([&] { return run.rowCount() == 3; }))
        << run.rowCount() << " rows; boxes: " << describe(run.messageBoxes());
    for (int row = 0; row < 3; ++row) EXPECT_EQ(expected[row].title, run.cell(row, 0));

    // As moved, before the program's own save at the end: only the paths differ.
    EXPECT_EQ(testing_support::withCrLf(iniText(settings, expected, dataFolder())),
              fileBytes(iniPath()));
    std::map<std::string, std::string> moved = folderContents(dataFolder()),
                                       source = before[newest];
    EXPECT_EQ(keptAsideText(dataFolder()), moved["Muralto-refused1.ini"]);
    for (const char* settingsFile : {"Muralto.ini", "Muralto-refused1.ini"}) {
        moved.erase(settingsFile);
        source.erase(settingsFile);
    }
    EXPECT_EQ("", differences(source, moved)) << "in " << dataFolder();
    EXPECT_FALSE(folderExists(movingFolder())) << "the move's folder is still there";

    std::string shown;
    EXPECT_TRUE(waitUntil(
        [&] {
            shown = desktopValue("Wallpaper");
            return startsWithNoCase(shown, dataFolder() + "\\MUWallpaper") && fileExists(shown);
        },
        kFirstChange))
        << "the desktop shows " << shown;

    ASSERT_TRUE(showMainWindow(run));
    quitWithButton(run);
    for (size_t k = 0; k < c.old.size(); ++k)
        EXPECT_EQ("", differences(before[k], folderContents(oldFolder(c.old[k].place))))
            << "in " << oldFolder(c.old[k].place);
}

INSTANTIATE_TEST_SUITE_P(
    From, OldDataMove,
    ::testing::Values(
        // The 64-bit program's own folder, named as it is.
        MoveCase{"TheSystemFolder", {{OldPlace::System, 1}}, "", false},
        // A standard user's 32-bit program: its files in the virtual store, its settings naming
        // the system folder it believed it wrote; a killed start had begun a move before.
        MoveCase{"TheVirtualStore",
                 {{OldPlace::VirtualSysWow64, 1}},
                 "C:\\WINDOWS\\system32\\Muralto",
                 true},
        // Run in several ways over the years: the settings written last win.
        MoveCase{"TheNewestOfThree",
                 {{OldPlace::System, 48}, {OldPlace::SysWow64, 24}, {OldPlace::VirtualSystem32, 1}},
                 "C:\\Windows\\System32\\Muralto",
                 false}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

class OldDataMoveFailing : public Journey {};

TEST_F(OldDataMoveFailing, LeavesNothingHalfMadeSaysSoAndTheNextStartMovesTheData) {
    const SystemSettings settings = inOrder();
    const std::vector<Wallpaper> wallpapers = wallpapersOf(0);
    const std::string old = oldFolder(OldPlace::System);
    ASSERT_NO_FATAL_FAILURE(writeOldData(old, old, settings, wallpapers, 1));
    const std::map<std::string, std::string> before = folderContents(old);
    testing_support::HeldFile held(old + "\\MUWallpaper1.bmp");
    ASSERT_TRUE(held.held());

    {
        MuraltoRun::Setup setup;
        setup.holdMessageBoxes = true;
        MuraltoRun run(setup);
        ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }))
            << "no warning; boxes: " << describe(run.messageBoxes());
        const testing_support::SeenMessageBox box = run.messageBoxes()[0];
        EXPECT_EQ(kMainCaption, box.caption);
        EXPECT_EQ("[E005]", box.text.substr(0, 6)) << box.text;
        EXPECT_NE(std::string::npos, box.text.find("\"" + old + "\"")) << box.text;
        // The start waits in the box: the move is over and left nothing.
        EXPECT_FALSE(fileExists(iniPath()));
        EXPECT_TRUE(filesIn(dataFolder()).empty());
        EXPECT_FALSE(folderExists(movingFolder())) << "the move's folder is still there";

        run.holdMessageBoxes(false);
        ASSERT_TRUE(showMainWindow(run)) << "no window after the warning";
        EXPECT_EQ(0, run.rowCount());
        run.clickLater(QUIT);
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
        EXPECT_EQ(1u, run.messageBoxes().size()) << describe(run.messageBoxes());
    }
    EXPECT_FALSE(fileExists(iniPath()));
    held.release();
    EXPECT_EQ("", differences(before, folderContents(old))) << "in " << old;

    {
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow()) << "no main window";
        ASSERT_TRUE(waitUntil([&] { return run.rowCount() == 3; }))
            << run.rowCount() << " rows; boxes: " << describe(run.messageBoxes());
        EXPECT_EQ(testing_support::withCrLf(iniText(settings, wallpapers, dataFolder())),
                  fileBytes(iniPath()));
        ASSERT_TRUE(showMainWindow(run));
        quitWithButton(run);
    }
    EXPECT_EQ("", differences(before, folderContents(old))) << "in " << old;
}

} // namespace
} // namespace e2e

// Choosing a wallpaper in the list and editing its time and mode, one at a time or for all.
#include "journey.h"
#include "options.h"
#include "screenshot.h"

namespace e2e {
namespace {

const char* const kModeNames[] = {"CENTRE", "MOSAIQUE", "ETIRE", "AJUSTE", "REMPLI"};

class Editing : public Journey {
  protected:
    void SetUp() override {
        Journey::SetUp();
        wallpapers_ = threeWallpapers();
        SystemSettings settings;
        settings.randomWall = 1;
        configure(settings, wallpapers_);
    }

    // Selects the row and waits for a refresh tick that saw it; then the fields must show that
    // wallpaper's time and mode. Waiting for the values instead would pass at once whenever
    // the fields still showed them from the row before.
    static bool selectAndWait(MuraltoRun& run, int row, const std::string& time, int mode) {
        return run.selectRowSeen(row) && run.text(TIME) == time && run.selection(MODE) == mode;
    }

    static std::string shown(const MuraltoRun& run) {
        return "time \"" + run.text(TIME) + "\", mode " + std::to_string(run.selection(MODE));
    }

    std::vector<Wallpaper> wallpapers_;
};

// Pixels of the preview area that must show wallpaper number's preview.
std::string previewMismatches(const Screenshot& shot, POINT client, int number) {
    const POINT samples[] = {
        {0, 0}, {150, 0}, {0, 111}, {150, 111}, {75, 56}, {110 - number * 25, 30}, {40, 100}};
    std::string wrong;
    for (POINT p : samples) {
        POINT screen = {client.x + PREVIEW_X + p.x, client.y + PREVIEW_Y + p.y};
        uint32_t got = shot.atScreen(screen), want = previewColour(number, p.x, p.y);
        if (got != want) {
            char line[96];
            snprintf(line, sizeof line, "\n  (%ld,%ld): 0x%06X instead of 0x%06X", p.x, p.y, got,
                     want);
            wrong += line;
        }
    }
    return wrong;
}

TEST_F(Editing, SelectingARowShowsItsTimeModeAndPreview) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    EXPECT_EQ((std::vector<std::string>(std::begin(kModeNames), std::end(kModeNames))),
              run.entries(MODE));

    // The very first selection fills the fields too, whatever its row.
    EXPECT_TRUE(selectAndWait(run, 2, "35", 2)) << shown(run);
    EXPECT_EQ("ETIRE", run.text(MODE));
    EXPECT_TRUE(selectAndWait(run, 0, "15", 0)) << shown(run);
    EXPECT_TRUE(selectAndWait(run, 1, "25", 1)) << shown(run);
    EXPECT_EQ(1, run.selectedRow());

    // The refresh tick paints the preview of the selected wallpaper at PREVIEW_X, PREVIEW_Y.
    POINT client = {0, 0};
    ClientToScreen(run.window(), &client);
    std::string wrong;
    Screenshot shot;
    EXPECT_TRUE(waitUntil([&] {
        shot = capture(run.window());
        wrong = previewMismatches(shot, client, 1);
        return wrong.empty();
    })) << "the preview of wallpaper 1 is not there:"
        << wrong;
    // The README's picture; what it shows was checked just above.
    savePng(shot, options.screenshotFolder + "\\main-window.png");

    EXPECT_TRUE(selectAndWait(run, 0, "15", 0)) << shown(run);
    EXPECT_TRUE(waitUntil([&] {
        wrong = previewMismatches(capture(run.window()), client, 0);
        return wrong.empty();
    })) << "the preview did not follow the selection:"
        << wrong;

    quitWithButton(run);
}

TEST_F(Editing, TypedTimesAndChosenModesReachTheWallpapersAndAreSavedOnQuit) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));

    // The refresh tick copies the fields into the selected wallpaper: one must run after the
    // edits, before another row is selected.
    ASSERT_TRUE(selectAndWait(run, 1, "25", 1)) << shown(run);
    run.type(TIME, "90");
    run.choose(MODE, 2);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the edits";

    // Another wallpaper's values replace them in the fields, and come back with its row.
    ASSERT_TRUE(selectAndWait(run, 2, "35", 2)) << shown(run);
    run.type(TIME, "");
    run.choose(MODE, 0);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the edits";
    EXPECT_TRUE(selectAndWait(run, 1, "90", 2))
        << "wallpaper 1 did not keep its edits: " << shown(run);
    EXPECT_TRUE(selectAndWait(run, 2, "0", 0)) << "an emptied time is 0: " << shown(run);
    EXPECT_TRUE(selectAndWait(run, 0, "15", 0))
        << "an edit reached another wallpaper: " << shown(run);

    // The tick reads the boxes; Quit, posted, would go before it.
    run.click(RANDOM);
    run.click(START_CHANGE);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the clicks";
    quitWithButton(run);

    SavedConfiguration saved = readConfiguration();
    ASSERT_TRUE(saved.present) << "Quit wrote no configuration";
    EXPECT_EQ("0", saved.value("SYSTEM", "randomWall"));
    EXPECT_EQ("1", saved.value("SYSTEM", "startWall"));
    EXPECT_EQ("0", saved.value("SYSTEM", "language"));
    ASSERT_EQ(3, saved.wallpaperClasses());
    const struct {
        const char* time;
        const char* mode;
    } expected[] = {{"15", "0"}, {"90", "2"}, {"0", "0"}};
    for (int i = 0; i < 3; ++i) {
        std::string name = "WALLPAPER " + std::to_string(i);
        EXPECT_EQ(wallpapers_[i].title, saved.value(name, "original")) << name;
        EXPECT_EQ(wallpaperPath(i), saved.value(name, "filename")) << name;
        EXPECT_EQ(previewPath(i), saved.value(name, "preview")) << name;
        EXPECT_EQ(expected[i].time, saved.value(name, "showTime")) << name;
        EXPECT_EQ(expected[i].mode, saved.value(name, "showMode")) << name;
        EXPECT_EQ(std::to_string(wallpapers_[i].width) + "," +
                      std::to_string(wallpapers_[i].height),
                  saved.value(name, "size"))
            << name;
    }
}

TEST_F(Editing, ApplyForAllGivesEveryWallpaperTheShownTimeAndMode) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));

    ASSERT_TRUE(selectAndWait(run, 0, "15", 0)) << shown(run);
    run.type(TIME, "45");
    run.choose(MODE, 1);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the edits";
    run.click(APPLY_ALL);
    EXPECT_TRUE(selectAndWait(run, 2, "45", 1)) << shown(run);
    EXPECT_TRUE(selectAndWait(run, 1, "45", 1)) << shown(run);
    quitWithButton(run);

    SavedConfiguration saved = readConfiguration();
    ASSERT_EQ(3, saved.wallpaperClasses());
    for (int i = 0; i < 3; ++i) {
        std::string name = "WALLPAPER " + std::to_string(i);
        EXPECT_EQ("45", saved.value(name, "showTime")) << name;
        EXPECT_EQ("1", saved.value(name, "showMode")) << name;
    }
}

// Hours typed for one picture, night chosen for another: each saved in its own form, and the
// third, always, without the member that earlier versions do not know.
TEST_F(Editing, MomentsChosenInTheWindowAreSavedInTheFile) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_TRUE(selectAndWait(run, 0, "15", 0)) << shown(run);
    const int always = 0, night = 2, hours = 3; // the list's entries
    run.choose(MOMENT, hours);
    run.type(MOMENT_FROM, "22:30");
    run.type(MOMENT_TO, "6:00");
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the edits";
    ASSERT_TRUE(run.selectRowSeen(1));
    EXPECT_EQ(always, run.selection(MOMENT));
    run.choose(MOMENT, night);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the choice";
    quitWithButton(run);

    SavedConfiguration saved = readConfiguration();
    ASSERT_EQ(3, saved.wallpaperClasses());
    EXPECT_EQ("22:30-06:00", saved.value("WALLPAPER 0", "moment"));
    EXPECT_EQ("night", saved.value("WALLPAPER 1", "moment"));
    EXPECT_EQ("<none>", saved.value("WALLPAPER 2", "moment"));
}

class EditedByHand : public Journey {};

TEST_F(EditedByHand, AModeOutsideTheListShowsNoEntryAndIsSavedAsNoSelection) {
    configure(SystemSettings(), {{0, "Dunes.jpg", 20, 7}, {1, "Lac.jpg", 30, 1}});
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    // The tick that fills the fields copies them back into the wallpaper, mode -1 included.
    ASSERT_TRUE(run.selectRowSeen(0));
    EXPECT_EQ("20", run.text(TIME));
    EXPECT_EQ(-1, run.selection(MODE));
    EXPECT_EQ("", run.text(MODE));
    quitWithButton(run);
    EXPECT_EQ("-1", readConfiguration().value("WALLPAPER 0", "showMode"));
    EXPECT_EQ("1", readConfiguration().value("WALLPAPER 1", "showMode"));
}

class Deleting : public Editing {};

TEST_F(Deleting, DeleteRemovesTheConvertedFileAndThePreview) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_TRUE(selectAndWait(run, 1, "25", 1)) << shown(run);

    run.click(DELETE_ONE);
    EXPECT_EQ((std::vector<std::string>{wallpapers_[0].title, wallpapers_[2].title}), run.titles());
    EXPECT_FALSE(fileExists(wallpaperPath(1))) << "the converted file is still there";
    EXPECT_FALSE(fileExists(previewPath(1))) << "the preview file is still there";
    for (int n : {0, 2}) {
        EXPECT_TRUE(fileExists(wallpaperPath(n))) << n;
        EXPECT_TRUE(fileExists(previewPath(n))) << n;
    }
    EXPECT_EQ(-1, run.selectedRow());
    EXPECT_TRUE(waitUntil([&] { return !run.enabled(DELETE_ONE); }))
        << "Delete stays enabled without a selection";
    EXPECT_TRUE(waitUntil([&] { return run.text(COUNTER) == counterText(2); }))
        << run.text(COUNTER);

    // The rows left still lead to their own wallpapers.
    EXPECT_TRUE(selectAndWait(run, 1, "35", 2)) << shown(run);
    quitWithButton(run);

    SavedConfiguration saved = readConfiguration();
    ASSERT_EQ(2, saved.wallpaperClasses());
    EXPECT_EQ(wallpapers_[0].title, saved.value("WALLPAPER 0", "original"));
    EXPECT_EQ(wallpapers_[2].title, saved.value("WALLPAPER 1", "original"));
    EXPECT_EQ(wallpaperPath(2), saved.value("WALLPAPER 1", "filename"));
}

// Delete all asks first, No being the default; the empty table is kept as one, so the next
// start has nothing to warn about.
TEST_F(Deleting, DeleteAllAsksThenRemovesBothFilesOfEveryWallpaperAndKeepsTheEmptyTable) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_TRUE(selectAndWait(run, 0, "15", 0)) << shown(run);

    run.click(DELETE_ALL);
    ASSERT_EQ(1u, run.messageBoxes().size());
    EXPECT_EQ(IDNO, run.messageBoxes()[0].defaultButton) << run.messageBoxes()[0].text;
    EXPECT_EQ(0, run.rowCount());
    for (int n = 0; n < 3; ++n) {
        EXPECT_FALSE(fileExists(wallpaperPath(n))) << n;
        EXPECT_FALSE(fileExists(previewPath(n))) << n;
    }
    EXPECT_TRUE(waitUntil([&] { return run.text(COUNTER) == counterText(0); }))
        << run.text(COUNTER);
    const int editing[] = {LIST, TIME, MODE, DELETE_ONE, DELETE_ALL, HIDE, APPLY_ALL};
    for (int id : editing)
        EXPECT_TRUE(waitUntil([&] { return !run.enabled(id); })) << id << " enabled";

    EXPECT_EQ(0, readConfiguration().wallpaperClasses()) << "the empty table was not kept";
    quitAfterWarnings(run);

    MuraltoRun again;
    ASSERT_TRUE(showMainWindow(again));
    ASSERT_TRUE(again.waitForRefreshTick());
    EXPECT_EQ(0, again.rowCount());
    EXPECT_TRUE(again.messageBoxes().empty()) << describe(again.messageBoxes());
    quitWithButton(again);
}

// Settings edited by hand, or an older copy's, may name pictures outside the data folder: they
// are the user's own files, and only their rows go.
TEST_F(Deleting, FilesOutsideTheDataFolderStayByteForByte) {
    const std::string mine = testing_support::currentFolder() + "\\my pictures";
    testing_support::makeEmptyFolder(mine);
    std::string text = iniText(SystemSettings(), wallpapers_);
    const std::map<std::string, std::string> outside = {
        {wallpaperPath(0), mine + "\\holiday.bmp"},
        {previewPath(0), mine + "\\holiday-small.bmp"},
        {wallpaperPath(1), mine + "\\beach.bmp"},
        {previewPath(1), mine + "\\beach-small.bmp"}};
    for (const auto& [own, users] : outside) {
        ASSERT_TRUE(testing_support::writeBytes(users, fileBytes(own))) << users;
        text.replace(text.find(own), own.size(), users);
    }
    writeIni(text);
    const auto before = [&] {
        std::map<std::string, std::string> bytes;
        for (const auto& entry : outside) bytes[entry.second] = fileBytes(entry.second);
        return bytes;
    }();
    const auto userFilesAsBefore = [&] {
        for (const auto& [path, bytes] : before)
            if (fileBytes(path) != bytes) return false;
        return true;
    };

    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_TRUE(run.selectRowSeen(0));
    run.click(DELETE_ONE);
    EXPECT_EQ((std::vector<std::string>{wallpapers_[1].title, wallpapers_[2].title}), run.titles());
    EXPECT_TRUE(userFilesAsBefore()) << "Delete removed a file of the user's";
    run.click(DELETE_ALL);
    EXPECT_EQ(0, run.rowCount());
    EXPECT_TRUE(userFilesAsBefore()) << "Delete all removed a file of the user's";
    EXPECT_FALSE(fileExists(wallpaperPath(2)) || fileExists(previewPath(2)))
        << "the program's own files stay";
    quitAfterWarnings(run);
    testing_support::removeFolder(mine);
}

} // namespace
} // namespace e2e

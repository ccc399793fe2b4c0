// The notification icon's menu (next wallpaper, pause or resume, show, quit), random rounds
// through a restart, and pictures dropped onto the window as the shell drops them.
#include <tiffio.h>

#include <algorithm>
#include <set>

#include "folders.h"
#include "imaging_fixture.h"
#include "journey.h"
#include "options.h"
#include "screenshot.h"
#include "shell_drop.h"
#include "test_bitmaps.h"
#include "tray_menu.h"

namespace e2e {
namespace {

const char kPausedTip[] = "Muralto Version 3.05 - en pause";

// The configured wallpaper the desktop shows, by number; -1 for anything else.
int shownNumber(int count) {
    std::string path = desktopValue("Wallpaper");
    for (int number = 0; number < count; ++number)
        if (path == wallpaperPath(number)) return number;
    return -1;
}

std::vector<Wallpaper> numberedWallpapers(int count, int showTime) {
    std::vector<Wallpaper> wallpapers;
    for (int n = 0; n < count; ++n)
        wallpapers.push_back({n, "Picture " + std::to_string(n) + ".bmp", showTime, 0});
    return wallpapers;
}

// Records each change of the desktop among count wallpapers until done holds or the deadline.
template <typename Done>
bool recordChanges(int count, std::vector<int>* seen, Done done, DWORD timeoutMs) {
    int last = shownNumber(count);
    return waitUntil(
        [&] {
            int now = shownNumber(count);
            if (now != last && now >= 0) seen->push_back(now);
            last = now;
            return done();
        },
        timeoutMs);
}

std::string listed(const std::vector<int>& numbers) {
    std::string text;
    for (int n : numbers) text += " " + std::to_string(n);
    return text;
}

// A screenshot that shows more than a plain background: the menu has painted its entries.
bool painted(const Screenshot& shot) {
    std::set<uint32_t> colours(shot.pixels.begin(), shot.pixels.end());
    return colours.size() > 2;
}

class TrayMenu : public Journey {
  protected:
    // Opens the menu with the shell's right click and chooses entry.
    static void choose(MuraltoRun& run, TrayEntry entry) {
        HWND menu = openTrayMenu(run.window(), run.processId());
        ASSERT_NE(nullptr, menu) << "no menu after the right click on the icon";
        ASSERT_TRUE(chooseEntry(menu, entry)) << "the menu stayed open after entry " << entry;
    }
    static void quitFromMenu(MuraltoRun& run) {
        ASSERT_NO_FATAL_FAILURE(choose(run, QUIT_PROGRAM));
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after the menu's Quit";
        EXPECT_EQ(0u, run.exitCode());
        EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());
    }
};

TEST_F(TrayMenu, EachOfTheFourEntriesDoesItsWork) {
    std::vector<Wallpaper> wallpapers = numberedWallpapers(3, 600); // no change of its own
    configure(SystemSettings(), wallpapers);                        // in order, from slot 0
    setDesktopValue("Wallpaper", "");
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    ASSERT_TRUE(waitUntil([&] { return run.trayIconShown(); })) << "no notification icon";

    // Passing over the icon no longer shows the window: posted before the tick that follows.
    run.post(WM_TRAYICON, TRAY_ICON_ID, WM_MOUSEMOVE);
    ASSERT_TRUE(run.waitForRefreshTick());
    EXPECT_FALSE(run.visible()) << "a mouse move over the icon showed the window";

    // Escape closes the menu and chooses nothing. The open menu is the README's picture.
    HWND menu = openTrayMenu(run.window(), run.processId());
    ASSERT_NE(nullptr, menu) << "no menu after the right click on the icon";
    Screenshot shot;
    EXPECT_TRUE(waitUntil([&] { return painted(shot = capture(menu)); })) << "an empty menu";
    savePng(shot, options.screenshotFolder + "\\tray-menu.png");
    ASSERT_TRUE(dismiss(menu)) << "Escape left the menu open";
    ASSERT_TRUE(run.waitForRefreshTick());
    EXPECT_EQ("", desktopValue("Wallpaper"));
    EXPECT_FALSE(run.visible());

    ASSERT_NO_FATAL_FAILURE(choose(run, NEXT_WALLPAPER));
    EXPECT_TRUE(waitUntil([&] { return shownNumber(3) == 1; })) << desktopValue("Wallpaper");
    ASSERT_NO_FATAL_FAILURE(choose(run, NEXT_WALLPAPER));
    EXPECT_TRUE(waitUntil([&] { return shownNumber(3) == 2; })) << desktopValue("Wallpaper");

    ASSERT_NO_FATAL_FAILURE(choose(run, SHOW));
    EXPECT_TRUE(waitUntil([&] { return run.visible(); })) << "Show Muralto left it hidden";
    run.click(HIDE);
    EXPECT_TRUE(waitUntil([&] { return !run.visible(); }));

    long pausedTips = tipCount(kPausedTip);
    ASSERT_NO_FATAL_FAILURE(choose(run, PAUSE_OR_RESUME));
    EXPECT_TRUE(waitUntil([&] { return tipCount(kPausedTip) > pausedTips; }))
        << "no icon tip \"" << kPausedTip << "\"";

    ASSERT_NO_FATAL_FAILURE(quitFromMenu(run));
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("1", saved.value("SYSTEM", "paused"));
    EXPECT_EQ("2", saved.value("SYSTEM", "lastWall"));
    EXPECT_EQ(3, saved.wallpaperClasses());
}

TEST_F(TrayMenu, APauseHoldsTheDesktopAcrossARestartAndTheLogOffUntilResumed) {
    const int count = 3;
    SystemSettings settings;
    settings.startWall = 1;
    configure(settings, numberedWallpapers(count, 0)); // a change at every second
    const DWORD kHeld = 3000;                          // three changes' worth
    {
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow());
        std::vector<int> seen;
        ASSERT_TRUE(recordChanges(
            count, &seen, [&] { return seen.size() >= 2; }, kPatience))
            << "the sequencer made no changes";
        ASSERT_NO_FATAL_FAILURE(choose(run, PAUSE_OR_RESUME));
        ASSERT_TRUE(run.waitForRefreshTick()); // the command, posted, is handled by then
        std::string held = desktopValue("Wallpaper");
        EXPECT_TRUE(holdsFor([&] { return desktopValue("Wallpaper") == held; }, kHeld))
            << "changed while paused";
        ASSERT_NO_FATAL_FAILURE(quitFromMenu(run));
        EXPECT_EQ("1", readConfiguration().value("SYSTEM", "paused"));
    }
    std::string held = desktopValue("Wallpaper");
    {
        long pausedTips = tipCount(kPausedTip);
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow());
        EXPECT_TRUE(waitUntil([&] { return tipCount(kPausedTip) > pausedTips; }))
            << "the restarted program's tip does not say it is paused";
        EXPECT_TRUE(holdsFor([&] { return desktopValue("Wallpaper") == held; }, kHeld))
            << "changed after the restart";
        ASSERT_TRUE(run.post(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end at the log-off";
        EXPECT_EQ(held, desktopValue("Wallpaper")) << "the log-off changed it while paused";
        EXPECT_EQ("1", readConfiguration().value("SYSTEM", "paused"));
    }
    {
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow());
        ASSERT_NO_FATAL_FAILURE(choose(run, PAUSE_OR_RESUME));
        EXPECT_TRUE(waitUntil([&] { return desktopValue("Wallpaper") != held; }))
            << "Resume did not restart the changes";
        ASSERT_NO_FATAL_FAILURE(quitFromMenu(run));
        EXPECT_EQ("<none>", readConfiguration().value("SYSTEM", "paused"));
    }
}

class RandomRound : public Journey {};

TEST_F(RandomRound, SevenWallpapersShowOnceEachAndARestartGoesOnWithTheRound) {
    const int count = 7;
    SystemSettings settings;
    settings.randomWall = 1;
    configure(settings, numberedWallpapers(count, 0));
    setDesktopValue("Wallpaper", "");
    std::vector<int> seen;
    {
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow());
        ASSERT_TRUE(recordChanges(
            count, &seen, [&] { return seen.size() >= 3; }, 3 * kPatience))
            << "changes:" << listed(seen);
        // The changes go on until the program has quit: every one of them counts.
        ASSERT_TRUE(run.post(WM_CLOSE, 0, 0));
        ASSERT_TRUE(recordChanges(
            count, &seen, [&] { return !run.running(); }, kPatience));
        EXPECT_EQ(0u, run.exitCode());
    }
    ASSERT_LT(seen.size(), static_cast<size_t>(count)) << "the round ended before the restart";
    size_t beforeRestart = seen.size();
    {
        MuraltoRun run;
        ASSERT_TRUE(run.findMainWindow());
        ASSERT_TRUE(recordChanges(
            count, &seen, [&] { return seen.size() >= count + 1u; }, 3 * kPatience))
            << "changes:" << listed(seen);
        ASSERT_TRUE(run.post(WM_CLOSE, 0, 0));
        EXPECT_TRUE(run.waitForExit());
    }
    std::vector<int> round(seen.begin(), seen.begin() + count);
    std::sort(round.begin(), round.end());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6}), round)
        << "changes:" << listed(seen) << ", restart after " << beforeRestart;
    EXPECT_NE(seen[count - 1], seen[count]) << "the new round began with the last wallpaper";
}

class Drop : public Journey {
  protected:
    void TearDown() override {
        testing_support::removeTreeUtf8(folder_);
        Journey::TearDown();
    }
    std::string folder_ = testing_support::currentFolder() + "\\dropped";
};

TEST_F(Drop, TwoFilesAndAFolderTreeAreAddedInNameOrderAndTheTextFileIsCounted) {
    // Kinds from the first bytes: a bitmap named .dat, and no extension needed.
    testing_support::removeTreeUtf8(folder_);
    const std::string holiday = folder_ + "\\Holiday", middle = holiday + "\\Middle";
    ASSERT_TRUE(testing_support::makeFolderUtf8(folder_));
    ASSERT_TRUE(testing_support::makeFolderUtf8(holiday));
    ASSERT_TRUE(testing_support::makeFolderUtf8(middle));
    ASSERT_TRUE(writeColourJpeg(folder_ + "\\sunset.jpg", quadrants(64, 48), 90));
    ASSERT_TRUE(testing_support::writeBytes(folder_ + "\\scan.dat",
                                            testing_support::bitmapFileBytes(40, 30, 0x336699)));
    ASSERT_TRUE(writeTiff(holiday + "\\a.tif", {{quadrants(32, 32), ORIENTATION_TOPLEFT, {}}}));
    ASSERT_TRUE(writeWebp(middle + "\\c.webp", quadrants(48, 32), {}, true));
    ASSERT_TRUE(testing_support::writeBytes(holiday + "\\notes.txt", "Pack the camera.\r\n"));
    // Hidden, as a dot file is under Wine: neither added nor counted.
    ASSERT_TRUE(testing_support::writeBytes(middle + "\\._c.webp", "Mac resource fork"));
    ASSERT_TRUE(writeColourJpeg(holiday + "\\z", quadrants(20, 10), 90));

    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    std::unique_ptr<RemoteBuffer> drop = dropFiles(
        run.process(), run.window(), {folder_ + "\\sunset.jpg", folder_ + "\\scan.dat", holiday});
    ASSERT_NE(nullptr, drop) << "the drop was not sent";
    const std::vector<std::string> expected = {"sunset.jpg", "scan.dat", "a.tif", "c.webp", "z"};
    EXPECT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }, 20000))
        << "no message at the end: " << describe(run.messageBoxes());
    EXPECT_EQ(expected, run.titles());
    EXPECT_TRUE(waitUntil([&] { return run.text(COUNTER) == counterText(5); }))
        << run.text(COUNTER);
    std::vector<testing_support::SeenMessageBox> boxes = run.messageBoxes();
    ASSERT_EQ(1u, boxes.size()) << describe(boxes);
    EXPECT_EQ("1 fichier(s) ignor\xE9(s) : ce ne sont pas des images.", boxes[0].text);
    EXPECT_EQ(run.window(), boxes[0].owner);

    run.clickLater(QUIT);
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(5, readConfiguration().wallpaperClasses());
}

} // namespace
} // namespace e2e

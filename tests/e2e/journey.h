// What every journey shares: a clean data folder before and after, no data of an earlier
// version to move, and the usual wallpapers.
#ifndef MURALTO_E2E_JOURNEY_H
#define MURALTO_E2E_JOURNEY_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "muralto_files.h"
#include "muralto_run.h"
#include "old_data.h"
#include "waiting.h"

namespace e2e {

class Journey : public ::testing::Test {
  protected:
    void SetUp() override {
        removeOldFolders();
        removeDataFolder();
    }
    void TearDown() override {
        removeOldFolders();
        removeDataFolder();
    }

    // Three wallpapers whose times, modes and sizes all differ.
    static std::vector<Wallpaper> threeWallpapers() {
        return {
            {0, "Coucher de soleil.jpg", 15, 0, 1024, 768},
            {1, "For\xEAt d'automne.bmp", 25, 1, 800, 600},
            {2, "Montagnes.tif", 35, 2, 1600, 1200},
        };
    }

    // Finds the main window and makes it visible with the tray icon's message if need be.
    static bool showMainWindow(MuraltoRun& run) {
        if (!run.findMainWindow()) return false;
        if (!run.visible()) run.post(WM_TRAYICON, 1, WM_LBUTTONUP);
        return waitUntil([&] { return run.visible(); });
    }

    // Quits with the button and waits for the end: exit code 0 and no warning on the way.
    static void quitWithButton(MuraltoRun& run) {
        run.clickLater(QUIT);
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
        EXPECT_EQ(0u, run.exitCode());
        EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());
    }

    // Quits with the button once the boxes seen so far have been answered: no new one on the way.
    static void quitAfterWarnings(MuraltoRun& run) {
        size_t seen = run.messageBoxes().size();
        run.clickLater(QUIT);
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
        EXPECT_EQ(0u, run.exitCode());
        EXPECT_EQ(seen, run.messageBoxes().size()) << describe(run.messageBoxes());
    }

    static std::string counterText(int count) {
        return std::to_string(count) + " wallpaper(s) dans la base de donn\xE9"
                                       "es";
    }
};

} // namespace e2e

#endif

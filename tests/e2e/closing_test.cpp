// The ways the program ends: its close box, and Windows ending or keeping the session.
#include "journey.h"

namespace e2e {
namespace {

const char kSentinel[] = "C:\\windows\\before.bmp";

class Closing : public Journey {
  protected:
    void SetUp() override {
        Journey::SetUp();
        // Long times, so that no timed change happens while a journey runs.
        wallpapers_ = threeWallpapers();
        for (Wallpaper& w : wallpapers_) w.showTime = 600;
        for (const char* name :
             {"Wallpaper", "ConvertedWallpaper", "WallpaperStyle", "TileWallpaper"})
            setDesktopValue(name, kSentinel);
    }

    void configureWith(int startWall) {
        SystemSettings settings;
        settings.lastWall = 0;
        settings.randomWall = 0;
        settings.startWall = startWall;
        configure(settings, wallpapers_);
    }

    static std::string desktop() {
        std::string all;
        for (const char* name :
             {"Wallpaper", "ConvertedWallpaper", "WallpaperStyle", "TileWallpaper"})
            all += std::string(name) + "=" + desktopValue(name) + " ";
        return all;
    }

    static std::string untouchedDesktop() {
        std::string all;
        for (const char* name :
             {"Wallpaper", "ConvertedWallpaper", "WallpaperStyle", "TileWallpaper"})
            all += std::string(name) + "=" + kSentinel + " ";
        return all;
    }

    // Sent as Windows sends it; the program may end before it answers.
    static void endSession(MuraltoRun& run, BOOL ending) {
        run.send(WM_ENDSESSION, static_cast<WPARAM>(ending), 0);
    }

    std::vector<Wallpaper> wallpapers_;
};

TEST_F(Closing, TheCloseBoxSavesTheConfigurationAndEnds) {
    configureWith(0);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    run.click(START_CHANGE);
    // The refresh tick reads the box; the close, posted, would go before it.
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the click";
    run.post(WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(run.waitForExit()) << "the close box did not end the program";
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("1", saved.value("SYSTEM", "startWall"));
    EXPECT_EQ(3, saved.wallpaperClasses());
    EXPECT_EQ(untouchedDesktop(), desktop());
}

TEST_F(Closing, EndingSessionWithStartChangeSetsTheNextWallpaperSavesAndEnds) {
    configureWith(1);
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    endSession(run, TRUE);
    ASSERT_TRUE(run.waitForExit()) << "WM_ENDSESSION(TRUE) did not end the program";
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    // In order after slot 0 comes slot 1, whose mode 1 is tiled.
    EXPECT_EQ(wallpaperPath(1), desktopValue("Wallpaper"));
    EXPECT_EQ(wallpaperPath(1), desktopValue("ConvertedWallpaper"));
    EXPECT_EQ("0", desktopValue("WallpaperStyle"));
    EXPECT_EQ("1", desktopValue("TileWallpaper"));
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("1", saved.value("SYSTEM", "lastWall")) << "the change is not remembered";
    EXPECT_EQ("1", saved.value("SYSTEM", "startWall"));
    EXPECT_EQ(3, saved.wallpaperClasses());
}

TEST_F(Closing, EndingSessionWithoutStartChangeSavesAndEndsButLeavesTheDesktop) {
    configureWith(0);
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    endSession(run, TRUE);
    ASSERT_TRUE(run.waitForExit()) << "WM_ENDSESSION(TRUE) did not end the program";
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_EQ(untouchedDesktop(), desktop());
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("0", saved.value("SYSTEM", "lastWall"));
    EXPECT_EQ(3, saved.wallpaperClasses());
}

TEST_F(Closing, ACancelledSessionEndChangesNothingAndTheProgramGoesOn) {
    configureWith(1);
    std::string before = fileBytes(iniPath());
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    // Sent, it was handled when the call returned; a program that ends runs no tick after it.
    endSession(run, FALSE);
    EXPECT_TRUE(run.waitForRefreshTick()) << "the program ended";
    EXPECT_EQ(untouchedDesktop(), desktop());
    EXPECT_EQ(before, fileBytes(iniPath())) << "the configuration was written";

    ASSERT_TRUE(showMainWindow(run)) << "the program no longer answers";
    quitWithButton(run);
    EXPECT_EQ(untouchedDesktop(), desktop());
    EXPECT_EQ("0", readConfiguration().value("SYSTEM", "lastWall"));
}

} // namespace
} // namespace e2e

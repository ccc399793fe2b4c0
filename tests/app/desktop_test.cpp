// Putting wallpapers on the desktop, and the sequence of changes, read back from the registry.
#include <string.h>

#include <string>
#include <vector>

#include "desktop_settings.h"
#include "desktop_wallpaper.h"
#include "program_fixture.h"
#include "sequencer.h"

namespace {

using testing_support::desktopValue;

std::string reportedDesktopWallpaper() {
    char path[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0);
    return path;
}

class Desktop : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        secondsShown = 0;
        hiddenInTray = true;
    }
    // Wallpapers in the given slots, each with its own file, time and mode.
    void useSlots(std::initializer_list<int> slots, int showTime = 0) {
        for (int slot : slots) {
            fillSlot(slot, slot);
            wallpaperTable[slot].showTime = showTime;
        }
    }
    // The slot whose file the registry names, or -1.
    int slotOnDesktop() {
        std::string path = desktopValue("Wallpaper");
        for (int i = 0; i < MAX_WALLPAPERS; ++i)
            if (wallpaperTable[i].used && path == wallpaperTable[i].filename) return i;
        return -1;
    }
};

TEST_F(Desktop, ModesSetTheirStyleValues) {
    struct {
        int mode;
        const char *style, *tile;
    } cases[] = {{MODE_CENTRE, "0", "0"},
                 {MODE_TILE, "0", "1"},
                 {MODE_STRETCH, "2", "0"},
                 {MODE_FIT, "6", "0"},
                 {MODE_FILL, "10", "0"}};
    std::string path = inDataFolder("MUWallpaper0.bmp");
    writePreview(path);
    for (const auto& c : cases) {
        applyWallpaper(path.c_str(), c.mode, false);
        DWORD length = 0;
        EXPECT_EQ(c.style, desktopValue("WallpaperStyle", &length)) << c.mode;
        EXPECT_EQ(strlen(c.style) + 1, length) << "the length counts the NUL";
        EXPECT_EQ(c.tile, desktopValue("TileWallpaper", &length)) << c.mode;
        EXPECT_EQ(2u, length);
        EXPECT_EQ(path, desktopValue("Wallpaper", &length));
        EXPECT_EQ(path.size() + 1, length);
        EXPECT_EQ(path, desktopValue("ConvertedWallpaper", &length));
        EXPECT_EQ(path.size() + 1, length);
    }
}

TEST_F(Desktop, OtherModesLeaveTheStyleValuesAlone) {
    applyWallpaper("C:\\first.bmp", MODE_TILE, false);
    applyWallpaper("C:\\second.bmp", 5, false);
    EXPECT_EQ("C:\\second.bmp", desktopValue("Wallpaper"));
    EXPECT_EQ("C:\\second.bmp", desktopValue("ConvertedWallpaper"));
    EXPECT_EQ("0", desktopValue("WallpaperStyle"));
    EXPECT_EQ("1", desktopValue("TileWallpaper"));
    applyWallpaper("C:\\third.bmp", -1, false);
    EXPECT_EQ("1", desktopValue("TileWallpaper"));
}

TEST_F(Desktop, RefreshLoadsThePictureAtOnce) {
    std::string first = inDataFolder("MUWallpaper1.bmp");
    std::string second = inDataFolder("MUWallpaper2.bmp");
    writePreview(first);
    writePreview(second);
    applyWallpaper(first.c_str(), MODE_CENTRE, true);
    ASSERT_EQ(first, reportedDesktopWallpaper());
    applyWallpaper(second.c_str(), MODE_CENTRE, false);
    EXPECT_EQ(second, desktopValue("Wallpaper"));
    EXPECT_EQ(first, reportedDesktopWallpaper()) << "without refresh the desktop keeps its picture";
}

TEST_F(Desktop, InOrderTheNextUsedSlotFollows) {
    useSlots({0, 3, 7});
    randomWall = false;
    lastWall = 7;
    sequenceTick();
    EXPECT_EQ(0, lastWall);
    EXPECT_EQ(0, slotOnDesktop());
    lastWall = 3;
    sequenceTick();
    EXPECT_EQ(7, lastWall);
    EXPECT_EQ(7, slotOnDesktop());
    EXPECT_EQ("1", desktopValue("TileWallpaper")) << "slot 7 is tiled (7 % 3)";
}

TEST_F(Desktop, OneWallpaperIsAppliedAgainAndAgain) {
    useSlots({4});
    for (bool random : {false, true}) {
        randomWall = random;
        for (int i = 0; i < 3; ++i) {
            applyWallpaper("C:\\elsewhere.bmp", MODE_CENTRE, false);
            sequenceTick();
            EXPECT_EQ(4, slotOnDesktop()) << "random " << random << ", tick " << i;
        }
    }
}

TEST_F(Desktop, AtRandomTwoWallpapersAlternate) {
    useSlots({2, 9});
    lastWall = 2;
    for (int i = 0; i < 20; ++i) {
        int before = lastWall;
        sequenceTick();
        ASSERT_NE(before, lastWall) << "tick " << i;
    }
}

TEST_F(Desktop, AtRandomAFreeSlotIsNeverChosen) {
    useSlots({1, 2, 3});
    int seen[4] = {};
    for (int i = 0; i < 60; ++i) {
        sequenceTick();
        ASSERT_GE(lastWall, 1);
        ASSERT_LE(lastWall, 3);
        ++seen[lastWall];
    }
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);
    EXPECT_GT(seen[3], 0);
}

// The icon's menu: Next changes at once and the time starts afresh; a pause counts nothing and
// changes nothing, the log-off change included, and the count goes on where it stopped.
TEST_F(Desktop, NextChangesAtOnceAndAPauseHoldsTheCount) {
    randomWall = false;
    startWall = true;
    useSlots({0, 1, 2}, 3);
    auto ticksUntilChange = [&](int limit) {
        int before = lastWall;
        for (int tick = 1; tick <= limit; ++tick) {
            sequenceTick();
            if (lastWall != before) return tick;
        }
        return 0;
    };
    sequenceTick();
    sequenceTick();
    changeWallpaperNow();
    EXPECT_EQ(1, lastWall);
    EXPECT_EQ(1, slotOnDesktop());
    EXPECT_EQ(4, ticksUntilChange(10)) << "a time of 3 lasts 4 ticks after Next";
    sequenceTick();
    paused = true;
    EXPECT_EQ(0, ticksUntilChange(20)) << "changed while paused";
    sessionEndChange();
    EXPECT_EQ(2, lastWall) << "the log-off changed it while paused";
    EXPECT_EQ(2, slotOnDesktop());
    changeWallpaperNow();
    EXPECT_EQ(0, slotOnDesktop()) << "Next works while paused";
    paused = false;
    sequenceTick();
    paused = true;
    EXPECT_EQ(0, ticksUntilChange(5));
    paused = false;
    EXPECT_EQ(3, ticksUntilChange(10)) << "the tick counted before the pause still counts";
}

TEST_F(Desktop, ShowTimeOfNLastsNPlusOneTicks) {
    randomWall = false;
    useSlots({0, 1}, 5);
    std::vector<int> changeTicks;
    for (int tick = 1; tick <= 18; ++tick) {
        int before = lastWall;
        sequenceTick();
        if (lastWall != before) changeTicks.push_back(tick);
    }
    EXPECT_EQ((std::vector<int>{6, 12, 18}), changeTicks);

    wallpaperTable[0].showTime = 0;
    wallpaperTable[1].showTime = -4;
    for (int tick = 0; tick < 4; ++tick) {
        int before = lastWall;
        sequenceTick();
        EXPECT_NE(before, lastWall) << "a time of 0 or less changes at every tick";
    }
}

TEST_F(Desktop, NothingChangesWhileTheWindowIsShown) {
    randomWall = false;
    useSlots({0, 1}, 3);
    sequenceTick();
    sequenceTick();
    EXPECT_EQ(2, secondsShown);
    hiddenInTray = false;
    for (int i = 0; i < 10; ++i) sequenceTick();
    EXPECT_EQ(0, lastWall);
    EXPECT_EQ(2, secondsShown);
    hiddenInTray = true;
    sequenceTick(); // 3
    EXPECT_EQ(0, lastWall);
    sequenceTick(); // the fourth tick of slot 0
    EXPECT_EQ(1, lastWall);

    clearTable(wallpaperTable);
    wallpaperCount = 0;
    secondsShown = 9;
    sequenceTick();
    EXPECT_EQ(9, secondsShown) << "an empty table counts nothing";
}

TEST_F(Desktop, TheTimeOnDisplayIsReadAtEveryTick) {
    randomWall = false;
    useSlots({0, 1}, 60);
    for (int i = 0; i < 5; ++i) sequenceTick();
    wallpaperTable[0].showTime = 2; // typed in the window meanwhile
    sequenceTick();
    EXPECT_EQ(1, lastWall);
}

// The generator is never seeded, so every run of the program makes these same changes: two
// rounds of six, each change drawn as rand() % n among the n slots the round has left, the one
// on display excepted (41 % 5 = 1 among slots 1 to 5 gives 2; 18467 % 5 = 2 among 0, 1, 3, 4
// and 5 gives 3, slot 0 being on display at the start but not shown in the round; ...). The
// second round starts without slot 0, shown last.
TEST_F(Desktop, AtRandomTheChangesFollowTheUnseededClassicSequence) {
    useSlots({0, 1, 2, 3, 4, 5});
    std::vector<int> slots;
    for (int i = 0; i < 12; ++i) {
        sequenceTick();
        slots.push_back(slotOnDesktop());
    }
    EXPECT_EQ((std::vector<int>{2, 3, 4, 1, 5, 0, 4, 3, 2, 5, 1, 0}), slots);
}

TEST_F(Desktop, LastWallOutsideTheTableStartsFromTheFirstSlot) {
    randomWall = false;
    useSlots({0, 5});
    lastWall = 1234;
    sequenceTick();
    EXPECT_EQ(5, lastWall);
    lastWall = -8;
    sessionEndChange();
    EXPECT_EQ(-8, lastWall) << "startWall is off: nothing changed";
    startWall = true;
    sessionEndChange();
    EXPECT_EQ(5, lastWall);
}

// Three wallpapers shown for 2, 0 and 3 seconds, in order, over 20 ticks.
TEST_F(Desktop, TwentyTicksOverThreeWallpapers) {
    randomWall = false;
    useSlots({0, 1, 2});
    wallpaperTable[0].showTime = 2;
    wallpaperTable[1].showTime = 0;
    wallpaperTable[2].showTime = 3;
    std::string log;
    std::vector<int> changeTicks;
    for (int tick = 1; tick <= 20; ++tick) {
        std::string before = desktopValue("Wallpaper");
        sequenceTick();
        if (desktopValue("Wallpaper") != before) {
            changeTicks.push_back(tick);
            log += " " + std::to_string(tick) + "->slot" + std::to_string(lastWall);
        }
    }
    printf("changes (tick->slot):%s\n", log.c_str());
    EXPECT_EQ((std::vector<int>{3, 4, 8, 11, 12, 16, 19, 20}), changeTicks) << log;
}

TEST_F(Desktop, LogOffWritesTheNextWallpaperWithoutShowingIt) {
    randomWall = false;
    useSlots({1, 6});
    std::string shown = inDataFolder("MUWallpaper1.bmp");
    applyWallpaper(shown.c_str(), MODE_CENTRE, true);
    // Read once first: Wine reports the registry's value until a process has read the setting.
    ASSERT_EQ(shown, reportedDesktopWallpaper());
    lastWall = 1;
    startWall = true;
    sessionEndChange();
    EXPECT_EQ(6, lastWall);
    EXPECT_EQ(6, slotOnDesktop());
    EXPECT_EQ(shown, reportedDesktopWallpaper());
}

TEST_F(Desktop, LogOffWithoutStartWallOrWallpapersLeavesTheRegistryAlone) {
    useSlots({1, 6});
    applyWallpaper("C:\\before.bmp", MODE_CENTRE, false);
    startWall = false;
    sessionEndChange();
    EXPECT_EQ("C:\\before.bmp", desktopValue("Wallpaper"));

    startWall = true;
    clearTable(wallpaperTable);
    wallpaperCount = 0;
    sessionEndChange();
    EXPECT_EQ("C:\\before.bmp", desktopValue("Wallpaper"));
}

} // namespace

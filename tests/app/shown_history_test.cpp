// Previous and Next through the pictures shown: a table of steps read back from the registry,
// the history's length, a deleted picture, the random round, and every monitor at once.
#include <algorithm>
#include <string>
#include <vector>

#include "desktop_settings.h"
#include "monitor_sequencer.h"
#include "program_fixture.h"
#include "sequencer.h"
#include "shown_history.h"

namespace {

class History : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        hiddenInTray = true;
        randomWall = false;
    }
    void useSlots(int count) {
        for (int slot = 0; slot < count; ++slot) {
            fillSlot(slot, slot);
            wallpaperTable[slot].showTime = 0;
        }
    }
    int slotOnDesktop() {
        std::string path = testing_support::desktopValue("Wallpaper");
        for (int i = 0; i < MAX_WALLPAPERS; ++i)
            if (wallpaperTable[i].used && path == wallpaperTable[i].filename) return i;
        return -1;
    }
    void deleteSlot(int slot) {
        wallpaperTable[slot].used = 0;
        --wallpaperCount;
        forgetShown(slot);
    }
};

// N: Next, P: Previous, T: a tick at the end of the time, D: the picture on display deleted.
TEST_F(History, PreviousGoesBackAndNextComesForwardBeforeTheSequenceGoesOn) {
    useSlots(4);
    const struct {
        char step;
        int shown;
    } steps[] = {
        {'N', 1}, {'N', 2}, {'P', 1},  {'P', 0}, {'P', 0}, {'N', 1}, {'N', 2}, {'N', 3},
        {'T', 0}, {'P', 3}, {'D', -1}, {'P', 2}, {'P', 1}, {'N', 2}, {'N', 0}, {'N', 1},
    };
    int number = 0;
    for (const auto& s : steps) {
        switch (s.step) {
        case 'N':
            changeWallpaperNow();
            break;
        case 'P':
            previousWallpaper();
            break;
        case 'T':
            sequenceTick();
            break;
        case 'D':
            deleteSlot(lastWall);
            break;
        }
        EXPECT_EQ(s.shown, slotOnDesktop()) << "step " << number << " (" << s.step << ")";
        ++number;
    }
    EXPECT_EQ(0, secondsShown) << "a picture brought back counts afresh";
}

TEST_F(History, FiftyPicturesAreRemembered) {
    useSlots(60);
    for (int i = 0; i < 59; ++i) changeWallpaperNow();
    ASSERT_EQ(59, slotOnDesktop());
    for (int i = 0; i < 51; ++i) previousWallpaper();
    EXPECT_EQ(9, slotOnDesktop()) << "fifty back, and no further";
    for (int i = 0; i < 50; ++i) changeWallpaperNow();
    EXPECT_EQ(59, slotOnDesktop());
    changeWallpaperNow();
    EXPECT_EQ(0, slotOnDesktop()) << "then the sequence goes on";
}

// Going back and forward again shows no picture a second time in the round's eyes: six changes
// of the sequence are still the six pictures, once each.
TEST_F(History, GoingBackLeavesTheRandomRoundAsItWas) {
    useSlots(6);
    randomWall = true;
    std::vector<int> drawn;
    auto next = [&] {
        changeWallpaperNow();
        drawn.push_back(slotOnDesktop());
    };
    for (int i = 0; i < 3; ++i) next();
    previousWallpaper();
    previousWallpaper();
    EXPECT_EQ(drawn[0], slotOnDesktop());
    changeWallpaperNow();
    changeWallpaperNow();
    EXPECT_EQ(drawn[2], slotOnDesktop()) << "forward again through the same pictures";
    for (int i = 0; i < 3; ++i) next();
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), drawn);
}

TEST_F(History, EveryMonitorGoesBackToItsOwnPicture) {
    useSlots(6);
    const MonitorLayout two = {2, {{0, 0, 64, 48}, {64, 0, 40, 30}}};
    useMonitorLayout(two, false);
    changeWallpaperNow();
    const MonitorShow first[] = {monitorShows[0], monitorShows[1]};
    changeWallpaperNow();
    monitorShows[1].seconds = 5;
    previousWallpaper();
    EXPECT_EQ(first[0].slot, monitorShows[0].slot);
    EXPECT_EQ(first[1].slot, monitorShows[1].slot);
    EXPECT_EQ(0, monitorShows[1].seconds);
    EXPECT_EQ(first[0].slot, displayedSlot()) << "the primary monitor's picture";
}

} // namespace

// The pauses of the sequence's own, with the system's state set through their seams: while a
// full-screen program runs or Windows saves the battery, no second is counted and nothing
// changes; when it ends, the sequence goes on.
#include "desktop_settings.h"
#include "program_fixture.h"
#include "sequencer.h"
#include "system_moment.h"

namespace {

bool fullScreen = false, batterySaver = false;

class Pauses : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        hiddenInTray = true;
        randomWall = false;
        fullScreen = batterySaver = false;
        fullScreenProgramRunning = [] { return fullScreen; };
        batterySaverOn = [] { return batterySaver; };
        for (int slot = 0; slot < 2; ++slot) {
            fillSlot(slot, slot);
            wallpaperTable[slot].showTime = 1;
        }
    }
};

TEST_F(Pauses, EachHoldsTheSequenceWhileItsStateIsSetAndOnlyWhenSwitchedOn) {
    const struct {
        const char* name;
        bool forFullScreen, onBatterySaver; // the menu's two entries
        bool fullScreen, batterySaver;      // the system's state
        SequenceHold hold;
    } cases[] = {
        {"full screen", true, true, true, false, HELD_FULL_SCREEN},
        {"battery saver", true, true, false, true, HELD_BATTERY_SAVER},
        {"both", true, true, true, true, HELD_FULL_SCREEN},
        {"full screen, its pause off", false, true, true, false, SEQUENCE_RUNS},
        {"battery saver, its pause off", true, false, false, true, SEQUENCE_RUNS},
        {"neither", true, true, false, false, SEQUENCE_RUNS},
    };
    for (const auto& c : cases) {
        lastWall = 0;
        secondsShown = 0;
        testing_support::setDesktopValue("Wallpaper", wallpaperTable[0].filename);
        pauseForFullScreen = c.forFullScreen;
        pauseOnBatterySaver = c.onBatterySaver;
        fullScreen = c.fullScreen;
        batterySaver = c.batterySaver;
        for (int tick = 0; tick < 3; ++tick) sequenceTick();
        EXPECT_EQ(c.hold, sequenceHold()) << c.name;
        const bool held = c.hold != SEQUENCE_RUNS;
        EXPECT_EQ(held ? 0 : 1, secondsShown) << c.name;
        EXPECT_EQ(held ? wallpaperTable[0].filename : wallpaperTable[1].filename,
                  testing_support::desktopValue("Wallpaper"))
            << c.name;
        // Released, the sequence goes on from where it held.
        fullScreen = batterySaver = false;
        sequenceTick();
        EXPECT_EQ(SEQUENCE_RUNS, sequenceHold()) << c.name;
        EXPECT_EQ(held ? 1 : 0, secondsShown) << c.name;
    }
    paused = true;
    EXPECT_EQ(HELD_PAUSED, sequenceHold()) << "the user's pause comes first";
}

} // namespace

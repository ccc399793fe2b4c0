// The pauses of the sequence's own, with the system's state set through their seams: while a
// full-screen program runs or Windows saves the battery, no second is counted and nothing
// changes; when it ends, the sequence goes on.
// The power broadcast's record is Vista's.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <string.h>
#include <windows.h>

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

namespace {

// What Windows tells of its savers, as WM_POWERBROADCAST brings it, is the state the pause reads.
TEST(BatterySaver, IsWhatWindowsLastToldOfIt) {
    const GUID batterySaver = {
        0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
    const GUID energySaver = {
        0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};
    const GUID powerSource = {
        0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
    const struct {
        const GUID* setting;
        DWORD length, value;
        bool on; // after it
    } steps[] = {
        {&batterySaver, sizeof(DWORD), 1, true},
        {&powerSource, sizeof(DWORD), 0, true},
        {&batterySaver, 0, 0, true},
        {&batterySaver, sizeof(DWORD), 0, false},
        {&energySaver, sizeof(DWORD), 2, true},
        {&energySaver, sizeof(DWORD), 0, false},
    };
    for (const auto& step : steps) {
        union {
            POWERBROADCAST_SETTING setting;
            BYTE bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)];
        } message;
        message.setting.PowerSetting = *step.setting;
        message.setting.DataLength = step.length;
        memcpy(message.setting.Data, &step.value, sizeof step.value);
        batterySaverBroadcast(PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message));
        EXPECT_EQ(step.on, systemBatterySaverOn()) << &step - steps;
    }
}

} // namespace

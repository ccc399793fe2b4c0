// The sequence at each moment of the day, on a clock of the test's own in Paris on 21 June 2026
// (UTC+2; sunrise 05:47, sunset 21:58): pictures by day, by night and for set hours, in order
// and at random, on one monitor and on two; the change when the moment on display ends, and
// no picture for the moment.
#include <set>
#include <string>

#include "moment_now.h"
#include "monitor_sequencer.h"
#include "program_fixture.h"
#include "sequencer.h"
#include "settings_place.h"

namespace {

ClockReading testClock;

void setLocalTime(int hour, int minute) {
    const int utc = hour * 60 + minute - 120;
    testClock = {{2026, 6, 21, utc / 60, utc % 60, 0}, hour * 60 + minute};
}

class Moments : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        hiddenInTray = true;
        randomWall = false;
        readClock = [](ClockReading* reading) { *reading = testClock; };
        snprintf(latitudeText, sizeof latitudeText, "48.85");
        snprintf(longitudeText, sizeof longitudeText, "2.35");
    }
    // Slots 0 to 3 with these moments, changing at every tick.
    void useMoments(std::initializer_list<const char*> moments) {
        int slot = 0;
        for (const char* moment : moments) {
            fillSlot(slot, slot);
            wallpaperTable[slot].showTime = 0;
            wallpaperTable[slot++].moment = parseMoment(moment);
        }
    }
    // The pictures on display over ticks seconds.
    std::set<int> shownOver(int ticks) {
        std::set<int> shown;
        for (int i = 0; i < ticks; ++i) {
            sequenceTick();
            if (perMonitor())
                for (int m = 0; m < monitorLayout.count; ++m) shown.insert(monitorShows[m].slot);
            else
                shown.insert(lastWall);
        }
        return shown;
    }
};

TEST_F(Moments, EachTimeOfTheDayShowsThePicturesOfItsMoment) {
    const MonitorLayout two = {2, {{0, 0, 64, 48}, {64, 0, 40, 30}}};
    struct {
        int hour, minute;
        bool random, twoMonitors;
        std::set<int> shown;
    } cases[] = {
        {12, 0, false, false, {0, 1}}, {12, 0, true, false, {0, 1}},  {23, 0, false, false, {2, 3}},
        {23, 0, true, false, {2, 3}},  {5, 40, false, false, {2, 3}}, {5, 55, true, false, {0, 1}},
        {12, 0, false, true, {0, 1}},  {23, 0, true, true, {2, 3}},
    };
    for (const auto& c : cases) {
        resetProgramState();
        SetUp();
        useMoments({"day", "day", "night", "night"});
        randomWall = c.random;
        setLocalTime(c.hour, c.minute);
        lastWall = c.shown.count(0) != 0 ? 2 : 0; // a picture of the other moment on display
        if (c.twoMonitors) useMonitorLayout(two, false);
        const std::string where = std::to_string(c.hour) + ":" + std::to_string(c.minute) +
                                  (c.random ? " at random" : " in order") +
                                  (c.twoMonitors ? " on two monitors" : "");
        EXPECT_EQ(c.shown, shownOver(12)) << where;
        EXPECT_EQ(SEQUENCE_RUNS, sequenceHold()) << where;
    }
}

TEST_F(Moments, HoursIncludeTheirStartAndCrossMidnight) {
    struct {
        int hour, minute;
        std::set<int> shown;
    } cases[] = {
        {7, 0, {0, 3}},   {8, 59, {0, 3}},   {9, 0, {3}},
        {22, 30, {1, 3}}, {2, 0, {1, 2, 3}}, {6, 0, {3}},
    };
    useMoments({"07:00-09:00", "22:30-06:00", "02:00-03:00", "always"});
    for (const auto& c : cases) {
        setLocalTime(c.hour, c.minute);
        EXPECT_EQ(c.shown, shownOver(8)) << c.hour << ":" << c.minute;
    }
}

// The picture's time is an hour, but its moment ends: the change comes with the next second.
TEST_F(Moments, TheEndOfTheMomentOnDisplayChangesThePictureAtOnce) {
    useMoments({"day", "night"});
    wallpaperTable[0].showTime = 3600;
    setLocalTime(21, 50);
    EXPECT_EQ(std::set<int>{0}, shownOver(5));
    EXPECT_EQ(5, secondsShown);
    setLocalTime(22, 5);
    sequenceTick();
    EXPECT_EQ(1, lastWall);
    EXPECT_EQ(0, secondsShown);
}

TEST_F(Moments, WithoutAPictureForTheMomentTheOneOnDisplayStaysAndTheTipSaysWhy) {
    useMoments({"day", "07:00-09:00"});
    lastWall = 1;
    secondsShown = 0;
    setLocalTime(23, 0);
    EXPECT_EQ(std::set<int>{1}, shownOver(3));
    EXPECT_EQ(0, secondsShown) << "its time waits";
    EXPECT_EQ(HELD_NO_PICTURE_NOW, sequenceHold());
    setLocalTime(12, 0);
    EXPECT_EQ(std::set<int>{0}, shownOver(3));
    EXPECT_EQ(SEQUENCE_RUNS, sequenceHold());
}

} // namespace

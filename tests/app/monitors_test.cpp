// The sequencer on several monitors, each layout given as Windows lists one: the composed
// desktop file and the spanning style, each monitor's own time, Next and pause on every
// monitor, a change of the display, and where the sequencer stands kept with the settings.
#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "composed_desktop.h"
#include "desktop_settings.h"
#include "desktop_wallpaper.h"
#include "held_file.h"
#include "monitor_identity.h"
#include "monitor_sequencer.h"
#include "program_fixture.h"
#include "sequencer.h"
#include "settings.h"
#include "test_bitmaps.h"
#include "test_files.h"

namespace {

using testing_support::desktopValue;

// A 64 x 48 primary monitor and a 40 x 30 one left of and above it.
const MonitorLayout kTwo = {2, {{0, 0, 64, 48}, {-40, -12, 40, 30}}};
// A landscape primary and a portrait monitor right of it.
const MonitorLayout kShapes = {2, {{0, 0, 64, 48}, {64, 0, 30, 50}}};

// Landscape monitors named by letters, side by side in the order given, the first the primary.
MonitorLayout layoutOf(const std::string& names) {
    MonitorLayout layout = {static_cast<int>(names.size()), {}};
    for (size_t i = 0; i < names.size(); ++i) {
        layout.monitors[i] = {static_cast<int>(i) * 100, 0, 64, 48};
        layout.identities[i] = identityOfInterface(("DISPLAY#" + names.substr(i, 1)).c_str());
    }
    return layout;
}

class Monitors : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        hiddenInTray = true;
        randomWall = false;
    }
    // A wallpaper of one colour, width x height, in its mode and for its time.
    void solidSlot(int slot, uint32_t rgb, int width, int height, int mode, int time) {
        fillSlot(slot, slot);
        ASSERT_TRUE(testing_support::writeBytes(
            wallpaperTable[slot].filename, testing_support::bitmapFileBytes(width, height, rgb)));
        wallpaperTable[slot].showMode = mode;
        wallpaperTable[slot].showTime = time;
        wallpaperTable[slot].width = width; // its shape
        wallpaperTable[slot].height = height;
    }
    std::string composedPath() {
        char path[MAX_PATH];
        composedDesktopPath(path, sizeof path);
        return path;
    }
    testing_support::BitmapPixels composed() {
        return testing_support::bitmapPixels(testing_support::readBytes(composedPath()));
    }
    // The colour the desktop shows at point (x, y) of the virtual screen: spanning, the file
    // covers the virtual screen from its top left corner; tiled, the file's first pixel is the
    // primary monitor's first, and the tiles repeat it every width and height.
    uint32_t shownAt(const testing_support::BitmapPixels& file, const MonitorLayout& layout, int x,
                     int y, DesktopStyle style = systemDesktopStyle()) {
        imaging::ScreenRect screen = imaging::virtualScreen(layout.monitors, layout.count);
        if (style == SPAN_MONITORS) return file.rgbAt(x - screen.left, y - screen.top);
        return file.rgbAt((x % file.width + file.width) % file.width,
                          (y % file.height + file.height) % file.height);
    }
    std::vector<int> shownSlots() {
        std::vector<int> slots;
        for (int i = 0; i < monitorLayout.count; ++i) slots.push_back(monitorShows[i].slot);
        return slots;
    }
};

TEST_F(Monitors, EachMonitorShowsItsPictureInItsModeInOneFileForTheDesktop) {
    solidSlot(0, 0xFF0000, 80, 40, MODE_FILL, 5); // wider than the primary: cut at the sides
    solidSlot(1, 0x00FF00, 20, 40, MODE_FIT, 5);  // 15 x 30 on the second, bars left and right
    const int slots[] = {0, 1};
    const struct {
        DesktopStyle style;
        const char *wallpaperStyle, *tileWallpaper;
    } styles[] = {{SPAN_MONITORS, "22", "0"}, {TILE_FROM_PRIMARY, "0", "1"}};
    const struct {
        int x, y; // on the virtual screen
        uint32_t rgb;
        const char* where;
    } samples[] = {
        {0, 0, 0xFF0000, "primary, top left"},
        {63, 47, 0xFF0000, "primary, bottom right"},
        {-20, 3, 0x00FF00, "second, middle"},
        {-27, -12, 0x00FF00, "second, picture's left"},
        {-14, 17, 0x00FF00, "second, picture's right"},
        {-29, 3, 0x000000, "second, left bar"},
        {-12, 3, 0x000000, "second, right bar"},
        {-20, 33, 0x000000, "below the second"},
    };
    for (const auto& st : styles) {
        ASSERT_TRUE(applyComposedDesktop(kTwo, slots, true, st.style));
        testing_support::BitmapPixels desktop = composed();
        ASSERT_EQ(104, desktop.width) << "the virtual screen: from x -40 to 64";
        ASSERT_EQ(60, desktop.height) << "from y -12 to 48";
        for (const auto& s : samples)
            EXPECT_EQ(s.rgb, shownAt(desktop, kTwo, s.x, s.y, st.style))
                << st.wallpaperStyle << ": " << s.where << " (" << s.x << ", " << s.y << ")";
        EXPECT_EQ(composedPath(), desktopValue("Wallpaper"));
        EXPECT_EQ(st.wallpaperStyle, desktopValue("WallpaperStyle"));
        EXPECT_EQ(st.tileWallpaper, desktopValue("TileWallpaper"));
        char loaded[MAX_PATH] = "";
        SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof loaded, loaded, 0);
        EXPECT_EQ(composedPath(), loaded);
        EXPECT_EQ("<missing>", testing_support::readBytes(composedPath() + ".new"))
            << "the file is written aside, then put in place";
    }
    // The sequencer composes the same for the monitors it is given.
    useMonitorLayout(kTwo, true);
    EXPECT_EQ((std::vector<int>{0, 1}), shownSlots());
    EXPECT_EQ(0x00FF00u, shownAt(composed(), kTwo, -20, 3));
}

TEST_F(Monitors, EachMonitorChangesOnItsOwnPicturesTime) {
    // In table order; time n lasts n + 1 ticks.
    const int times[] = {1, 3, 1, 3, 0};
    for (int slot = 0; slot < 5; ++slot)
        solidSlot(slot, 0x101010 * (slot + 1), 8, 6, MODE_STRETCH, times[slot]);
    useMonitorLayout(kTwo, true);
    const std::vector<int> expected[] = {{0, 1}, {0, 1}, {2, 1}, {2, 1}, {3, 4},
                                         {3, 0}, {3, 0}, {3, 1}, {2, 1}};
    for (size_t tick = 0; tick < sizeof expected / sizeof expected[0]; ++tick) {
        if (tick > 0) sequenceTick();
        EXPECT_EQ(expected[tick], shownSlots()) << "after " << tick << " ticks";
        uint32_t primary = shownAt(composed(), kTwo, 10, 10);
        EXPECT_EQ(0x101010u * (monitorShows[0].slot + 1), primary) << "after " << tick;
    }
}

TEST_F(Monitors, NextAndPauseActOnEveryMonitorAndNoneRepeatsAnother) {
    for (int slot = 0; slot < 3; ++slot) solidSlot(slot, 0x112233, 8, 6, MODE_TILE, 0);
    randomWall = true;
    useMonitorLayout(kTwo, true);
    for (int change = 0; change < 12; ++change) {
        std::vector<int> before = shownSlots();
        changeWallpaperNow();
        std::vector<int> after = shownSlots();
        EXPECT_NE(after[0], after[1]) << "change " << change;
        EXPECT_NE(before[0], after[0]) << "change " << change << ": the primary took the next";
        EXPECT_NE(before[1], after[1]) << "change " << change << ": the second took the next";
    }
    paused = true;
    std::vector<int> held = shownSlots();
    for (int tick = 0; tick < 3; ++tick) sequenceTick();
    EXPECT_EQ(held, shownSlots()) << "nothing changes while paused";
    startWall = true;
    sessionEndChange();
    EXPECT_EQ(held, shownSlots()) << "nor at the log-off";
    paused = false;
    sessionEndChange();
    EXPECT_NE(held, shownSlots()) << "the log-off change acts on every monitor";
}

TEST_F(Monitors, ADesktopFileHeldOpenIsReplacedAtTheNextTick) {
    solidSlot(0, 0xFF0000, 8, 6, MODE_STRETCH, 0);
    solidSlot(1, 0x00FF00, 8, 6, MODE_STRETCH, 50);
    solidSlot(2, 0x0000FF, 8, 6, MODE_STRETCH, 50);
    useMonitorLayout(kTwo, true);
    const std::string before = testing_support::readBytes(composedPath());
    {
        testing_support::HeldFile held(composedPath());
        ASSERT_TRUE(held.held());
        sequenceTick(); // the primary's time is up
        EXPECT_EQ(2, monitorShows[0].slot);
        EXPECT_EQ("<missing>", testing_support::readBytes(composedPath() + ".new"))
            << "nothing is left aside";
    }
    EXPECT_EQ(before, testing_support::readBytes(composedPath())) << "the old file stays whole";
    sequenceTick();
    EXPECT_EQ(0x0000FFu, shownAt(composed(), kTwo, 10, 10)) << "the next tick puts it in place";
}

// Only a monitor whose picture changed is read and scaled again; the others' pixels come back
// from the composed file (a spanning one: Windows 7's tiled file is turned around the primary's
// corner and composed whole). A wallpaper file written again under the same name is read afresh,
// and every picture is when the composed file is no longer the one written.
TEST_F(Monitors, OnlyAChangedMonitorsPictureIsReadAgain) {
    solidSlot(0, 0xFF0000, 8, 6, MODE_STRETCH, 50);
    solidSlot(1, 0x00FF00, 8, 6, MODE_STRETCH, 50);
    solidSlot(2, 0x0000FF, 8, 6, MODE_STRETCH, 50);
    const int first[] = {0, 1}, second[] = {2, 1};
    ASSERT_TRUE(applyComposedDesktop(kTwo, first, true, SPAN_MONITORS));
    {
        testing_support::HeldFile held(wallpaperTable[1].filename); // cannot be read now
        ASSERT_TRUE(held.held());
        ASSERT_TRUE(applyComposedDesktop(kTwo, second, true, SPAN_MONITORS));
        EXPECT_EQ(0x0000FFu, shownAt(composed(), kTwo, 10, 10, SPAN_MONITORS))
            << "the primary's new picture";
        EXPECT_EQ(0x00FF00u, shownAt(composed(), kTwo, -20, 3, SPAN_MONITORS))
            << "the second's, from the file";
    }
    ASSERT_TRUE(testing_support::writeBytes(wallpaperTable[1].filename,
                                            testing_support::bitmapFileBytes(9, 6, 0xFFFF00)));
    ASSERT_TRUE(applyComposedDesktop(kTwo, second, true, SPAN_MONITORS));
    EXPECT_EQ(0xFFFF00u, shownAt(composed(), kTwo, -20, 3, SPAN_MONITORS))
        << "a file written again is read";
    ASSERT_TRUE(DeleteFileA(composedPath().c_str()));
    testing_support::HeldFile held(wallpaperTable[1].filename);
    ASSERT_TRUE(applyComposedDesktop(kTwo, second, true, SPAN_MONITORS));
    EXPECT_EQ(0x000000u, shownAt(composed(), kTwo, -20, 3, SPAN_MONITORS))
        << "without the composed file, the held picture had to be read, and could not be";
    EXPECT_EQ(0x0000FFu, shownAt(composed(), kTwo, 10, 10, SPAN_MONITORS));
}

TEST_F(Monitors, AChangeOfTheDisplayComposesAgainAtOnce) {
    solidSlot(0, 0xFF0000, 16, 12, MODE_FILL, 50);
    solidSlot(1, 0x00FF00, 16, 12, MODE_STRETCH, 50);
    solidSlot(2, 0x0000FF, 16, 12, MODE_STRETCH, 50);
    useMonitorLayout(kTwo, true);
    for (int tick = 0; tick < 3; ++tick) sequenceTick();
    // A portrait monitor added right of the primary takes the next picture; the others keep
    // theirs and their counts.
    MonitorLayout three = kTwo;
    three.monitors[three.count++] = {64, 0, 30, 50};
    useMonitorLayout(three, true);
    // A resume or an unlock puts the same desktop back, lost or not, the counts going on.
    testing_support::removeFile(composedPath());
    applyShownAgain();
    EXPECT_EQ(composedPath(), desktopValue("Wallpaper"));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), shownSlots());
    EXPECT_EQ(3, monitorShows[0].seconds);
    testing_support::BitmapPixels desktop = composed();
    ASSERT_EQ(134, desktop.width);
    EXPECT_EQ(62, desktop.height);
    EXPECT_EQ(0x0000FFu, shownAt(desktop, three, 64 + 29, 49)) << "the new monitor's corner";
    // Back to one monitor: Windows' own placement of the primary's picture, as before.
    const MonitorLayout one = {1, {{0, 0, 64, 48}}};
    useMonitorLayout(one, true);
    EXPECT_EQ(wallpaperTable[0].filename, desktopValue("Wallpaper"));
    EXPECT_EQ("10", desktopValue("WallpaperStyle")) << "fill";
    EXPECT_EQ(3, secondsShown) << "the primary's count goes on";
}

TEST_F(Monitors, WhereEachMonitorStandsIsKeptWithTheSettings) {
    for (int slot = 0; slot < 4; ++slot) solidSlot(slot, 0x445566, 8, 6, MODE_CENTRE, 9);
    useMonitorLayout(kTwo, false);
    changeWallpaperNow();
    for (int tick = 0; tick < 4; ++tick) sequenceTick();
    const std::vector<int> slots = shownSlots();
    ASSERT_TRUE(saveSettings());
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(2, savedMonitorShows);
    useMonitorLayout(kTwo, false);
    EXPECT_EQ(slots, shownSlots());
    EXPECT_EQ(4, monitorShows[0].seconds);
    EXPECT_EQ(4, monitorShows[1].seconds);
}

TEST_F(Monitors, AHandEditedStateGivesEachMonitorAPicture) {
    const struct {
        const char* value;
        std::vector<int> slots; // -1: any picture the other monitor does not show
        int seconds0;
    } cases[] = {
        {"1:7,0:2", {1, 0}, 7},    {"1:3", {1, -1}, 3},         {"9:5,zz", {-1, -1}, 0},
        {",:,-4:-8", {-1, -1}, 0}, {"0:1,0:1,0:1", {0, -1}, 1},
    };
    for (const auto& c : cases) {
        writeIni(std::string("[SYSTEM]\nrandomWall = 0\nmonitorShows = ") + c.value +
                 "\n\n[WALLPAPER 0]\noriginal = a\nfilename = " + inDataFolder("MUWallpaper0.bmp") +
                 "\npreview = " + inDataFolder("previews\\MU0.bmp") +
                 "\nshowTime = 9\nshowMode = 0\n\n[WALLPAPER 1]\noriginal = b\nfilename = " +
                 inDataFolder("MUWallpaper1.bmp") + "\npreview = " +
                 inDataFolder("previews\\MU1.bmp") + "\nshowTime = 9\nshowMode = 0\n\n");
        writePreview(inDataFolder("previews\\MU0.bmp"));
        writePreview(inDataFolder("previews\\MU1.bmp"));
        resetProgramState();
        ASSERT_TRUE(loadSettings()) << c.value;
        ASSERT_EQ(2, wallpaperCount);
        useMonitorLayout(kTwo, false);
        std::vector<int> shown = shownSlots();
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_TRUE(shown[i] == 0 || shown[i] == 1) << c.value << ": monitor " << i;
            if (c.slots[i] >= 0) {
                EXPECT_EQ(c.slots[i], shown[i]) << c.value << ": monitor " << i;
            }
        }
        EXPECT_NE(shown[0], shown[1]) << c.value;
        EXPECT_EQ(c.seconds0, monitorShows[0].seconds) << c.value;
    }
}

// A monitor takes pictures of its shape while there are some and shapes are matched, in table
// order or in rounds of its shape (with 2 portrait pictures the shapes' rounds end apart);
// else any picture, of another shape too.
TEST_F(Monitors, EachMonitorTakesPicturesOfItsShapeInOrderAndInRoundsOfItsShape) {
    const struct {
        bool random, match;
        int portraits;
    } cases[] = {
        {false, true, 3}, {true, true, 3}, {true, true, 2}, {false, true, 0}, {false, false, 3}};
    for (const auto& c : cases) {
        resetProgramState();
        for (int slot = 0; slot < 3 + c.portraits; ++slot) // landscape, then portrait pictures
            solidSlot(slot, 0x202020 * (slot + 1), slot < 3 ? 4 : 3, slot < 3 ? 3 : 4, MODE_FIT,
                      50);
        randomWall = c.random;
        matchShapes = c.match;
        useMonitorLayout(kShapes, false);
        for (WallpaperEntry& entry : wallpaperTable) entry.shownInRound = 0;
        std::vector<int> seen[2] = {{monitorShows[0].slot}, {monitorShows[1].slot}};
        for (int change = 0; change < 24; ++change) {
            changeWallpaperNow();
            ASSERT_NE(monitorShows[0].slot, monitorShows[1].slot) << "change " << change;
            for (int m = 0; m < 2; ++m) seen[m].push_back(monitorShows[m].slot);
        }
        for (int m = 0; m < 2; ++m) {
            // The monitor's shape: landscape slots 0 to 2, portrait ones from 3.
            const int first = 3 * m, count = m ? c.portraits : 3;
            SCOPED_TRACE(::testing::Message() << c.random << c.match << c.portraits << " " << m);
            const auto other = [&](int slot) { return slot < 0 || slot / 3 * 3 != first; };
            if (!c.match || count == 0) { // any picture, never none
                EXPECT_TRUE(std::any_of(seen[m].begin(), seen[m].end(), other));
                EXPECT_EQ(seen[m].end(), std::find(seen[m].begin(), seen[m].end(), -1));
                continue;
            }
            for (size_t i = 1; i < seen[m].size(); ++i) {
                ASSERT_FALSE(other(seen[m][i])) << "change " << i << ": slot " << seen[m][i];
                if (!c.random && c.portraits > 0) { // else the portrait one takes any
                    EXPECT_EQ(first + (seen[m][i - 1] - first + 1) % count, seen[m][i]) << i;
                } else if (c.random && i % count == 0) {
                    // Each picture of the shape once in a round: changes 1 to count, and so on.
                    std::set<int> round(seen[m].begin() + i - count + 1, seen[m].begin() + i + 1);
                    EXPECT_EQ(size_t(count), round.size()) << "change " << i;
                }
            }
        }
    }
}

// Each step a layout of monitors by name, "*" first when the program saves and starts again
// before it: a monitor seen before finds the picture and count it had when last there, whatever
// its place; one never seen takes a picture no other monitor shows.
TEST_F(Monitors, EachMonitorFindsItsOwnPictureAndCountByItsIdentity) {
    const std::vector<std::string> cases[] = {
        {"AB", "*B", "BA"},   // saved, undocked, docked again with B the primary
        {"AB", "BA", "AB"},   // the primary swapped, and back
        {"ABC", "AB", "ABC"}, // unplugged and back
        {"B", "AB", "*AB"},   // a monitor added before the one there, and a restart
        {"AB", "AD", "ADB"},  // never seen: D
    };
    for (const auto& steps : cases) {
        resetProgramState();
        for (int slot = 0; slot < 8; ++slot) solidSlot(slot, 0x445566, 8, 6, MODE_CENTRE, 50);
        randomWall = false;
        std::map<char, std::pair<int, int>> own; // each monitor's slot and count when last there
        std::string where;
        for (std::string names : steps) {
            SCOPED_TRACE(where += " " + names);
            if (names[0] == '*') {
                names.erase(0, 1);
                ASSERT_TRUE(saveSettings());
                resetProgramState();
                ASSERT_TRUE(loadSettings());
            }
            const MonitorLayout layout = layoutOf(names);
            useMonitorLayout(layout, false);
            auto shown = [&](size_t i) {
                return names.size() == 1
                           ? std::make_pair(int(lastWall), int(secondsShown))
                           : std::make_pair(monitorShows[i].slot, monitorShows[i].seconds);
            };
            for (size_t i = 0; i < names.size(); ++i) {
                EXPECT_GE(shown(i).first, 0) << names[i];
                EXPECT_EQ(own.count(names[i]) ? own[names[i]] : shown(i), shown(i)) << names[i];
                for (size_t j = 0; j < i && !own.count(names[i]); ++j)
                    EXPECT_NE(monitorShows[j].slot, shown(i).first) << names[i];
            }
            // A picture and a count of its own for each: monitor i counts n - i.
            for (int i = 0; i < layout.count; ++i) {
                advanceMonitorAt(layout.monitors[i].left + 1, layout.monitors[i].top + 1);
                sequenceTick();
            }
            for (size_t i = 0; i < names.size(); ++i) own[names[i]] = shown(i);
        }
    }
}

// The point's monitor, or the nearest, takes the next picture, in the composed file too, its
// count starting afresh; the other's stay.
TEST_F(Monitors, NextOnThisMonitorChangesOnlyThePictureUnderThePoint) {
    for (int slot = 0; slot < 4; ++slot) solidSlot(slot, 0x200000 * (slot + 1), 8, 6, 2, 50);
    useMonitorLayout(kTwo, true);
    const int points[][3] = {{-20, 3, 1}, {10, 10, 0}, {-200, -50, 1}, {500, 40, 0}}; // monitor
    for (const auto& p : points) {
        sequenceTick();
        const MonitorShow before[] = {monitorShows[0], monitorShows[1]};
        advanceMonitorAt(p[0], p[1]);
        for (int m = 0; m < 2; ++m) {
            const std::string where = std::to_string(p[0]) + ": monitor " + std::to_string(m);
            EXPECT_EQ(m == p[2], before[m].slot != monitorShows[m].slot) << where;
            EXPECT_EQ(m == p[2] ? 0 : before[m].seconds, monitorShows[m].seconds) << where;
            EXPECT_EQ(0x200000u * (monitorShows[m].slot + 1),
                      shownAt(composed(), kTwo, m ? -20 : 10, m ? 3 : 10))
                << where;
        }
    }
}

// Earlier versions read monitorShows alone, the display's monitors first in its order; a file
// with one monitor and no other remembered is as before.
TEST_F(Monitors, TheSettingsKeepTheMonitorsIdentitiesBesideWhatEarlierVersionsRead) {
    for (int slot = 0; slot < 4; ++slot) solidSlot(slot, 0x445566, 8, 6, MODE_CENTRE, 50);
    useMonitorLayout(layoutOf("A"), false);
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(std::string::npos, testing_support::readBytes(iniFilePath).find("monitor"));
    useMonitorLayout(layoutOf("ABC"), false); // in table order: A 0, B 1, C 2
    useMonitorLayout(layoutOf("CA"), false);  // B left
    matchShapes = false;
    ASSERT_TRUE(saveSettings());
    const MonitorLayout cab = layoutOf("CAB");
    const std::string members =
        "monitorShows = 2:0,0:0,1:0\r\nmonitorIds = " + std::string(cab.identities[0].text) + "," +
        cab.identities[1].text + "," + cab.identities[2].text + "\r\nmatchShapes = 0\r\n";
    EXPECT_NE(std::string::npos, testing_support::readBytes(iniFilePath).find(members)) << members;
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    EXPECT_FALSE(matchShapes);
}

} // namespace

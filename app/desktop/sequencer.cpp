#include "sequencer.h"

#include <windows.h>

#include "app_state.h"
#include "composed_desktop.h"
#include "desktop_wallpaper.h"
#include "moment_now.h"
#include "monitor_sequencer.h"
#include "random_round.h"
#include "shown_history.h"
#include "system_moment.h"
#include "wallpaper_table.h"

int32_t secondsShown = 0;

namespace {

// A pause of its own as the last tick found the system, or no picture for its moment.
SequenceHold heldBySystem = SEQUENCE_RUNS;

bool usedSlot(int slot) { return slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used; }

// lastWall comes from the configuration file; whatever it holds, the table is never indexed
// outside its slots.
int currentSlot() { return lastWall >= 0 && lastWall < MAX_WALLPAPERS ? lastWall : 0; }

// Every picture in the round; those of another moment of the day passed over for now.
SlotGroup momentChoices;

const SlotGroup& picturesOfTheMoment() {
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) {
        momentChoices.inGroup[slot] = wallpaperTable[slot].used;
        momentChoices.passOver[slot] = !showsNow(slot);
    }
    return momentChoices;
}

// Forward through what Previous went back over, else the sequence's next picture: one whose
// moment includes now. With none, the picture on display stays.
void moveToNextWallpaper(bool refreshDesktop) {
    ShownHistory* history = &shownHistories[0];
    const int from = currentSlot();
    const int forward = stepForward(history, from);
    if (showsNow(forward)) {
        lastWall = forward;
    } else {
        const int next = randomWall ? nextInRound(from, wallpaperTable, picturesOfTheMoment())
                                    : nextInOrder(from, wallpaperTable, picturesOfTheMoment());
        if (!usedSlot(next)) return;
        if (usedSlot(from)) recordShown(history, from);
        lastWall = next;
        recordShown(history, lastWall);
    }
    const WallpaperEntry& entry = wallpaperTable[lastWall];
    applyWallpaper(entry.filename, entry.showMode, refreshDesktop);
}

SequenceHold systemHold() {
    if (pauseForFullScreen && fullScreenProgramRunning()) return HELD_FULL_SCREEN;
    if (pauseOnBatterySaver && batterySaverOn()) return HELD_BATTERY_SAVER;
    return SEQUENCE_RUNS;
}

} // namespace

SequenceHold sequenceHold() {
    if (paused) return pausedForOtherWallpaper ? HELD_FOR_OTHER_WALLPAPER : HELD_PAUSED;
    return heldBySystem;
}

bool desktopShowsAnotherPicture() {
    char shown[MAX_PATH] = "";
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof shown, shown, 0)) return false;
    char ours[MAX_PATH] = "";
    if (perMonitor()) {
        composedDesktopPath(ours, sizeof ours);
    } else {
        const int slot = displayedSlot();
        if (slot < 0) return false;
        lstrcpynA(ours, wallpaperTable[slot].filename, sizeof ours);
    }
    return lstrcmpiA(shown, ours) != 0;
}

int displayedSlot() {
    const int slot = perMonitor() ? monitorShows[0].slot : lastWall;
    return usedSlot(slot) ? slot : -1;
}

void sequenceTick() {
    heldBySystem = SEQUENCE_RUNS;
    if (!hiddenInTray || paused || wallpaperCount <= 0) return;
    // Asked only while the sequence runs, so that a shown window or a pause costs nothing.
    heldBySystem = systemHold();
    if (heldBySystem != SEQUENCE_RUNS) return;
    takeTheMoment();
    // No picture for this moment: the one on display stays, and its time waits.
    if (showingNow() == 0) {
        heldBySystem = HELD_NO_PICTURE_NOW;
        return;
    }
    if (perMonitor()) {
        tickEveryMonitor();
        return;
    }
    // The time of the wallpaper on display is read afresh, so an edit takes effect at once; its
    // moment over, the change comes at once.
    if (showsNow(currentSlot()) && secondsShown < wallpaperTable[currentSlot()].showTime) {
        ++secondsShown;
        return;
    }
    moveToNextWallpaper(true);
    secondsShown = 0;
}

void changeWallpaperNow() {
    if (wallpaperCount <= 0) return;
    takeTheMoment();
    if (perMonitor()) {
        advanceEveryMonitor(true);
        return;
    }
    moveToNextWallpaper(true);
    secondsShown = 0;
}

void previousWallpaper() {
    if (wallpaperCount <= 0) return;
    takeTheMoment();
    if (perMonitor()) {
        backEveryMonitor();
        return;
    }
    // After a delete of the picture on display, the one shown before it comes back.
    ShownHistory* history = &shownHistories[0];
    const int from = currentSlot();
    int back = usedSlot(from) ? stepBack(history, from) : entryOnDisplay(*history);
    // Back to a picture of this moment: one of another would give way at the next second.
    while (usedSlot(back) && !showsNow(back)) back = stepBack(history, back);
    if (!usedSlot(back)) return;
    lastWall = back;
    secondsShown = 0;
    applyWallpaper(wallpaperTable[back].filename, wallpaperTable[back].showMode, true);
}

void applyShownAgain() {
    if (!hiddenInTray || paused || wallpaperCount <= 0) return;
    if (perMonitor()) {
        composeEveryMonitorAgain();
        return;
    }
    const WallpaperEntry& entry = wallpaperTable[currentSlot()];
    if (entry.used) applyWallpaper(entry.filename, entry.showMode, true);
}

void sessionEndChange() {
    if (!startWall || paused || wallpaperCount <= 0) return;
    takeTheMoment();
    if (perMonitor()) {
        advanceEveryMonitor(false);
        return;
    }
    moveToNextWallpaper(false);
}

#include "sequencer.h"

#include <windows.h>

#include "app_state.h"
#include "composed_desktop.h"
#include "desktop_wallpaper.h"
#include "monitor_sequencer.h"
#include "random_round.h"
#include "shown_history.h"
#include "system_moment.h"
#include "wallpaper_table.h"

int32_t secondsShown = 0;

namespace {

// A pause of its own, as the last tick found the system.
SequenceHold heldBySystem = SEQUENCE_RUNS;

bool usedSlot(int slot) { return slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used; }

// lastWall comes from the configuration file; whatever it holds, the table is never indexed
// outside its slots.
int currentSlot() { return lastWall >= 0 && lastWall < MAX_WALLPAPERS ? lastWall : 0; }

// Forward through what Previous went back over, else the sequence's next picture.
void moveToNextWallpaper(bool refreshDesktop) {
    ShownHistory* history = &shownHistories[0];
    const int from = currentSlot();
    const int forward = stepForward(history, from);
    if (usedSlot(forward)) {
        lastWall = forward;
    } else {
        if (usedSlot(from)) recordShown(history, from);
        lastWall =
            randomWall ? nextInRound(from, wallpaperTable) : nextUsedSlot(from, wallpaperTable);
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
    if (perMonitor()) {
        tickEveryMonitor();
        return;
    }
    // The time of the wallpaper on display is read afresh, so an edit takes effect at once.
    if (secondsShown < wallpaperTable[currentSlot()].showTime) {
        ++secondsShown;
        return;
    }
    moveToNextWallpaper(true);
    secondsShown = 0;
}

void changeWallpaperNow() {
    if (wallpaperCount <= 0) return;
    if (perMonitor()) {
        advanceEveryMonitor(true);
        return;
    }
    moveToNextWallpaper(true);
    secondsShown = 0;
}

void previousWallpaper() {
    if (wallpaperCount <= 0) return;
    if (perMonitor()) {
        backEveryMonitor();
        return;
    }
    // After a delete of the picture on display, the one shown before it comes back.
    ShownHistory* history = &shownHistories[0];
    const int from = currentSlot();
    const int back = usedSlot(from) ? stepBack(history, from) : entryOnDisplay(*history);
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
    if (perMonitor()) {
        advanceEveryMonitor(false);
        return;
    }
    moveToNextWallpaper(false);
}

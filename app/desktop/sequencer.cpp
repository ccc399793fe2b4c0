#include "sequencer.h"

#include "app_state.h"
#include "desktop_wallpaper.h"
#include "monitor_sequencer.h"
#include "random_round.h"
#include "wallpaper_table.h"

int32_t secondsShown = 0;

namespace {

// lastWall comes from the configuration file; whatever it holds, the table is never indexed
// outside its slots.
int currentSlot() { return lastWall >= 0 && lastWall < MAX_WALLPAPERS ? lastWall : 0; }

void moveToNextWallpaper(bool refreshDesktop) {
    int from = currentSlot();
    lastWall = randomWall ? nextInRound(from, wallpaperTable) : nextUsedSlot(from, wallpaperTable);
    const WallpaperEntry& entry = wallpaperTable[lastWall];
    applyWallpaper(entry.filename, entry.showMode, refreshDesktop);
}

} // namespace

void sequenceTick() {
    if (!hiddenInTray || paused || wallpaperCount <= 0) return;
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

#include "monitor_sequencer.h"

#include "app_state.h"
#include "composed_desktop.h"
#include "desktop_wallpaper.h"
#include "random_round.h"
#include "sequencer.h"
#include "shown_history.h"
#include "wallpaper_table.h"

namespace {

bool usedSlot(int slot) { return slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used; }

bool shownElsewhere(int slot, int monitor) {
    for (int i = 0; i < monitorLayout.count; ++i)
        if (i != monitor && monitorShows[i].slot == slot) return true;
    return false;
}

// The next picture of the sequence for a monitor. lastWall is where the sequence stands, as
// with one monitor; a picture another monitor shows is passed over while the table has at
// least one picture per monitor.
int nextFor(int monitor) {
    const bool distinct = usedCount(wallpaperTable) >= monitorLayout.count;
    int from = usedSlot(lastWall) ? lastWall : 0;
    int current = usedSlot(monitorShows[monitor].slot) ? monitorShows[monitor].slot : from;
    int slot = from;
    // Each draw or step finds another picture, so the table's size bounds the tries.
    for (int tries = 0; tries <= MAX_WALLPAPERS; ++tries) {
        slot =
            randomWall ? nextInRound(current, wallpaperTable) : nextUsedSlot(from, wallpaperTable);
        if (!distinct || !shownElsewhere(slot, monitor)) break;
        from = slot;
    }
    lastWall = slot;
    return slot;
}

// Forward through what Previous went back over on that monitor, else the sequence's next.
MonitorShow advanced(int monitor) {
    ShownHistory* history = &shownHistories[monitor];
    const int current = monitorShows[monitor].slot;
    const int forward = stepForward(history, current);
    if (usedSlot(forward)) return {forward, 0};
    if (usedSlot(current)) recordShown(history, current);
    const int slot = nextFor(monitor);
    recordShown(history, slot);
    return {slot, 0};
}

int slotsOnMonitors[MONITOR_CAPACITY];
// The last composition could not be put in place (the file held open a moment by another
// program): the next tick tries again, so the desktop never stays behind the sequence.
bool desktopBehind = false;

void compose(bool refreshDesktop) {
    for (int i = 0; i < monitorLayout.count; ++i) slotsOnMonitors[i] = monitorShows[i].slot;
    desktopBehind = !applyComposedDesktop(monitorLayout, slotsOnMonitors, refreshDesktop);
}

} // namespace

void useMonitorLayout(const MonitorLayout& layout, bool applyNow) {
    const bool wasPerMonitor = perMonitor();
    const int kept = wasPerMonitor ? monitorLayout.count : savedMonitorShows;
    monitorLayout = layout;
    if (monitorLayout.count < 1) monitorLayout.count = 1;
    if (monitorLayout.count > MONITOR_CAPACITY) monitorLayout.count = MONITOR_CAPACITY;
    if (!perMonitor()) {
        // Back to one monitor: Windows' own placement of the primary monitor's picture.
        if (wasPerMonitor && usedSlot(monitorShows[0].slot)) {
            lastWall = monitorShows[0].slot;
            secondsShown = monitorShows[0].seconds;
            if (applyNow)
                applyWallpaper(wallpaperTable[lastWall].filename, wallpaperTable[lastWall].showMode,
                               true);
        }
        if (wasPerMonitor) savedMonitorShows = 0;
        return;
    }
    if (wallpaperCount <= 0) return;
    int keep = kept;
    if (keep == 0) {
        // From one monitor: the picture on display stays on the primary one, with its count.
        monitorShows[0] = {usedSlot(lastWall) ? lastWall : -1, secondsShown};
        keep = 1;
    }
    // A picture an earlier monitor already shows (a hand-edited file) is given up too.
    const bool distinct = usedCount(wallpaperTable) >= monitorLayout.count;
    for (int i = 0; i < monitorLayout.count; ++i) {
        bool repeated = false;
        for (int j = 0; j < i && distinct; ++j)
            repeated |= monitorShows[j].slot == monitorShows[i].slot;
        if (i >= keep || !usedSlot(monitorShows[i].slot) || repeated) monitorShows[i] = {-1, 0};
    }
    // A monitor new to the layout takes the next picture.
    for (int i = 0; i < monitorLayout.count; ++i)
        if (monitorShows[i].slot < 0) monitorShows[i] = {nextFor(i), 0};
    savedMonitorShows = monitorLayout.count;
    if (applyNow) compose(true);
}

void tickEveryMonitor() {
    bool changed = false;
    for (int i = 0; i < monitorLayout.count; ++i) {
        MonitorShow& show = monitorShows[i];
        // The time is read afresh, so an edit takes effect at once.
        if (usedSlot(show.slot) && show.seconds < wallpaperTable[show.slot].showTime) {
            ++show.seconds;
            continue;
        }
        show = advanced(i);
        changed = true;
    }
    if (changed || desktopBehind) compose(true);
}

void composeEveryMonitorAgain() { compose(true); }

void backEveryMonitor() {
    bool changed = false;
    for (int i = 0; i < monitorLayout.count; ++i) {
        MonitorShow& show = monitorShows[i];
        ShownHistory* history = &shownHistories[i];
        const int back =
            usedSlot(show.slot) ? stepBack(history, show.slot) : entryOnDisplay(*history);
        if (!usedSlot(back)) continue;
        show = {back, 0};
        changed = true;
    }
    if (changed) compose(true);
}

void advanceEveryMonitor(bool refreshDesktop) {
    for (int i = 0; i < monitorLayout.count; ++i) monitorShows[i] = advanced(i);
    compose(refreshDesktop);
}

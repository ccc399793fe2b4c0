#include "monitor_sequencer.h"

#include <string.h>

#include "app_state.h"
#include "composed_desktop.h"
#include "desktop_wallpaper.h"
#include "moment_now.h"
#include "picture_shapes.h"
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

// What a monitor may take next: the pictures of its shape, when shapes matter and the table
// holds one that no other monitor shows, else every picture; pictures of another moment of the
// day are passed over (unless no picture is of this one), and so is a picture another monitor
// shows while there is at least one picture per monitor to choose from.
SlotGroup choices;

void gatherChoices(int monitor) {
    const int now = showingNow();
    const bool distinct = (now > 0 ? now : usedCount(wallpaperTable)) >= monitorLayout.count;
    const bool byShape = shapesMatter(monitorLayout);
    const Shape shape = shapeOf(monitorLayout.monitors[monitor]);
    bool shapeLeft = false;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) {
        const WallpaperEntry& entry = wallpaperTable[slot];
        choices.passOver[slot] = entry.used && ((distinct && shownElsewhere(slot, monitor)) ||
                                                (now > 0 && !showsNow(slot)));
        choices.inGroup[slot] = entry.used && (!byShape || shapeOf(entry) == shape);
        shapeLeft |= choices.inGroup[slot] && !choices.passOver[slot];
    }
    if (byShape && !shapeLeft)
        for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
            choices.inGroup[slot] = wallpaperTable[slot].used;
}

// The next picture of the sequence for a monitor. lastWall is where the sequence stands, as
// with one monitor; when shapes matter a monitor goes on in table order from its own picture,
// since the sequence may stand among the other shape's pictures.
int nextFor(int monitor) {
    gatherChoices(monitor);
    const int shown = monitorShows[monitor].slot;
    int from = usedSlot(lastWall) ? lastWall : 0;
    if (shapesMatter(monitorLayout) && usedSlot(shown) && choices.inGroup[shown]) from = shown;
    const int current = usedSlot(shown) ? shown : from;
    int slot = randomWall ? nextInRound(current, wallpaperTable, choices)
                          : nextInOrder(from, wallpaperTable, choices);
    if (slot >= 0) lastWall = slot;
    return slot;
}

// Forward through what Previous went back over on that monitor, else the sequence's next.
int advanced(int monitor) {
    ShownHistory* history = &shownHistories[monitor];
    const int current = monitorShows[monitor].slot;
    const int forward = stepForward(history, current);
    if (showsNow(forward)) return forward;
    if (usedSlot(current)) recordShown(history, current);
    const int slot = nextFor(monitor);
    if (usedSlot(slot)) recordShown(history, slot);
    return slot;
}

void takeNext(int monitor) {
    monitorShows[monitor].slot = advanced(monitor);
    monitorShows[monitor].seconds = 0;
}

int slotsOnMonitors[MONITOR_CAPACITY];
// The last composition could not be put in place (the file held open a moment by another
// program): the next tick tries again, so the desktop never stays behind the sequence.
bool desktopBehind = false;

void compose(bool refreshDesktop) {
    for (int i = 0; i < monitorLayout.count; ++i) slotsOnMonitors[i] = monitorShows[i].slot;
    desktopBehind = !applyComposedDesktop(monitorLayout, slotsOnMonitors, refreshDesktop);
}

// ---- A new layout ------------------------------------------------------------------------

// With one monitor its picture and count are lastWall and secondsShown: they become its show
// before another layout is used. Before the first layout of a start the monitor is known only
// as the primary, by its place, and what the settings gave stands.
void rememberTheOneMonitor() {
    if (perMonitor()) return;
    const MonitorShow one = {usedSlot(lastWall) ? lastWall : -1, secondsShown,
                             monitorLayout.identities[0]};
    if (savedMonitorShows > 0 && sameMonitor(monitorShows[0].identity, one.identity))
        monitorShows[0] = one;
    else if (savedMonitorShows <= 0) {
        monitorShows[0] = one;
        savedMonitorShows = 1;
    }
}

// The monitors remembered before the new layout, with what each has shown, while the layout's
// monitors find theirs.
MonitorShow before[MONITOR_CAPACITY];
ShownHistory historiesBefore[MONITOR_CAPACITY];

// Which remembered show is monitor place of the layout's: the same monitor's or, for a show
// known by its place alone (an earlier version's file), the one at its place; -1: never seen.
int rememberedShowOf(const MonitorIdentity& identity, int place, int count, const bool* taken) {
    for (int j = 0; j < count; ++j)
        if (!taken[j] && sameMonitor(before[j].identity, identity)) return j;
    if (place < count && !taken[place] && before[place].identity.text[0] == 0) return place;
    return -1;
}

bool rememberedAlready(const MonitorIdentity& identity, int count) {
    for (int i = 0; i < count; ++i)
        if (sameMonitor(monitorShows[i].identity, identity)) return true;
    return false;
}

// Remembered monitor j becomes entry i, its history with it; -1: a monitor never seen.
void remember(int i, int j) {
    static const MonitorShow none = {-1, 0, {}};
    static const ShownHistory empty = {};
    monitorShows[i] = j >= 0 ? before[j] : none;
    shownHistories[i] = j >= 0 ? historiesBefore[j] : empty;
}

// Each monitor of the layout takes its own show (or none yet, -1) and history, in the layout's
// order; the monitors that left follow, as many as there is room for. Whether the layout's
// first monitor had one goes to foundFirst.
void placeShows(const MonitorLayout& layout, bool* foundFirst) {
    const int count = savedMonitorShows < MONITOR_CAPACITY ? savedMonitorShows : MONITOR_CAPACITY;
    memcpy(before, monitorShows, sizeof before);
    memcpy(historiesBefore, shownHistories, sizeof historiesBefore);
    bool taken[MONITOR_CAPACITY] = {};
    for (int i = 0; i < layout.count; ++i) {
        const int j = rememberedShowOf(layout.identities[i], i, count, taken);
        if (i == 0) *foundFirst = j >= 0;
        remember(i, j);
        monitorShows[i].identity = layout.identities[i];
        if (j >= 0) taken[j] = true;
    }
    int remembered = layout.count;
    for (int j = 0; j < count && remembered < MONITOR_CAPACITY; ++j)
        if (!taken[j] && !rememberedAlready(before[j].identity, remembered) &&
            before[j].identity.text[0] != 0)
            remember(remembered++, j);
    for (int i = remembered; i < MONITOR_CAPACITY; ++i) remember(i, -1);
    savedMonitorShows = remembered;
}

// Down to one monitor: Windows' own placement of its picture, which is that monitor's own when
// it was seen before; one never seen takes the next picture.
void useOneMonitor(bool foundShow, bool wasPerMonitor, bool applyNow) {
    const MonitorShow& show = monitorShows[0];
    if (foundShow && usedSlot(show.slot)) {
        const bool moved = wasPerMonitor || show.slot != lastWall;
        lastWall = show.slot;
        secondsShown = show.seconds;
        if (applyNow && moved)
            applyWallpaper(wallpaperTable[lastWall].filename, wallpaperTable[lastWall].showMode,
                           true);
    } else if (wasPerMonitor && applyNow) {
        changeWallpaperNow();
    }
}

// The monitor holding point (x, y) of the virtual screen, else the nearest one.
int monitorAt(int x, int y) {
    int nearest = 0;
    long long nearestDistance = -1;
    for (int i = 0; i < monitorLayout.count; ++i) {
        const imaging::ScreenRect& r = monitorLayout.monitors[i];
        const long long dx = x < r.left              ? r.left - x
                             : x >= r.left + r.width ? x - (r.left + r.width - 1)
                                                     : 0;
        const long long dy = y < r.top               ? r.top - y
                             : y >= r.top + r.height ? y - (r.top + r.height - 1)
                                                     : 0;
        const long long distance = dx * dx + dy * dy;
        if (nearestDistance < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace

void useMonitorLayout(const MonitorLayout& given, bool applyNow) {
    takeTheMoment();
    const bool wasPerMonitor = perMonitor();
    MonitorLayout layout = given;
    if (layout.count < 1) layout.count = 1;
    if (layout.count > MONITOR_CAPACITY) layout.count = MONITOR_CAPACITY;
    // A monitor the layout does not name is known by its place.
    for (int i = 0; i < layout.count; ++i)
        if (layout.identities[i].text[0] == 0) layout.identities[i] = identityOfPlace(i);
    rememberTheOneMonitor();
    bool foundFirst = false;
    placeShows(layout, &foundFirst);
    monitorLayout = layout;
    if (!perMonitor()) {
        useOneMonitor(foundFirst, wasPerMonitor, applyNow);
        return;
    }
    if (wallpaperCount <= 0) return;
    // A picture an earlier monitor already shows (a hand-edited file) is given up too.
    const bool distinct = usedCount(wallpaperTable) >= monitorLayout.count;
    for (int i = 0; i < monitorLayout.count; ++i) {
        bool repeated = false;
        for (int j = 0; j < i && distinct; ++j)
            repeated |= monitorShows[j].slot == monitorShows[i].slot;
        if (!usedSlot(monitorShows[i].slot) || repeated) monitorShows[i].slot = -1;
    }
    // A monitor new to the layout takes the next picture.
    for (int i = 0; i < monitorLayout.count; ++i)
        if (monitorShows[i].slot < 0) takeNext(i);
    if (applyNow) compose(true);
}

void tickEveryMonitor() {
    bool changed = false;
    for (int i = 0; i < monitorLayout.count; ++i) {
        MonitorShow& show = monitorShows[i];
        // The time is read afresh, so an edit takes effect at once; a moment over, at once.
        if (showsNow(show.slot) && show.seconds < wallpaperTable[show.slot].showTime) {
            ++show.seconds;
            continue;
        }
        takeNext(i);
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
        int back = usedSlot(show.slot) ? stepBack(history, show.slot) : entryOnDisplay(*history);
        while (usedSlot(back) && !showsNow(back)) back = stepBack(history, back);
        if (!usedSlot(back)) continue;
        show.slot = back;
        show.seconds = 0;
        changed = true;
    }
    if (changed) compose(true);
}

void advanceEveryMonitor(bool refreshDesktop) {
    for (int i = 0; i < monitorLayout.count; ++i) takeNext(i);
    compose(refreshDesktop);
}

void advanceMonitorAt(int x, int y) {
    takeTheMoment();
    if (!perMonitor()) {
        changeWallpaperNow();
        return;
    }
    if (wallpaperCount <= 0) return;
    takeNext(monitorAt(x, y));
    compose(true);
}

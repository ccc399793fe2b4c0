// The monitors pictures are put on and what each of them shows: the sequencer keeps them, the
// settings save and load them, the main window hands them a new layout.
#ifndef MURALTO_MONITOR_SHOWS_H
#define MURALTO_MONITOR_SHOWS_H

#include <stdint.h>

#include "desktop_composition.h"
#include "monitor_identity.h"

enum { MONITOR_CAPACITY = 16 };

// Monitors as rectangles of the virtual screen, with which monitor each one is (none given: it
// is known by its place).
struct MonitorLayout {
    int count;
    imaging::ScreenRect monitors[MONITOR_CAPACITY];
    MonitorIdentity identities[MONITOR_CAPACITY] = {};
};

// What a monitor shows: its slot (-1 for none yet) and the ticks counted since it changed.
struct MonitorShow {
    int32_t slot;
    int32_t seconds;
    MonitorIdentity identity;
};

// The monitors the sequencer remembers: first those of the layout, in its order, then those
// that have left it, so that each finds its picture and count again when it comes back. With
// one monitor its show is lastWall's, its count secondsShown. After a load, what the settings
// gave, until the first layout. Owner: the sequencer (settings at load and save, the main
// window at a display change).
extern MonitorLayout monitorLayout;
extern MonitorShow monitorShows[MONITOR_CAPACITY];
extern int32_t savedMonitorShows; // how many monitorShows are remembered

// Whether the sequencer works per monitor: two or more monitors.
bool perMonitor();

#endif

// The monitors pictures are put on and what each of them shows: the sequencer keeps them, the
// settings save and load them, the main window hands them a new layout.
#ifndef MURALTO_MONITOR_SHOWS_H
#define MURALTO_MONITOR_SHOWS_H

#include <stdint.h>

#include "desktop_composition.h"

enum { MONITOR_CAPACITY = 16 };

// Monitors as rectangles of the virtual screen.
struct MonitorLayout {
    int count;
    imaging::ScreenRect monitors[MONITOR_CAPACITY];
};

// What monitor i shows: its slot (-1 for none yet) and the ticks counted since it changed.
struct MonitorShow {
    int32_t slot;
    int32_t seconds;
};

// The layout pictures are put on, and what each of its monitors shows; monitorShows beyond
// the layout's count are those the settings gave for monitors not (yet) there. Owner: the
// sequencer (settings at load and save, the main window at a display change).
extern MonitorLayout monitorLayout;
extern MonitorShow monitorShows[MONITOR_CAPACITY];
extern int32_t savedMonitorShows; // how many monitorShows the settings gave or a save keeps

// Whether the sequencer works per monitor: two or more monitors.
bool perMonitor();

#endif

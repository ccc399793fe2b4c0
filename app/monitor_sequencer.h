// The sequencer with two or more monitors: each monitor shows its own picture and counts that
// picture's seconds; when its time is up, that monitor takes the next picture of the sequence
// (table order or the random round), one that no other monitor shows while the table has
// enough of them. With one monitor the sequencer works as it always has (sequencer.h).
#ifndef MURALTO_MONITOR_SEQUENCER_H
#define MURALTO_MONITOR_SEQUENCER_H

#include <stdint.h>

#include "monitor_layout.h"

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

// Takes a new layout (at start-up, and when the display changes). With two or more monitors,
// each keeps the picture it showed and its count, a monitor new to the layout takes the next
// picture, and, when applyNow is true, the desktop is composed again at once; with one monitor
// again, the primary monitor's picture goes back on the desktop in its own mode.
void useMonitorLayout(const MonitorLayout& layout, bool applyNow);

// One second for every monitor: those whose picture's time is up (showTime n: n + 1 ticks)
// take the next one, and the desktop is composed again when one did, or when the last
// composition could not be put in place.
void tickEveryMonitor();

// Every monitor takes the next picture now and counts afresh; the desktop is composed again,
// and Windows loads it at once when refreshDesktop is true (else at the next log-on).
void advanceEveryMonitor(bool refreshDesktop);

#endif

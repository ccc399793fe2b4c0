// The sequencer with two or more monitors: each monitor shows its own picture and counts that
// picture's seconds; when its time is up, that monitor takes the next picture of the sequence
// (table order or the random round), one that no other monitor shows while the table has
// enough of them, and, with monitors of different shapes, one of its own shape while the table
// has one left (picture_shapes.h). With one monitor the sequencer works as it always has
// (sequencer.h).
#ifndef MURALTO_MONITOR_SEQUENCER_H
#define MURALTO_MONITOR_SEQUENCER_H

#include "monitor_layout.h"

// Takes a new layout (at start-up, and when the display changes). Each monitor is known by its
// identity, whatever its place: one seen before, in this layout or an earlier one (the
// settings remember those that left), finds its picture and count again, and one never seen
// takes the next picture. With two or more monitors the desktop is composed again at once when
// applyNow is true; with one, that monitor's picture goes on the desktop in its own mode.
void useMonitorLayout(const MonitorLayout& layout, bool applyNow);

// One second for every monitor: those whose picture's time is up (showTime n: n + 1 ticks)
// take the next one, and the desktop is composed again when one did, or when the last
// composition could not be put in place.
void tickEveryMonitor();

// The desktop composed again from what each monitor shows, their counts unchanged.
void composeEveryMonitorAgain();

// Every monitor goes back to the picture it showed before (shown_history.h) and counts afresh,
// and the desktop is composed again; a monitor with nothing before keeps its picture and count.
void backEveryMonitor();

// Every monitor takes the next picture now and counts afresh; the desktop is composed again,
// and Windows loads it at once when refreshDesktop is true (else at the next log-on).
void advanceEveryMonitor(bool refreshDesktop);

// "Next wallpaper on this monitor": the monitor holding point (x, y) of the virtual screen (or
// the nearest one) takes the next picture now and counts afresh, and the desktop is composed
// again, the other monitors' pictures and counts unchanged. With one monitor, Next wallpaper.
void advanceMonitorAt(int x, int y);

#endif

// The monitors of the desktop, as rectangles of the virtual screen.
#ifndef MURALTO_MONITOR_LAYOUT_H
#define MURALTO_MONITOR_LAYOUT_H

#include "monitor_shows.h"

// The monitors Windows lists now, the primary one first, the others in Windows' order; at most
// MONITOR_CAPACITY. Each is known by its device interface name, or by its place when Windows
// gives none (or the same as another's). One empty monitor when Windows lists none.
MonitorLayout currentMonitorLayout();

#endif

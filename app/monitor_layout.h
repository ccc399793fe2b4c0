// The monitors of the desktop, as rectangles of the virtual screen.
#ifndef MURALTO_MONITOR_LAYOUT_H
#define MURALTO_MONITOR_LAYOUT_H

#include "desktop_composition.h"

enum { MONITOR_CAPACITY = 16 };

struct MonitorLayout {
    int count;
    imaging::ScreenRect monitors[MONITOR_CAPACITY];
};

// The monitors Windows lists now, the primary one first, the others in Windows' order; at most
// MONITOR_CAPACITY. One empty monitor when Windows lists none.
MonitorLayout currentMonitorLayout();

#endif

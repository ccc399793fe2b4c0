#include "monitor_shows.h"

MonitorLayout monitorLayout = {1, {{0, 0, 0, 0}}};
MonitorShow monitorShows[MONITOR_CAPACITY];
int32_t savedMonitorShows = 0;

bool perMonitor() { return monitorLayout.count >= 2; }

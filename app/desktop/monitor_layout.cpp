#include "monitor_layout.h"

#include <windows.h>

namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MonitorLayout* layout = reinterpret_cast<MonitorLayout*>(context);
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (layout->count >= MONITOR_CAPACITY || !GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    imaging::ScreenRect rect = {static_cast<int>(r.left), static_cast<int>(r.top),
                                static_cast<int>(r.right - r.left),
                                static_cast<int>(r.bottom - r.top)};
    // The primary monitor goes first: it keeps the first picture whatever Windows' order.
    int at = layout->count++;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        for (; at > 0; --at) layout->monitors[at] = layout->monitors[at - 1];
    }
    layout->monitors[at] = rect;
    return TRUE;
}

} // namespace

MonitorLayout currentMonitorLayout() {
    MonitorLayout layout = {};
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.count == 0) {
        layout.count = 1;
        layout.monitors[0] = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return layout;
}

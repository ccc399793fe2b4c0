#include "monitor_layout.h"

#include <windows.h>

namespace {

// The device interface name of the monitor on an adapter output ("\\.\DISPLAY2"): it stays
// with the physical monitor across restarts, docking and a change of primary. Empty when the
// system gives none.
void interfaceNameOf(const char* adapterOutput, char* name, int size) {
    name[0] = 0;
    DISPLAY_DEVICEA device;
    for (DWORD index = 0;; ++index) {
        ZeroMemory(&device, sizeof device);
        device.cb = sizeof device;
        if (!EnumDisplayDevicesA(adapterOutput, index, &device, EDD_GET_DEVICE_INTERFACE_NAME))
            return;
        // An output may list monitors it no longer drives; the active one is on the screen.
        if (device.StateFlags & DISPLAY_DEVICE_ACTIVE) break;
    }
    lstrcpynA(name, device.DeviceID, size);
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MonitorLayout* layout = reinterpret_cast<MonitorLayout*>(context);
    MONITORINFOEXA info;
    info.cbSize = sizeof info;
    if (layout->count >= MONITOR_CAPACITY || !GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    imaging::ScreenRect rect = {static_cast<int>(r.left), static_cast<int>(r.top),
                                static_cast<int>(r.right - r.left),
                                static_cast<int>(r.bottom - r.top)};
    char name[sizeof(DISPLAY_DEVICEA::DeviceID)];
    interfaceNameOf(info.szDevice, name, sizeof name);
    // The primary monitor goes first: it keeps the first picture whatever Windows' order.
    int at = layout->count++;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        for (; at > 0; --at) {
            layout->monitors[at] = layout->monitors[at - 1];
            layout->identities[at] = layout->identities[at - 1];
        }
    }
    layout->monitors[at] = rect;
    layout->identities[at] = identityOfInterface(name);
    return TRUE;
}

// A monitor the system names none for, or the same as another (two outputs of one clone), is
// known by its place in the list.
void identifyByPlaceWhereNeeded(MonitorLayout* layout) {
    for (int i = 0; i < layout->count; ++i) {
        bool repeated = false;
        for (int j = 0; j < i; ++j)
            repeated |= sameMonitor(layout->identities[i], layout->identities[j]);
        if (repeated || layout->identities[i].text[0] == 0)
            layout->identities[i] = identityOfPlace(i);
    }
}

} // namespace

MonitorLayout currentMonitorLayout() {
    MonitorLayout layout = {};
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.count == 0) {
        layout.count = 1;
        layout.monitors[0] = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    identifyByPlaceWhereNeeded(&layout);
    return layout;
}

// Power setting notifications are Vista's; the program still starts on earlier systems, where
// they are looked up and found missing.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "system_moment.h"

#include <string.h>
#include <windows.h>

#include "system_call.h"

bool (*fullScreenProgramRunning)() = systemFullScreenProgramRunning;
bool (*batterySaverOn)() = systemBatterySaverOn;

namespace {

// SHQueryUserNotificationState's answers, which the headers give only to builds for Vista on.
enum { STATE_BUSY = 2, STATE_FULL_SCREEN_DIRECT3D = 3, STATE_PRESENTATION = 4, STATE_FREE = 5 };

// The power settings whose DWORD says the saver is on when not 0: Windows 10's battery saver
// (GUID_POWER_SAVING_STATUS: 0 off, 1 on) and Windows 11's energy saver
// (GUID_ENERGY_SAVER_STATUS: 0 off, 1 standard, 2 high savings). Older headers have neither.
const GUID SAVER_SETTINGS[] = {
    {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}},
    {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}},
};
const int SAVER_SETTING_COUNT = sizeof SAVER_SETTINGS / sizeof SAVER_SETTINGS[0];

bool saverOn = false;
HPOWERNOTIFY saverWatches[SAVER_SETTING_COUNT];

// user32 has them from Windows Vista on.
typedef HPOWERNOTIFY(WINAPI* RegisterCall)(HANDLE, LPCGUID, DWORD);
typedef BOOL(WINAPI* UnregisterCall)(HPOWERNOTIFY);

} // namespace

// Looked up by name: shell32 has it from Windows Vista on.
bool systemFullScreenProgramRunning() {
    typedef HRESULT(WINAPI * QueryState)(int*);
    static const QueryState query =
        systemCall<QueryState>("shell32.dll", "SHQueryUserNotificationState");
    int state = STATE_FREE;
    if (query == nullptr || FAILED(query(&state))) return false;
    return state == STATE_BUSY || state == STATE_FULL_SCREEN_DIRECT3D ||
           state == STATE_PRESENTATION;
}

bool systemBatterySaverOn() { return saverOn; }

namespace {

// SystemStatusFlag, which the headers still call Reserved1: 1 while the battery saver is on.
void readPowerStatus() {
    SYSTEM_POWER_STATUS status;
    memset(&status, 0, sizeof status);
    saverOn = GetSystemPowerStatus(&status) && (status.Reserved1 & 1) != 0;
}

void powerSettingChanged(const POWERBROADCAST_SETTING& setting) {
    if (setting.DataLength < sizeof(DWORD)) return;
    for (const GUID& watched : SAVER_SETTINGS) {
        if (memcmp(&setting.PowerSetting, &watched, sizeof watched) != 0) continue;
        DWORD state = 0;
        memcpy(&state, setting.Data, sizeof state);
        saverOn = state != 0;
    }
}

} // namespace

void batterySaverBroadcast(WPARAM event, LPARAM data) {
    if (event == PBT_APMPOWERSTATUSCHANGE) readPowerStatus();
    if (event == PBT_POWERSETTINGCHANGE && data != 0)
        powerSettingChanged(*reinterpret_cast<const POWERBROADCAST_SETTING*>(data));
}

void watchBatterySaver(HWND window) {
    readPowerStatus();
    RegisterCall registerWatch =
        systemCall<RegisterCall>("user32.dll", "RegisterPowerSettingNotification");
    for (int i = 0; i < SAVER_SETTING_COUNT; ++i)
        saverWatches[i] = registerWatch != nullptr ? registerWatch(window, &SAVER_SETTINGS[i],
                                                                   DEVICE_NOTIFY_WINDOW_HANDLE)
                                                   : nullptr;
}

void stopWatchingBatterySaver() {
    UnregisterCall unregisterWatch =
        systemCall<UnregisterCall>("user32.dll", "UnregisterPowerSettingNotification");
    for (HPOWERNOTIFY& watch : saverWatches) {
        if (watch != nullptr && unregisterWatch != nullptr) unregisterWatch(watch);
        watch = nullptr;
    }
}

#include "system_moment.h"

#include <string.h>
#include <windows.h>

bool (*fullScreenProgramRunning)() = systemFullScreenProgramRunning;
bool (*batterySaverOn)() = systemBatterySaverOn;

namespace {

// SHQueryUserNotificationState's answers, which the headers give only to builds for Vista on.
enum { STATE_BUSY = 2, STATE_FULL_SCREEN_DIRECT3D = 3, STATE_PRESENTATION = 4, STATE_FREE = 5 };

} // namespace

// Looked up by name: shell32 has it from Windows Vista on.
bool systemFullScreenProgramRunning() {
    typedef HRESULT(WINAPI * QueryState)(int*);
    static QueryState query = nullptr;
    static bool lookedUp = false;
    if (!lookedUp) {
        HMODULE shell = GetModuleHandleA("shell32.dll");
        query = reinterpret_cast<QueryState>(reinterpret_cast<void*>(
            shell != nullptr ? GetProcAddress(shell, "SHQueryUserNotificationState") : nullptr));
        lookedUp = true;
    }
    int state = STATE_FREE;
    if (query == nullptr || FAILED(query(&state))) return false;
    return state == STATE_BUSY || state == STATE_FULL_SCREEN_DIRECT3D ||
           state == STATE_PRESENTATION;
}

// SystemStatusFlag, which the headers still call Reserved1: 1 while the battery saver is on.
bool systemBatterySaverOn() {
    SYSTEM_POWER_STATUS status;
    memset(&status, 0, sizeof status);
    return GetSystemPowerStatus(&status) && (status.Reserved1 & 1) != 0;
}

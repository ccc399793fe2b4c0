#include "moment_now.h"

#include <string.h>
#include <windows.h>

#include "settings_place.h"
#include "system_call.h"
#include "unicode_text.h"
#include "wallpaper_table.h"
#include "zone_places.h"

void (*readClock)(ClockReading* reading) = systemClock;

namespace {

MomentNow lastMoment = {12 * 60, true};

// Without a place, a day of fixed hours.
const int DAY_FROM = 7 * 60, DAY_TO = 19 * 60;

// The time zone's registry key name, which Windows gives from Vista on: looked up by name.
bool windowsZoneName(char* name, size_t size) {
    typedef DWORD(WINAPI * ZoneCall)(DYNAMIC_TIME_ZONE_INFORMATION*);
    static const ZoneCall call =
        systemCall<ZoneCall>("kernel32.dll", "GetDynamicTimeZoneInformation");
    DYNAMIC_TIME_ZONE_INFORMATION zone;
    memset(&zone, 0, sizeof zone);
    if (call == nullptr || call(&zone) == TIME_ZONE_ID_INVALID) return false;
    return wideToUtf8(zone.TimeZoneKeyName, name, size) && name[0] != 0;
}

// The time zone's place, asked of Windows once an hour of the clock: the sequence's second
// must not wait on the registry's time zones every time (a new zone is rare, and its place is
// taken within the hour).
bool zonesPlace(const UtcTime& now, Place* place) {
    static bool found = false, asked = false;
    static int askedHour = -1;
    static Place zonePlaceFound;
    if (!asked || now.hour != askedHour) {
        char zone[128];
        found = windowsZoneName(zone, sizeof zone) && zonePlace(zone, &zonePlaceFound);
        asked = true;
        askedHour = now.hour;
    }
    *place = zonePlaceFound;
    return found;
}

bool userPlace(const UtcTime& now, Place* place) {
    return settingsPlace(place) || zonesPlace(now, place);
}

// Pictures shown at every moment need neither the clock nor the sun: a table without moments
// (the usual one) costs the hidden program's second nothing more.
bool anyMoment() {
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        if (wallpaperTable[slot].used && wallpaperTable[slot].moment.kind != MOMENT_ALWAYS)
            return true;
    return false;
}

} // namespace

void systemClock(ClockReading* reading) {
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    reading->utc = {utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond};
    reading->localMinute = local.wHour * 60 + local.wMinute;
}

void takeTheMoment() {
    if (!anyMoment()) return;
    ClockReading clock;
    readClock(&clock);
    lastMoment.localMinute = clock.localMinute;
    Place place;
    lastMoment.daytime = userPlace(clock.utc, &place)
                             ? sunIsUp(place, clock.utc)
                             : clock.localMinute >= DAY_FROM && clock.localMinute < DAY_TO;
}

bool showsNow(int slot) {
    return slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used &&
           momentIncludes(wallpaperTable[slot].moment, lastMoment);
}

int showingNow() {
    int count = 0;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) count += showsNow(slot) ? 1 : 0;
    return count;
}

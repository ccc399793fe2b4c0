// Sunrise and sunset from the solar-position equations NOAA publishes with its solar
// calculator (after Jean Meeus, "Astronomical Algorithms"): the sun's declination and the
// equation of time, then the hour angle at which the top of its disc meets the horizon
// (zenith 90.833 degrees, refraction included). Plain C++, built in every tree.
#ifndef MURALTO_SUN_TIMES_H
#define MURALTO_SUN_TIMES_H

#include <stdint.h>

// A place in decimal degrees, north and east positive.
struct Place {
    double latitude;
    double longitude;
};

enum SunDay { SUN_RISES_AND_SETS, SUN_NEVER_SETS, SUN_NEVER_RISES };

// One calendar day at a place. Times are minutes after 00:00 UTC of that date; they may be
// negative or past 1440 far from Greenwich (Tokyo's sunrise is the day before in UTC).
struct SunTimes {
    SunDay day;
    double sunrise; // only for SUN_RISES_AND_SETS
    double sunset;
};

SunTimes sunTimes(const Place& place, int year, int month, int day);

// An instant in UTC, as the clock gives it.
struct UtcTime {
    int year, month, day, hour, minute, second;
};

// Whether the sun is up at that instant: between the sunrise and the sunset of the place's own
// day, its mean solar date (the UTC date shifted by the longitude), so that neither the time
// zone nor daylight saving enters.
bool sunIsUp(const Place& place, const UtcTime& now);

#endif

// The moment of the day the sequence chooses pictures by: the clock, read through one pointer
// that tests point at a clock of their own, and whether the sun is up at the user's place.
#ifndef MURALTO_MOMENT_NOW_H
#define MURALTO_MOMENT_NOW_H

#include "picture_moment.h"
#include "sun_times.h"

struct ClockReading {
    UtcTime utc;
    int localMinute; // minutes after local midnight, daylight saving included
};

// The clock; starts as systemClock, Windows' own.
extern void (*readClock)(ClockReading* reading);
void systemClock(ClockReading* reading);

// Reads the clock and finds the moment: the local time, and the sun up or not at the place the
// settings name, else at the Windows time zone's place (zone_places.h), else from 07:00 to
// 19:00 local time. The sequencer takes it once at each of its steps.
void takeTheMoment();

// Whether slot is a used slot whose moment includes the moment last taken: the one rule both
// the single-monitor sequence and each monitor's choose by.
bool showsNow(int slot);

// How many used slots show now.
int showingNow();

#endif

// The moment of the day a picture is shown in: always, by day (sunrise to sunset), by night
// (sunset to sunrise), or between two local times, crossing midnight when the first is later.
// Plain C++, built in every tree: the settings read and write its text.
#ifndef MURALTO_PICTURE_MOMENT_H
#define MURALTO_PICTURE_MOMENT_H

#include <stddef.h>
#include <stdint.h>

// The order of the main window's list of moments.
enum MomentKind { MOMENT_ALWAYS, MOMENT_DAY, MOMENT_NIGHT, MOMENT_HOURS, MOMENT_KINDS };

enum { MINUTES_PER_DAY = 24 * 60 };

// A zeroed moment is "always", so that every picture without one keeps showing as before.
struct PictureMoment {
    uint8_t kind; // MomentKind
    int16_t from; // MOMENT_HOURS: minutes after local midnight, from is included...
    int16_t to;   // ...to is not; from == to is the whole day
};

// What a moment is compared with: the local time, and whether the sun is up.
struct MomentNow {
    int localMinute; // 0 to MINUTES_PER_DAY - 1
    bool daytime;
};

bool momentIncludes(const PictureMoment& moment, const MomentNow& now);

// The settings' value: "day", "night" or "07:00-09:00" (24-hour local times). Anything else,
// "always" included, reads as always.
PictureMoment parseMoment(const char* text);
// The value for a moment other than always; false when it does not fit size bytes.
bool formatMoment(const PictureMoment& moment, char* text, size_t size);

// "HH:MM" (or "H:MM") as minutes after midnight; -1 when it is not a time of the day.
int parseClockTime(const char* text);
// "HH:MM" of minutes after midnight, into at least 6 bytes.
void formatClockTime(int minutes, char* text, size_t size);

#endif

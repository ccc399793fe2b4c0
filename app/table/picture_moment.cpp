#include "picture_moment.h"

#include <string.h>

#include "bounded_text.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading and trailing blanks are a hand edit's, not the value's.
const char* skipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// "H:MM" or "HH:MM" at p; the character after it goes to end. -1 when there is none.
int readClockTime(const char* p, const char** end) {
    int hours = 0, digits = 0;
    while (isDigit(*p) && digits < 2) {
        hours = hours * 10 + (*p++ - '0');
        ++digits;
    }
    if (digits == 0 || *p != ':' || !isDigit(p[1]) || !isDigit(p[2])) return -1;
    const int minutes = (p[1] - '0') * 10 + (p[2] - '0');
    if (hours > 23 || minutes > 59) return -1;
    *end = p + 3;
    return hours * 60 + minutes;
}

} // namespace

bool momentIncludes(const PictureMoment& moment, const MomentNow& now) {
    switch (moment.kind) {
    case MOMENT_DAY:
        return now.daytime;
    case MOMENT_NIGHT:
        return !now.daytime;
    case MOMENT_HOURS:
        if (moment.from == moment.to) return true;
        if (moment.from < moment.to)
            return now.localMinute >= moment.from && now.localMinute < moment.to;
        return now.localMinute >= moment.from || now.localMinute < moment.to;
    default:
        return true;
    }
}

PictureMoment parseMoment(const char* text) {
    PictureMoment moment = {MOMENT_ALWAYS, 0, 0};
    const char* p = skipBlanks(text);
    size_t length = strlen(p);
    while (length > 0 && (p[length - 1] == ' ' || p[length - 1] == '\t')) --length;
    if (length == 3 && strncmp(p, "day", 3) == 0) moment.kind = MOMENT_DAY;
    if (length == 5 && strncmp(p, "night", 5) == 0) moment.kind = MOMENT_NIGHT;
    const char* end = p;
    const int from = readClockTime(p, &end);
    if (from < 0) return moment;
    end = skipBlanks(end);
    if (*end != '-') return moment;
    const int to = readClockTime(skipBlanks(end + 1), &end);
    if (to < 0 || *skipBlanks(end) != 0) return moment;
    moment = {MOMENT_HOURS, static_cast<int16_t>(from), static_cast<int16_t>(to)};
    return moment;
}

bool formatMoment(const PictureMoment& moment, char* text, size_t size) {
    switch (moment.kind) {
    case MOMENT_DAY:
        return formatText(text, size, "day");
    case MOMENT_NIGHT:
        return formatText(text, size, "night");
    case MOMENT_HOURS: {
        char from[8], to[8];
        formatClockTime(moment.from, from, sizeof from);
        formatClockTime(moment.to, to, sizeof to);
        return formatText(text, size, "%s-%s", from, to);
    }
    default:
        return formatText(text, size, "always");
    }
}

int parseClockTime(const char* text) {
    const char* end = text;
    const int minutes = readClockTime(skipBlanks(text), &end);
    return minutes >= 0 && *skipBlanks(end) == 0 ? minutes : -1;
}

void formatClockTime(int minutes, char* text, size_t size) {
    if (minutes < 0 || minutes >= MINUTES_PER_DAY) minutes = 0;
    formatText(text, size, "%02d:%02d", minutes / 60, minutes % 60);
}

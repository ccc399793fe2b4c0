#include "sun_times.h"

#include <math.h>

namespace {

const double PI = 3.14159265358979323846;
const double SUNRISE_ZENITH = 90.833; // the disc's top on the horizon, with refraction

double radians(double degrees) { return degrees * PI / 180.0; }
double degrees(double radians) { return radians * 180.0 / PI; }

// The Julian day at 0h UT of a Gregorian date.
double julianDay(int year, int month, int day) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int century = year / 100;
    const int leap = 2 - century + century / 4;
    return floor(365.25 * (year + 4716)) + floor(30.6001 * (month + 1)) + day + leap - 1524.5;
}

struct SunPosition {
    double declination;    // degrees
    double equationOfTime; // minutes
};

SunPosition sunAt(double julian) {
    const double t = (julian - 2451545.0) / 36525.0; // Julian centuries since J2000.0
    const double meanLongitude = fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = radians(meanAnomaly);
    const double centre = sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          sin(2 * m) * (0.019993 - 0.000101 * t) + sin(3 * m) * 0.000289;
    const double omega = radians(125.04 - 1934.136 * t);
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * sin(omega);
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = radians(meanObliquity + 0.00256 * cos(omega));
    SunPosition position;
    position.declination = degrees(asin(sin(obliquity) * sin(radians(apparentLongitude))));
    const double y = tan(obliquity / 2) * tan(obliquity / 2);
    const double l0 = radians(meanLongitude);
    position.equationOfTime =
        4.0 * degrees(y * sin(2 * l0) - 2 * eccentricity * sin(m) +
                      4 * eccentricity * y * sin(m) * cos(2 * l0) - 0.5 * y * y * sin(4 * l0) -
                      1.25 * eccentricity * eccentricity * sin(2 * m));
    return position;
}

// cos of the hour angle of sunrise; above 1 the sun stays down, below -1 it stays up.
double sunriseCosine(double latitude, double declination) {
    const double phi = radians(latitude), delta = radians(declination);
    return cos(radians(SUNRISE_ZENITH)) / (cos(phi) * cos(delta)) - tan(phi) * tan(delta);
}

// Sunrise (rising) or sunset, in minutes after 0h UT of julian's date, the sun taken where it
// is at about minutes; NAN when it does not cross the horizon then.
double crossing(const Place& place, double julian, double minutes, bool rising) {
    const SunPosition sun = sunAt(julian + minutes / 1440.0);
    const double cosine = sunriseCosine(place.latitude, sun.declination);
    if (cosine > 1.0 || cosine < -1.0) return NAN;
    const double hourAngle = degrees(acos(cosine));
    const double noon = 720.0 - 4.0 * place.longitude - sun.equationOfTime;
    return rising ? noon - 4.0 * hourAngle : noon + 4.0 * hourAngle;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

SunTimes sunTimes(const Place& place, int year, int month, int day) {
    SunTimes times = {SUN_RISES_AND_SETS, 0, 0};
    const double julian = julianDay(year, month, day);
    const double noon = 720.0 - 4.0 * place.longitude;
    const SunPosition atNoon = sunAt(julian + noon / 1440.0);
    const double cosine = sunriseCosine(place.latitude, atNoon.declination);
    if (cosine > 1.0) times.day = SUN_NEVER_RISES;
    if (cosine < -1.0) times.day = SUN_NEVER_SETS;
    if (times.day != SUN_RISES_AND_SETS) return times;
    // Each crossing again with the sun where it is at that crossing, as NOAA's calculator does.
    for (int rising = 0; rising < 2; ++rising) {
        double minutes = crossing(place, julian, noon, rising != 0);
        const double refined = crossing(place, julian, minutes, rising != 0);
        if (!isnan(refined)) minutes = refined;
        (rising != 0 ? times.sunrise : times.sunset) = minutes;
    }
    return times;
}

bool sunIsUp(const Place& place, const UtcTime& now) {
    double minutes = now.hour * 60.0 + now.minute + now.second / 60.0;
    int year = now.year, month = now.month, day = now.day;
    // The place's mean solar date: the UTC date moved by its longitude's hours.
    const double solar = minutes + 4.0 * place.longitude;
    if (solar >= 1440.0) {
        minutes -= 1440.0;
        if (++day > daysInMonth(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    } else if (solar < 0.0) {
        minutes += 1440.0;
        if (--day < 1) {
            if (--month < 1) {
                month = 12;
                --year;
            }
            day = daysInMonth(year, month);
        }
    }
    const SunTimes times = sunTimes(place, year, month, day);
    if (times.day != SUN_RISES_AND_SETS) return times.day == SUN_NEVER_SETS;
    return minutes >= times.sunrise && minutes < times.sunset;
}

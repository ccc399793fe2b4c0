#include "settings_place.h"

char latitudeText[PLACE_TEXT_SIZE];
char longitudeText[PLACE_TEXT_SIZE];

namespace {

// Decimal degrees read by hand, whatever the C library's locale: blanks, a sign, digits with
// one point or comma, blanks. False for anything else.
bool readDegrees(const char* text, double* value) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    double number = 0, scale = 1;
    int digits = 0;
    bool fraction = false;
    for (; (*p >= '0' && *p <= '9') || ((*p == '.' || *p == ',') && !fraction); ++p) {
        if (*p == '.' || *p == ',') {
            fraction = true;
            continue;
        }
        if (++digits > 12) return false;
        if (fraction) scale /= 10;
        number = fraction ? number + (*p - '0') * scale : number * 10 + (*p - '0');
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (digits == 0 || *p != 0) return false;
    *value = negative ? -number : number;
    return true;
}

} // namespace

bool settingsPlace(Place* place) {
    double latitude = 0, longitude = 0;
    if (!readDegrees(latitudeText, &latitude) || !readDegrees(longitudeText, &longitude))
        return false;
    if (latitude < -90 || latitude > 90 || longitude < -180 || longitude > 180) return false;
    *place = {latitude, longitude};
    return true;
}

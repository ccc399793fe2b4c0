// The place the settings name for sunrise and sunset, hand-edited in [SYSTEM] as decimal
// degrees, north and east positive: "latitude = 48.85", "longitude = 2.35". Kept as the text
// read, so that a save writes back what the user wrote. Plain C++, built in every tree.
#ifndef MURALTO_SETTINGS_PLACE_H
#define MURALTO_SETTINGS_PLACE_H

#include "sun_times.h"

enum { PLACE_TEXT_SIZE = 32 };

// As read from the settings, "" when not there; owner: the settings.
extern char latitudeText[PLACE_TEXT_SIZE];
extern char longitudeText[PLACE_TEXT_SIZE];

// The place when both texts are degrees within range (a comma may stand for the point).
bool settingsPlace(Place* place);

#endif

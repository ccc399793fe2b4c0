// A wallpaper's title in its two forms: WallpaperEntry::titleUtf8, the title as the shell shows
// it, and WallpaperEntry::original, the same in the ANSI code page as well as that can hold it.
// Both are cut to TITLE_SIZE - 1 characters, as titles have always been.
#ifndef MURALTO_WALLPAPER_TITLE_H
#define MURALTO_WALLPAPER_TITLE_H

#include <wchar.h>

// Fills both fields (TITLE_SIZE and TITLE_UTF8_SIZE bytes) from the title the shell shows.
// Letters the code page lacks become their nearest letter there or '?' in original.
void setTitle(const wchar_t* shown, char* original, char* titleUtf8);

// Whether original gives titleUtf8 back (an empty titleUtf8 has nothing more to give); when it
// does not, the settings keep titleUtf8 beside it.
bool originalHoldsTitle(const char* original, const char* titleUtf8);

// titleUtf8 from a value kept in the settings, cut as setTitle cuts; false, with an empty
// titleUtf8, when the value is empty or not UTF-8.
bool titleFromUtf8(const char* value, char* titleUtf8);
// titleUtf8 from original alone, for settings that keep no more than it.
void titleFromOriginal(const char* original, char* titleUtf8);

#endif

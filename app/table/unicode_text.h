// The program's three forms of text: UTF-16 for the wide calls, UTF-8 for the paths of source
// pictures and for titles in full, and the ANSI code page for the settings files, the data
// folder's paths and the language texts.
#ifndef MURALTO_UNICODE_TEXT_H
#define MURALTO_UNICODE_TEXT_H

#include <wchar.h>

// Each converts the whole text with its terminator into a buffer of capacity units. False,
// with an empty result, when the text does not fit or is not valid in its form (a UTF-8 text
// that is not UTF-8, a wide text with a lone surrogate).
bool utf8ToWide(const char* utf8, wchar_t* wide, int capacity);
bool wideToUtf8(const wchar_t* wide, char* utf8, int capacity);
bool ansiToWide(const char* ansi, wchar_t* wide, int capacity);
// ANSI texts of up to 1023 bytes, which every field of the program is.
bool ansiToUtf8(const char* ansi, char* utf8, int capacity);

#endif

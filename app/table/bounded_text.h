// Bounded formatting and copying into the program's fixed-size text fields.
#ifndef MURALTO_BOUNDED_TEXT_H
#define MURALTO_BOUNDED_TEXT_H

#include <stddef.h>

// snprintf into out; false when the text did not fit (out then holds its cut, terminated start).
bool formatText(char* out, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Copies text into a field of size bytes, cut to fit, always terminated, the rest zero.
void copyText(char* field, size_t size, const char* text);

// A decimal number by atoi's rules (blanks, a sign, digits up to the first other character, 0
// without digits), saturating instead of overflowing on hand-edited values. end, when given,
// receives the first character after the digits.
int parseDecimal(const char* text, const char** end = nullptr);

// A hexadecimal digit's value, either case; 0 for any other character.
int hexDigitValue(char c);

#endif

#include "bounded_text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

bool formatText(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int length = vsnprintf(out, size, format, args);
    va_end(args);
    return length >= 0 && static_cast<size_t>(length) < size;
}

void copyText(char* field, size_t size, const char* text) {
    if (size == 0) return;
    size_t length = text != nullptr ? strnlen(text, size - 1) : 0;
    if (length > 0) memcpy(field, text, length);
    memset(field + length, 0, size - length);
}

#include "bounded_text.h"

#include <limits.h>
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

int parseDecimal(const char* text, const char** end) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value <= INT_MAX) value = value * 10 + (*p - '0');
        ++p;
    }
    if (end != nullptr) *end = p;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

#include "unicode_text.h"

#include <windows.h>

namespace {

bool failWith(wchar_t* wide, int capacity) {
    if (wide != nullptr && capacity > 0) wide[0] = L'\0';
    return false;
}

bool failWith(char* text, int capacity) {
    if (text != nullptr && capacity > 0) text[0] = '\0';
    return false;
}

bool toWide(UINT codePage, DWORD flags, const char* text, wchar_t* wide, int capacity) {
    if (text == nullptr || wide == nullptr || capacity <= 0) return failWith(wide, capacity);
    if (MultiByteToWideChar(codePage, flags, text, -1, wide, capacity) == 0)
        return failWith(wide, capacity);
    return true;
}

// Checked here: WC_ERR_INVALID_CHARS is not known before Windows Vista.
bool hasLoneSurrogate(const wchar_t* wide) {
    for (const wchar_t* c = wide; *c != L'\0'; ++c) {
        if (IS_HIGH_SURROGATE(c[0]) && IS_LOW_SURROGATE(c[1]))
            ++c;
        else if (IS_HIGH_SURROGATE(c[0]) || IS_LOW_SURROGATE(c[0]))
            return true;
    }
    return false;
}

} // namespace

bool utf8ToWide(const char* utf8, wchar_t* wide, int capacity) {
    return toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, wide, capacity);
}

bool ansiToWide(const char* ansi, wchar_t* wide, int capacity) {
    return toWide(CP_ACP, 0, ansi, wide, capacity);
}

bool wideToUtf8(const wchar_t* wide, char* utf8, int capacity) {
    if (wide == nullptr || utf8 == nullptr || capacity <= 0 || hasLoneSurrogate(wide))
        return failWith(utf8, capacity);
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, capacity, nullptr, nullptr) == 0)
        return failWith(utf8, capacity);
    return true;
}

bool ansiToUtf8(const char* ansi, char* utf8, int capacity) {
    wchar_t wide[1024];
    if (!ansiToWide(ansi, wide, sizeof wide / sizeof wide[0])) return failWith(utf8, capacity);
    return wideToUtf8(wide, utf8, capacity);
}

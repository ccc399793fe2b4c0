#include "wallpaper_title.h"

#include <windows.h>

#include <string.h>

#include "unicode_text.h"
#include "wallpaper_table.h"

namespace {

// The length of text cut to at most TITLE_SIZE - 1 units, never between the two halves of a
// surrogate pair.
int cutLength(const wchar_t* text) {
    int length = static_cast<int>(wcsnlen(text, TITLE_SIZE - 1));
    if (length == TITLE_SIZE - 1 && text[length] != L'\0' && IS_HIGH_SURROGATE(text[length - 1]))
        --length;
    return length;
}

// UTF-8 of the first length units; at most 3 bytes each, so TITLE_UTF8_SIZE always holds it.
void cutToUtf8(const wchar_t* text, int length, char* titleUtf8) {
    memset(titleUtf8, 0, TITLE_UTF8_SIZE);
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, titleUtf8, TITLE_UTF8_SIZE - 1, nullptr,
                            nullptr);
}

} // namespace

void setTitle(const wchar_t* shown, char* original, char* titleUtf8) {
    memset(original, 0, TITLE_SIZE);
    memset(titleUtf8, 0, TITLE_UTF8_SIZE);
    if (shown == nullptr) return;
    int length = cutLength(shown);
    cutToUtf8(shown, length, titleUtf8);
    // The longest start that fits the field: a double-byte code page may need two bytes a letter.
    for (int n = length; n > 0; --n) {
        if (n < length && IS_LOW_SURROGATE(shown[n])) continue;
        if (WideCharToMultiByte(CP_ACP, 0, shown, n, original, TITLE_SIZE - 1, nullptr, nullptr) >
            0)
            return;
    }
    memset(original, 0, TITLE_SIZE);
}

bool originalHoldsTitle(const char* original, const char* titleUtf8) {
    if (titleUtf8[0] == '\0') return true;
    char given[TITLE_UTF8_SIZE];
    return ansiToUtf8(original, given, sizeof given) && strcmp(given, titleUtf8) == 0;
}

bool titleFromUtf8(const char* value, char* titleUtf8) {
    wchar_t wide[256];
    if (!utf8ToWide(value, wide, sizeof wide / sizeof wide[0]) || wide[0] == L'\0') {
        memset(titleUtf8, 0, TITLE_UTF8_SIZE);
        return false;
    }
    cutToUtf8(wide, cutLength(wide), titleUtf8);
    return true;
}

void titleFromOriginal(const char* original, char* titleUtf8) {
    wchar_t wide[TITLE_SIZE];
    if (!ansiToWide(original, wide, sizeof wide / sizeof wide[0])) wide[0] = L'\0';
    cutToUtf8(wide, cutLength(wide), titleUtf8);
}

#include "hotkey_text.h"

#include <string.h>

#include "bounded_text.h"

const Hotkey DEFAULT_HOTKEYS[HOTKEY_COUNT] = {
    {HOTKEY_CTRL | HOTKEY_ALT | HOTKEY_SHIFT, 'N'},
    {HOTKEY_CTRL | HOTKEY_ALT | HOTKEY_SHIFT, 'B'},
    {HOTKEY_CTRL | HOTKEY_ALT | HOTKEY_SHIFT, 'P'},
    {HOTKEY_CTRL | HOTKEY_ALT | HOTKEY_SHIFT, 'M'},
};
Hotkey hotkeys[HOTKEY_COUNT] = {DEFAULT_HOTKEYS[0], DEFAULT_HOTKEYS[1], DEFAULT_HOTKEYS[2],
                                DEFAULT_HOTKEYS[3]};

namespace {

const char* const ACTION_NAMES[HOTKEY_COUNT] = {"next", "previous", "pause", "monitor"};

struct Name {
    const char* text;
    uint32_t value;
};

// In the order a combination is written.
const Name MODIFIERS[] = {
    {"Ctrl", HOTKEY_CTRL}, {"Alt", HOTKEY_ALT}, {"Shift", HOTKEY_SHIFT}, {"Win", HOTKEY_WIN}};

// Keys other than letters, digits and F1 to F24, by their virtual-key codes.
const Name KEYS[] = {
    {"Space", 0x20},  {"PageUp", 0x21}, {"PageDown", 0x22}, {"End", 0x23},  {"Home", 0x24},
    {"Left", 0x25},   {"Up", 0x26},     {"Right", 0x27},    {"Down", 0x28}, {"Insert", 0x2D},
    {"Delete", 0x2E}, {"Pause", 0x13},  {"Num0", 0x60},     {"Num1", 0x61}, {"Num2", 0x62},
    {"Num3", 0x63},   {"Num4", 0x64},   {"Num5", 0x65},     {"Num6", 0x66}, {"Num7", 0x67},
    {"Num8", 0x68},   {"Num9", 0x69},
};
const uint32_t KEY_F1 = 0x70, FUNCTION_KEYS = 24;

bool sameWord(const char* word, int length, const char* name) {
    if (static_cast<int>(strlen(name)) != length) return false;
    for (int i = 0; i < length; ++i) {
        char a = word[i], b = name[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

// The key a word names; 0 for none.
uint32_t keyNamed(const char* word, int length) {
    if (length == 1) {
        char c = word[0];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint32_t>(c);
        return 0;
    }
    if ((word[0] == 'F' || word[0] == 'f') && length <= 3) {
        int number = 0;
        for (int i = 1; i < length; ++i) {
            if (word[i] < '0' || word[i] > '9') return 0;
            number = number * 10 + (word[i] - '0');
        }
        if (number >= 1 && number <= static_cast<int>(FUNCTION_KEYS) && word[1] != '0')
            return KEY_F1 + static_cast<uint32_t>(number - 1);
        return 0;
    }
    for (const Name& name : KEYS)
        if (sameWord(word, length, name.text)) return name.value;
    return 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The next part of text up to stop (or its end), blanks around it taken off.
const char* nextPart(const char* text, char stop, const char** word, int* length) {
    while (isBlank(*text)) ++text;
    const char* end = text;
    while (*end != 0 && *end != stop) ++end;
    const char* last = end;
    while (last > text && isBlank(last[-1])) --last;
    *word = text;
    *length = static_cast<int>(last - text);
    return *end == stop ? end + 1 : end;
}

} // namespace

bool parseHotkey(const char* text, Hotkey* key) {
    const char* word = nullptr;
    int length = 0;
    const char* rest = nextPart(text, '+', &word, &length);
    if (*rest == 0 && sameWord(word, length, "off")) {
        *key = {0, 0};
        return true;
    }
    // Every part but the last is a modifier, each once; the last is the key.
    Hotkey read = {0, 0};
    rest = text;
    for (;;) {
        rest = nextPart(rest, '+', &word, &length);
        const bool last = *rest == 0 && (rest == text || rest[-1] != '+');
        if (length == 0) return false;
        if (last) {
            read.key = keyNamed(word, length);
            if (read.key == 0) return false;
            *key = read;
            return true;
        }
        uint32_t modifier = 0;
        for (const Name& name : MODIFIERS)
            if (sameWord(word, length, name.text)) modifier = name.value;
        if (modifier == 0 || (read.modifiers & modifier) != 0) return false;
        read.modifiers |= modifier;
    }
}

bool formatHotkey(Hotkey key, char* text, int size) {
    if (size < 1) return false;
    text[0] = 0;
    if (key.key == 0) return formatText(text, static_cast<size_t>(size), "off");
    char out[64] = "";
    for (const Name& name : MODIFIERS)
        if ((key.modifiers & name.value) != 0) {
            strcat(out, name.text);
            strcat(out, "+");
        }
    char keyName[16] = "";
    if ((key.key >= 'A' && key.key <= 'Z') || (key.key >= '0' && key.key <= '9'))
        formatText(keyName, sizeof keyName, "%c", static_cast<char>(key.key));
    else if (key.key >= KEY_F1 && key.key < KEY_F1 + FUNCTION_KEYS)
        formatText(keyName, sizeof keyName, "F%u", key.key - KEY_F1 + 1);
    for (const Name& name : KEYS)
        if (name.value == key.key) copyText(keyName, sizeof keyName, name.text);
    if (keyName[0] == 0) return false;
    strcat(out, keyName);
    return formatText(text, static_cast<size_t>(size), "%s", out);
}

void parseHotkeys(const char* text, Hotkey* keys) {
    for (int action = 0; action < HOTKEY_COUNT; ++action) keys[action] = DEFAULT_HOTKEYS[action];
    const char* rest = text;
    while (*rest != 0) {
        const char* entry = nullptr;
        int length = 0;
        rest = nextPart(rest, ',', &entry, &length);
        char part[64] = "";
        if (length <= 0 || length >= static_cast<int>(sizeof part)) continue;
        memcpy(part, entry, static_cast<size_t>(length));
        char* colon = strchr(part, ':');
        if (colon == nullptr) continue;
        const char* name = nullptr;
        int nameLength = 0;
        *colon = 0;
        nextPart(part, 0, &name, &nameLength);
        for (int action = 0; action < HOTKEY_COUNT; ++action) {
            Hotkey read = {0, 0};
            if (sameWord(name, nameLength, ACTION_NAMES[action]) && parseHotkey(colon + 1, &read))
                keys[action] = read;
        }
    }
}

bool formatHotkeys(const Hotkey* keys, char* text, int size) {
    if (size < 1) return false;
    text[0] = 0;
    char out[256] = "";
    for (int action = 0; action < HOTKEY_COUNT; ++action) {
        char key[64];
        if (!formatHotkey(keys[action], key, sizeof key)) return false;
        char entry[96];
        formatText(entry, sizeof entry, "%s%s:%s", action > 0 ? "," : "", ACTION_NAMES[action],
                   key);
        strcat(out, entry);
    }
    return formatText(text, static_cast<size_t>(size), "%s", out);
}

bool defaultHotkeys(const Hotkey* keys) {
    for (int action = 0; action < HOTKEY_COUNT; ++action)
        if (keys[action].modifiers != DEFAULT_HOTKEYS[action].modifiers ||
            keys[action].key != DEFAULT_HOTKEYS[action].key)
            return false;
    return true;
}

#include "hotkeys.h"

#include "bounded_text.h"
#include "resource.h"

namespace {

static_assert(HOTKEY_ALT == MOD_ALT && HOTKEY_CTRL == MOD_CONTROL && HOTKEY_SHIFT == MOD_SHIFT &&
                  HOTKEY_WIN == MOD_WIN,
              "the settings keep RegisterHotKey's own modifier bits");

// Held down, a combination repeats: one change per press (Windows 7 and later know the flag).
const UINT NO_REPEAT = 0x4000;

bool registered[HOTKEY_COUNT];

} // namespace

void registerHotkeys(HWND window) {
    for (int action = 0; action < HOTKEY_COUNT; ++action) {
        const Hotkey& key = hotkeys[action];
        registered[action] = false;
        if (key.key == 0) continue;
        registered[action] = RegisterHotKey(window, action, key.modifiers | NO_REPEAT, key.key) ||
                             RegisterHotKey(window, action, key.modifiers, key.key);
    }
}

void unregisterHotkeys(HWND window) {
    for (int action = 0; action < HOTKEY_COUNT; ++action) {
        if (registered[action]) UnregisterHotKey(window, action);
        registered[action] = false;
    }
}

int hotkeyCommand(WPARAM id) {
    switch (id) {
    case HOTKEY_NEXT:
        return IDM_NEXT_WALLPAPER;
    case HOTKEY_PREVIOUS:
        return IDM_PREVIOUS_WALLPAPER;
    case HOTKEY_PAUSE:
        return IDM_PAUSE;
    case HOTKEY_NEXT_ON_MONITOR:
        return IDM_NEXT_ON_POINTED_MONITOR;
    }
    return 0;
}

void menuTextWithKey(const char* text, HotkeyAction action, char* out, int size) {
    char key[64] = "";
    if (registered[action]) formatHotkey(hotkeys[action], key, sizeof key);
    formatText(out, static_cast<size_t>(size), "%s%s%s", text, key[0] != 0 ? "\t" : "", key);
}

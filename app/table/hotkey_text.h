// The global hotkeys as the settings keep them: four combinations, each written as the user
// reads it ("Ctrl+Alt+Shift+N") and as hand-edited in the settings file; "off" switches one off.
// Plain C++, built in every tree: the settings' reader parses them.
#ifndef MURALTO_HOTKEY_TEXT_H
#define MURALTO_HOTKEY_TEXT_H

#include <stdint.h>

// Next on a monitor is for the monitor under the mouse pointer (with one, the only one).
enum HotkeyAction {
    HOTKEY_NEXT,
    HOTKEY_PREVIOUS,
    HOTKEY_PAUSE,
    HOTKEY_NEXT_ON_MONITOR,
    HOTKEY_COUNT
};

// The modifier bits are RegisterHotKey's own (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN); key is
// a virtual-key code, 0 for a hotkey switched off.
enum { HOTKEY_ALT = 1, HOTKEY_CTRL = 2, HOTKEY_SHIFT = 4, HOTKEY_WIN = 8 };

struct Hotkey {
    uint32_t modifiers;
    uint32_t key;
};

// Ctrl+Alt+Shift with N (next), B (back: previous), P (pause) and M (next on a monitor). Windows
// keeps the Windows key's combinations for itself, and graphics drivers take Ctrl+Alt with arrows
// and function keys.
extern const Hotkey DEFAULT_HOTKEYS[HOTKEY_COUNT];
// The combinations in use; owner: the settings at load, the main window registers them.
extern Hotkey hotkeys[HOTKEY_COUNT];

// The settings' member, "next:Ctrl+Alt+Shift+N,previous:off,pause:Ctrl+Alt+Shift+P,monitor:..."
// (Ctrl+Alt+Shift+M): each action
// by its name, in any order. An action left out, or whose combination does not read, keeps its
// default; unknown names are passed over, so that a later version's actions do not stop this one.
void parseHotkeys(const char* text, Hotkey* keys);
// The member's value for keys, every action named; false when it does not fit size bytes.
bool formatHotkeys(const Hotkey* keys, char* text, int size);
// Whether keys are the defaults, so that the member need not be written.
bool defaultHotkeys(const Hotkey* keys);

// One combination: modifiers then the key, joined by '+', in any case and with blanks around
// the parts: "ctrl + alt + F9". False when it does not read; "off" reads as switched off.
bool parseHotkey(const char* text, Hotkey* key);
// "Ctrl+Alt+Shift+N", "off" for a switched-off one; false when it does not fit size bytes.
bool formatHotkey(Hotkey key, char* text, int size);

#endif

// The global hotkeys: registered for the main window while it lives, each one an entry of the
// notification icon's menu.
#ifndef MURALTO_HOTKEYS_H
#define MURALTO_HOTKEYS_H

#include <windows.h>

#include "hotkey_text.h"

// Registers every hotkey not switched off for window, whose WM_HOTKEY then carries the action
// (HotkeyAction) as its id. A combination another program holds is left out, silently: its menu
// entry shows no key.
void registerHotkeys(HWND window);
void unregisterHotkeys(HWND window);

// The menu command of a hotkey's id; 0 for none.
int hotkeyCommand(WPARAM id);

// The entry's text followed by a tab and the action's combination when it is registered, as
// menus show keys: "Wallpaper suivant\tCtrl+Alt+Shift+N".
void menuTextWithKey(const char* text, HotkeyAction action, char* out, int size);

#endif

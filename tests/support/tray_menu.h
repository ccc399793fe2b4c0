// The notification icon's menu of a program under test, opened as the shell opens it and
// worked from the keyboard.
#ifndef MURALTO_E2E_TRAY_MENU_H
#define MURALTO_E2E_TRAY_MENU_H

#include <windows.h>

#include "waiting.h"

namespace e2e {

// The entries, in the order the menu shows them (the keyboard skips the separators).
enum TrayEntry {
    NEXT_WALLPAPER = 0,
    PREVIOUS_WALLPAPER = 1,
    PAUSE_OR_RESUME = 2,
    PAUSE_FOR_FULL_SCREEN = 3,
    PAUSE_ON_BATTERY_SAVER = 4,
    START_WITH_WINDOWS = 5,
    SHOW = 6,
    QUIT_PROGRAM = 7,
    // With two or more monitors this entry comes second, and moves the others down.
    NEXT_ON_THIS_MONITOR = 1
};

// The visible popup menu (class "#32768") of the process; null when there is none.
HWND shownPopupMenu(DWORD process);

// Posts the right click the shell reports on the icon to window, and waits for the menu.
HWND openTrayMenu(HWND window, DWORD process, DWORD timeoutMs = kPatience);
// Chooses the entry of an open menu with the arrow keys and Enter; true once the menu closed.
bool chooseEntry(HWND menu, TrayEntry entry, DWORD timeoutMs = kPatience);
// Escape: the menu closes and nothing is chosen.
bool dismiss(HWND menu, DWORD timeoutMs = kPatience);

} // namespace e2e

#endif

// The notification-area icon, its menu, hiding the main window into it and bringing it back.
#ifndef MURALTO_TRAY_ICON_H
#define MURALTO_TRAY_ICON_H

#include <windows.h>

// The icon's callback message: wParam is the icon's id, lParam the mouse message the shell
// saw on it (the first shell version's form, which every shell sends to an icon that asks for
// no other: the context-menu key comes as a right click).
enum { WM_TRAYICON = WM_USER + 518, TRAY_ICON_ID = 1 };

// Adds (true) or removes (false) the icon; failures are silent. An add that the shell refuses
// (at log-on its notification area may not be there yet) is tried again every second on the
// main window's TRAY_ICON_TIMER until the shell holds the icon; then nothing adds it again but
// the task bar's re-creation (TaskbarCreated), after which the shell holds none. The tip is
// the program's caption, with the word for "paused" (or why the sequence holds on its own) after
// it, then the title of the picture on display on a second line, in UTF-16.
void setTrayIcon(bool add);
// Gives the icon the tip of the moment, when it has changed since the shell was last told.
void updateTrayTip();

// "Reduire": the sequencer starts while the window is hidden.
void hideToTray(HWND window);
// A left click on the icon, or "Show Muralto": the window shows, with the row of the picture on
// display selected and in view, and the sequencer stops.
void restoreFromTray(HWND window);

// The icon's menu at the pointer: Next wallpaper, Previous wallpaper, Pause or Resume (each
// with its hotkey), the two pauses of its own (checked when on), Show Muralto, Quit; with two
// or more monitors also Next wallpaper on this monitor, after Next wallpaper, and Match
// pictures to each monitor's shape, checked while on, after the pauses. The chosen entry comes
// to window as a WM_COMMAND of its IDM_* id.
void showTrayMenu(HWND window);
// Where the pointer was when the menu last opened: the monitor "this monitor" means.
POINT trayMenuPoint();

#endif

// The notification-area icon, hiding the main window into it and bringing it back.
#ifndef MURALTO_TRAY_ICON_H
#define MURALTO_TRAY_ICON_H

#include <windows.h>

// The icon's callback message, whose wParam is the icon's id; any of them brings the window back.
enum { WM_TRAYICON = WM_USER + 518, TRAY_ICON_ID = 1 };

// Adds (true) or removes (false) the icon; failures are silent. An add that the shell refuses
// (at log-on its notification area may not be there yet) is tried again every second on the
// main window's TRAY_ICON_TIMER until the shell holds the icon; then nothing adds it again but
// the task bar's re-creation (TaskbarCreated), after which the shell holds none.
void setTrayIcon(bool add);

// "Reduire": the sequencer starts while the window is hidden.
void hideToTray(HWND window);
// Any message from the icon: the window shows and the sequencer stops.
void restoreFromTray(HWND window);

#endif
